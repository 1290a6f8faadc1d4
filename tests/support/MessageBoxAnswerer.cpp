#include "MessageBoxAnswerer.h"

#include "TextInput.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QAbstractItemView>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

MessageBoxAnswerer::MessageBoxAnswerer(QMessageBox::StandardButton answer, QObject* parent)
    : QObject(parent), m_answer(answer)
{
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::answerModal);
    m_timer.start(10);
}

void MessageBoxAnswerer::answerModal()
{
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        handleLater(menu, [this, menu] { answerMenu(menu); });
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        answerMessageBox(box);
        return;
    }
    if (m_dialogHandler) {
        handleLater(modal, [this, modal] { m_dialogHandler(modal); });
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
}

void MessageBoxAnswerer::answerMessageBox(QMessageBox* box)
{
    if (m_boxWatcher)
        m_boxWatcher(box);
    m_titles.append(box->windowTitle());
    m_texts.append(box->text());
    m_checkBoxTexts.append(box->checkBox() ? box->checkBox()->text() : QString());
    if (m_tickCheckBox && box->checkBox())
        box->checkBox()->setChecked(true);
    QAbstractButton* button = box->button(m_answer);
    if (button)
        button->click();
    else
        box->done(m_answer);
}

void MessageBoxAnswerer::answerMenu(QMenu* menu)
{
    QStringList entries;
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        entries.append(action->text());
        if (action->text() == m_menuChoice && !chosen)
            chosen = action;
    }
    m_menus.append(entries);
    if (!chosen) {
        menu->close();
        return;
    }
    menu->setActiveAction(chosen);
    // A menu dropped from a menu bar takes no Return on the offscreen
    // platform; the user's click on the entry works everywhere.
    if (qobject_cast<QMenuBar*>(menu->parentWidget()))
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
    else
        QTest::keyClick(menu, Qt::Key_Return);
}

// Runs the handler once the answering timer has returned; the widget is not
// handled again while its handler runs.
void MessageBoxAnswerer::handleLater(QWidget* widget, std::function<void()> handler)
{
    if (m_pending.contains(widget))
        return;
    m_pending.append(widget);
    QPointer<QWidget> guard(widget);
    QTimer::singleShot(0, this, [this, guard, handler] {
        if (guard)
            handler();
        m_pending.removeAll(guard);
        m_pending.removeAll(nullptr);
    });
}

bool MessageBoxAnswerer::chooseFile(QWidget* dialog, const QString& path)
{
    QLineEdit* name = typeFileName(dialog, path);
    if (!name)
        return false;
    QTest::keyClick(name, Qt::Key_Return);
    return true;
}

QLineEdit* MessageBoxAnswerer::typeFileName(QWidget* dialog, const QString& path)
{
    auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
    auto* name = fileDialog ? fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
    if (!name)
        return nullptr;
    name->selectAll();
    typeText(name, path);
    // The name of an existing file opens the completer's list, which takes
    // the Return; the user closes it first.
    if (QCompleter* completer = name->completer(); completer && completer->popup()->isVisible())
        QTest::keyClick(completer->popup(), Qt::Key_Escape);
    return name;
}

bool MessageBoxAnswerer::clickButton(QWidget* dialog, const QString& text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return true;
        }
    }
    return false;
}

QPushButton* MessageBoxAnswerer::standardButton(QWidget* dialog, QDialogButtonBox::StandardButton button)
{
    for (QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>()) {
        if (QPushButton* target = box->button(button))
            return target;
    }
    return nullptr;
}

bool MessageBoxAnswerer::clickStandardButton(QWidget* dialog, QDialogButtonBox::StandardButton button)
{
    QPushButton* target = standardButton(dialog, button);
    if (!target)
        return false;
    QTest::mouseClick(target, Qt::LeftButton);
    return true;
}

bool MessageBoxAnswerer::enterText(QWidget* dialog, const QString& text)
{
    auto* edit = dialog->findChild<QLineEdit*>();
    if (!edit)
        return false;
    typeText(edit, text);
    return clickStandardButton(dialog, QDialogButtonBox::Ok);
}

bool MessageBoxAnswerer::enterNumber(QWidget* dialog, const QString& text)
{
    QAbstractSpinBox* field = nullptr;
    for (QAbstractSpinBox* candidate : dialog->findChildren<QAbstractSpinBox*>()) {
        if (candidate->isVisible())
            field = candidate;
    }
    if (!field)
        return false;
    typeNumber(field, text);
    QPushButton* ok = standardButton(dialog, QDialogButtonBox::Ok);
    if (!ok || !ok->isEnabled())
        return false;
    QTest::mouseClick(ok, Qt::LeftButton);
    return true;
}
