#pragma once

#include <QAbstractSpinBox>
#include <QString>
#include <QWidget>
#include <QWindow>
#include <QtTest>

// The key that types the character; a character without a key of its own
// arrives as text.
inline Qt::Key keyOf(QChar character)
{
    const ushort code = character.unicode();
    return code >= 0x20 && code < 0x7f ? Qt::Key(QChar(code).toUpper().unicode()) : Qt::Key_unknown;
}

// Types the text into the widget key by key, as the operator does. Unlike
// QTest::keyClicks it takes any character, Cyrillic included.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, keyOf(character), QString(character), Qt::NoModifier);
}

// The same through the window system: the window hands each key to its
// focused widget.
inline void typeText(QWindow* window, const QString& text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, window, keyOf(character), QString(character), Qt::NoModifier);
}

// Replaces the number of a shown field as the operator does, all through the
// window system: a click into the field, Ctrl+A, then the text key by key.
// The field is left with the focus and the edit not yet finished.
inline void typeNumber(QAbstractSpinBox* field, const QString& text)
{
    QWidget* window = field->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      field->mapTo(window, QPoint(field->width() / 3, field->height() / 2)));
    QTest::keyClick(window->windowHandle(), Qt::Key_A, Qt::ControlModifier);
    typeText(window->windowHandle(), text);
}
