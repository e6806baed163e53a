// Time from process start to the main window shown, median of several runs.
// The parent starts itself as a child that builds and shows the window and
// reports when it is exposed.
#include "benchsupport.h"

#include "appinfo.h"
#include "mainwindow.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

static int child(int argc, char* argv[])
{
    QApplication app(argc, argv);
    appinfo::setApplicationIdentity();
    MainWindow window;
    window.showMaximized();
    if (!QTest::qWaitForWindowExposed(&window, 30000))
        return 1;
    std::printf("shown\n");
    std::fflush(stdout);
    return 0;
}

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv);

    QCoreApplication app(argc, argv);
    const int runs = 7;
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    if (!env.contains(QStringLiteral("DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    bool failed = false;
    const double ms = bench::medianMs(runs, [&] {
        QProcess process;
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child")});
        while (!process.canReadLine() && process.state() != QProcess::NotRunning)
            process.waitForReadyRead(60000);
        failed = failed || !process.readLine().startsWith("shown");
        process.waitForFinished(60000);
    });
    std::printf("start-up to main window shown: median %.1f ms over %d runs (platform %s)%s\n", ms, runs,
                qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"))),
                failed ? " [a run failed]" : "");
    return failed ? 1 : 0;
}
