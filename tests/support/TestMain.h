#pragma once

#include <QApplication>
#include <QtTest>

#include "TestWorkDir.h"

// The test's main function; `prepare` runs before the application exists.
#define KALVORA_TEST_MAIN_PREPARED(TestClass, prepare)                                                                 \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        prepare;                                                                                                       \
        Q_INIT_RESOURCE(icons);                                                                                        \
        TestWorkDir workDir;                                                                                           \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestClass test;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }

// Like QTEST_MAIN, but the whole test runs in a temporary working directory,
// where the program writes "settings.ini" and "logs/", and with the
// program's icons.
#define KALVORA_TEST_MAIN(TestClass) KALVORA_TEST_MAIN_PREPARED(TestClass, )

// The same on Qt's "minimal" platform, for tests that drag and drop: the
// offscreen platform ends every drag at once, while on the minimal one Qt's
// own drag follows the mouse events the test sends to the window.
#define KALVORA_DRAG_TEST_MAIN(TestClass) KALVORA_TEST_MAIN_PREPARED(TestClass, qputenv("QT_QPA_PLATFORM", "minimal"))
