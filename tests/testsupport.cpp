#include "testsupport.h"

#include "appinfo.h"

#include <QDir>
#include <QFile>

namespace testsupport {

void prepareEnvironment(const char* testName)
{
    // ctest gives every test its own HOME; a test run by hand gets one in /tmp.
    QString home = qEnvironmentVariable("HOME");
    if (!home.contains(QLatin1String("test-home"))) {
        home = QDir::tempPath() + QLatin1String("/pictavo-test-home/") + QLatin1String(testName);
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home + QLatin1String("/data")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QLatin1String("/config")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home + QLatin1String("/cache")));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home + QLatin1String("/runtime")));
    }
    QDir(home).removeRecursively();
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = qEnvironmentVariable(name);
        QDir().mkpath(path);
        if (qstrcmp(name, "XDG_RUNTIME_DIR") == 0)
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void setApplicationIdentity()
{
    appinfo::setApplicationIdentity();
}

}
