#pragma once

#include "TextInput.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPointer>
#include <QtTest>

// The open in-place editor of the view's items, or null. Editors closed
// before wait hidden for their deletion and do not count.
inline QLineEdit* openItemEditor(const QAbstractItemView* view)
{
    for (QLineEdit* edit : view->viewport()->findChildren<QLineEdit*>())
        if (edit->isVisible())
            return edit;
    return nullptr;
}

// Replaces the open editor's text by typing and confirms it with the key;
// waits until the editor has closed, which happens from the event loop.
// False when no editor was open or it did not close.
inline bool replaceEditorText(const QAbstractItemView* view, const QString& text, Qt::Key confirm = Qt::Key_Return)
{
    QPointer<QLineEdit> edit = openItemEditor(view);
    if (!edit)
        return false;
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
    QTest::keyClick(edit, confirm);
    return QTest::qWaitFor([&] { return !edit || !edit->isVisible(); }, 2000);
}
