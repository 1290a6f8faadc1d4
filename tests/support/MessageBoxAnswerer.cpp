#include "MessageBoxAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QtTest>

MessageBoxAnswerer::MessageBoxAnswerer(QMessageBox::StandardButton answer, QObject* parent)
    : QObject(parent), m_answer(answer)
{
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::answerModal);
    m_timer.start(10);
}

void MessageBoxAnswerer::answerModal()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        m_titles.append(box->windowTitle());
        m_texts.append(box->text());
        QAbstractButton* button = box->button(m_answer);
        if (button)
            button->click();
        else
            box->done(m_answer);
        return;
    }
    if (m_dialogHandler) {
        m_dialogHandler(modal);
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
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
