#pragma once

#include "EditableList.h"
#include "ItemEditing.h"
#include "MessageBoxAnswerer.h"

#include <QAbstractButton>
#include <QPointer>
#include <QWindow>
#include <QtTest>

// Drives an editable list inside a shown window with the mouse and keys, in
// the steps an operator takes: "add" (the add button), "add:name",
// "rename:row:name" (double click), "menu rename:row:name", "delete:row"
// (click, then the Delete key), "menu delete:row", "select:row" (click).
class EditableListDriver
{
public:
    EditableListDriver(QWidget* window, EditableList* list, QAbstractButton* addButton)
        : m_window(window), m_list(list), m_addButton(addButton)
    {
    }

    QStringList names() const
    {
        QStringList texts;
        for (int row = 0; row < m_list->count(); ++row)
            texts.append(m_list->item(row)->text());
        return texts;
    }

    QPoint pointOn(int row) const
    {
        return m_list->viewport()->mapTo(m_window, m_list->visualItemRect(m_list->item(row)).center());
    }

    void click(int row) { QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, pointOn(row)); }
    void doubleClick(int row) { QTest::mouseDClick(m_window->windowHandle(), Qt::LeftButton, {}, pointOn(row)); }

    void rightClick(int row)
    {
        QTest::mousePress(m_window->windowHandle(), Qt::RightButton, {}, pointOn(row));
        QTest::mouseRelease(m_window->windowHandle(), Qt::RightButton, {}, pointOn(row));
    }

    void type(const QString& text) { QVERIFY(replaceEditorText(m_list, text)); }

    void chooseFromMenu(int row, const QString& entry)
    {
        MessageBoxAnswerer answerer;
        answerer.chooseMenuEntry(entry);
        rightClick(row);
        QVERIFY(QTest::qWaitFor([&] { return !answerer.menus().isEmpty(); }, 2000));
        QTest::qWait(20);
        m_menus.append(answerer.menus());
    }

    void perform(const QString& step)
    {
        const QStringList parts = step.split(QLatin1Char(':'));
        const QString action = parts[0];
        const int row = parts.value(1).toInt();
        if (action == QLatin1String("add")) {
            QTest::mouseClick(m_addButton, Qt::LeftButton);
            if (parts.size() > 1)
                type(parts[1]);
        } else if (action == QLatin1String("rename")) {
            doubleClick(row);
            type(parts[2]);
        } else if (action == QLatin1String("menu rename")) {
            chooseFromMenu(row, QStringLiteral("Переименовать"));
            type(parts[2]);
        } else if (action == QLatin1String("delete")) {
            click(row);
            QTest::keyClick(m_window->windowHandle(), Qt::Key_Delete);
        } else if (action == QLatin1String("menu delete")) {
            chooseFromMenu(row, QStringLiteral("Удалить"));
        } else if (action == QLatin1String("select")) {
            click(row);
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }

    // The entries of every context menu shown by chooseFromMenu().
    QList<QStringList> menus() const { return m_menus; }

private:
    QWidget* m_window;
    EditableList* m_list;
    QPointer<QAbstractButton> m_addButton;
    QList<QStringList> m_menus;
};
