// Time to build the font panels on a shown window: all shipped configs, then
// the same with one big font and with a panel of several thousand cells; then
// the time to open each closed panel (its cells are made at the first opening).
// Medians of several runs.
#include "benchsupport.h"

#include "appinfo.h"
#include "folders.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

// Removes every panel from the pane (the form's own two items stay).
void removePanels(MainWindow& window)
{
    QVBoxLayout* fonts = window.ui->verticalLayout_Fonts;
    while (fonts->count() > 2) {
        QLayoutItem* item = fonts->takeAt(1);
        delete item->widget();
        delete item;
    }
}

int cellCount(MainWindow& window)
{
    int cells = 0;
    for (QListWidget* list : window.ui->groupBox_fonts->findChildren<QListWidget*>())
        cells += list->count();
    return cells;
}

QString writeConfig(const QString& folder, const QString& name, const QString& font, const QString& templates)
{
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QString text = QStringLiteral("{\"name\": \"%1\", \"font\": \"%2\"").arg(name, font);
    if (!templates.isEmpty())
        text += QStringLiteral(", \"templates\": \"%1\"").arg(templates);
    file.write((text + QLatin1Char('}')).toUtf8());
    return path;
}

}

int main(int argc, char* argv[])
{
    bench::Environment environment;
    QTemporaryDir home;
    QApplication app(argc, argv);
    appinfo::setApplicationIdentity();
    const int runs = 7;

    MainWindow window;
    window.resize(1400, 900);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 30000))
        return 1;

    QDir shipped(getResourcesPath() + QStringLiteral("/config/icons"), QStringLiteral("*.json"),
                 QDir::Name | QDir::IgnoreCase, QDir::Files);
    QStringList configs;
    for (const QString& name : shipped.entryList())
        configs << shipped.absoluteFilePath(name);

    // Builds the panels on the shown window and paints it: the open panel's
    // cells are made and laid out, the closed ones wait for their first show.
    const auto buildAll = [&](const QStringList& paths) {
        QVector<double> times;
        for (int run = 0; run < runs; ++run) {
            removePanels(window);
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            for (const QString& path : paths)
                window.ParseFontConfigFile(path, false);
            QCoreApplication::processEvents();
            window.repaint();
            times.append(timer.nsecsElapsed() / 1e6);
        }
        return bench::median(times);
    };

    const double allMs = buildAll(configs);
    std::printf("build and show all %d shipped panels (%d cells): median %.1f ms over %d runs\n", int(configs.size()),
                cellCount(window), allMs, runs);

    // The same with one big font added: the whole character maps of the two
    // largest shipped fonts, and a panel of several thousand cells.
    const QString big = writeConfig(home.path(), QStringLiteral("big.json"), QStringLiteral("MaterialIcons-Regular.ttf"),
                                     QString());
    const double bigMs = buildAll(configs + QStringList{big});
    std::printf("  + Material Icons without \"templates\" (%d cells in all): median %.1f ms\n", cellCount(window), bigMs);

    const QString mdi = writeConfig(home.path(), QStringLiteral("mdi.json"),
                                    QStringLiteral("materialdesignicons-webfont.ttf"), QString());
    const double mdiMs = buildAll(configs + QStringList{mdi});
    std::printf("  + Material Design Icons without \"templates\" (%d cells in all): median %.1f ms\n", cellCount(window),
                mdiMs);

    const QString huge = writeConfig(home.path(), QStringLiteral("huge.json"),
                                     QStringLiteral("materialdesignicons-webfont.ttf"),
                                     QStringLiteral("0xf001-0xf673,0xf001-0xf673,0xf001-0xf673,0xf001-0xf673"));
    const double hugeMs = buildAll(configs + QStringList{huge});
    std::printf("  + a panel of 4 x Material Design Icons (%d cells in all): median %.1f ms\n", cellCount(window),
                hugeMs);

    // Opening a closed panel on the shown window: the accordion click, then
    // layout and paint of its cells. The first opening also polishes the cells.
    removePanels(window);
    for (const QString& path : configs + QStringList{huge})
        window.ParseFontConfigFile(path, false);
    QCoreApplication::processEvents();
    const QList<QCheckBox*> boxes = window.ui->groupBox_fonts->findChildren<QCheckBox*>();
    for (int i = 0; i < boxes.size(); ++i) {
        QCheckBox* box = boxes.at(i);
        if (box->isChecked()) {
            box->click();  // start from all panels closed
            QCoreApplication::processEvents();
        }
        const QListWidget* list = box->parentWidget()->findChild<QListWidget*>();
        QVector<double> times;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            box->click();
            window.repaint();
            QCoreApplication::processEvents();
            times.append(timer.nsecsElapsed() / 1e6);
            box->click();
            QCoreApplication::processEvents();
        }
        const double first = times.takeFirst();
        std::printf("open panel %d (%d cells): first %.1f ms, then median %.1f ms\n", i + 1, list->count(), first,
                    bench::median(times));
    }
    return 0;
}
