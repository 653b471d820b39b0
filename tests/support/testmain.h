#pragma once

// Test entry point: standard paths in test mode before anything asks for them.

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

#define VEXA_TEST_MAIN(TestClass)                                                                                     \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QStandardPaths::setTestModeEnabled(true);                                                                      \
        int appArgc = 1; /* the page reads argument 1 as a project path */ \
        QApplication app(appArgc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestClass test;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
