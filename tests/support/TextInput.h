#pragma once

#include <QString>
#include <QWidget>
#include <QtTest>

// Types the text into the widget key by key, as the operator does. Unlike
// QTest::keyClicks it takes any character, Cyrillic included: a character
// without a key of its own arrives as text.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar character : text) {
        const ushort code = character.unicode();
        const Qt::Key key = code >= 0x20 && code < 0x7f ? Qt::Key(QChar(code).toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(character), Qt::NoModifier);
    }
}
