// Cost of the gradient and template catalogues: main window construction with
// every catalogue loaded and the start-up template applied (cold and warm),
// the parts of it that draw swatches, and one full swatch pass of both lists
// after a colour change.
#include "benchsupport.h"

#include "appinfo.h"
#include "mainwindow.h"
#include "qwebcolorpicker.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QListWidget>
#include <cstdio>
#include <memory>

namespace {

void press(MainWindow& window, int row)
{
    QMetaObject::invokeMethod(&window, "on_listWidget_Templates_pressed",
                              Q_ARG(QModelIndex, window.ui->listWidget_Templates->model()->index(row, 0)));
}

int rowOf(const MainWindow& window, const QString& name)
{
    for (int i = 0; i < window.builtinTemplates.size(); ++i)
        if (window.builtinTemplates.at(i).name == name)
            return i;
    return -1;
}

}

int main(int argc, char* argv[])
{
    bench::Environment environment;
    QApplication app(argc, argv);
    appinfo::setApplicationIdentity();
    const int runs = 7;

    QElapsedTimer cold;
    cold.start();
    auto window = std::make_unique<MainWindow>();
    const double coldMs = cold.nsecsElapsed() / 1e6;
    window.reset();
    const double warmMs = bench::medianMs(runs, [] { MainWindow w; });

    MainWindow w;
    const int bkg = w.bkgGradients.size();
    QVector<double> loads;
    for (int i = 0; i < runs; ++i) {
        MainWindow probe;
        QElapsedTimer timer;
        timer.start();
        probe.LoadGradients();
        loads.append(timer.nsecsElapsed() / 1e6);
    }
    const double catalogueMs = bench::median(loads);
    // Applying the start-up template as start-up does: its colour is new to
    // the background swatches.
    const int startRow = rowOf(w, QStringLiteral("Circle Inner Shadow"));
    const double applyMs = bench::medianMs(runs, [&] {
        w.lastBkgColor.clear();
        press(w, startRow);
    });

    // A template with an icon gradient gives the icon list its entry.
    press(w, rowOf(w, QStringLiteral("iOS 7 Inverse")));
    const int icon = w.iconGradients.size();
    const QStringList colours = {QStringLiteral("#3F9DD1"), QStringLiteral("#F39943"), QStringLiteral("#EC507F")};
    int k = 0;
    const double passMs = bench::medianMs(runs, [&] {
        const QString colour = colours.at(k++ % colours.size());
        w.ui->widgetBkgColor->setColor(colour);
        w.ui->widgetIconColor->setColor(colour);
    });
    const double swatchMs = bench::medianMs(runs * 3, [&] {
        w.CreateIcon(w.bkgGradients.first(), colours.at(k++ % colours.size()));
    });

    std::printf("main window construction, catalogues loaded and start-up template applied:\n");
    std::printf("  first in process (cold)      %8.1f ms\n", coldMs);
    std::printf("  median of %d (warm)           %8.1f ms\n", runs, warmMs);
    std::printf("  of which catalogue swatches  %8.1f ms (%d swatches, LoadGradients)\n", catalogueMs, bkg);
    std::printf("  and the start-up template    %8.1f ms (press, %d swatches redrawn)\n", applyMs, bkg);
    std::printf("one full swatch pass after a colour change, both lists (%d + %d swatches): median %.1f ms\n", bkg,
                icon, passMs);
    std::printf("one swatch: median %.2f ms\n", swatchMs);
    return 0;
}
