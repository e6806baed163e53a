#include "appinfo.h"
#include "mainwindow.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);

    // Plug-in folders beside the executable, never relative to the folder
    // the user starts the application in.
    const QDir exeDir(QCoreApplication::applicationDirPath());
    QStringList paths = QCoreApplication::libraryPaths();
    for (const char* folder : {".", "imageformats", "platforms"})
        paths.append(QDir::cleanPath(exeDir.absoluteFilePath(QLatin1String(folder))));
    QCoreApplication::setLibraryPaths(paths);

    appinfo::setApplicationIdentity();

    MainWindow window(nullptr);
    window.showMaximized();
    return app.exec();
}
