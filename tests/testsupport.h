#pragma once

#include <QApplication>
#include <QtTest>

namespace testsupport {

// Gives the test a clean private HOME and XDG folders (wiped at start) and the
// offscreen platform; call before the QApplication exists.
void prepareEnvironment(const char* testName);

// The application identity main() sets.
void setApplicationIdentity();

}

// Like QTEST_MAIN, with a private environment and the application's identity.
#define PICTAVO_TEST_MAIN(TestObject)                                   \
    int main(int argc, char* argv[])                                    \
    {                                                                   \
        testsupport::prepareEnvironment(#TestObject);                   \
        QApplication app(argc, argv);                                   \
        testsupport::setApplicationIdentity();                          \
        app.setAttribute(Qt::AA_Use96Dpi, true);                        \
        TestObject tc;                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                      \
        return QTest::qExec(&tc, argc, argv);                           \
    }
