// Export of 10 glyphs at 16, 32, 64, 128, 256 and 512 px to PNG with the
// start-up template, beside ImageMagick's convert drawing the same glyphs on
// a round box; where the time of one image goes; peak memory as the number
// of images grows.
#include "benchsupport.h"

#include "appinfo.h"
#include "exportsupport.h"
#include "mainwindow.h"
#include "pageloadwaiter.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>

#include <cmath>
#include <cstdio>
#include <sys/resource.h>

namespace {

const QString FontFile = QStringLiteral("/usr/share/fonts/truetype/font-awesome/fontawesome-webfont.ttf");
const QList<int> Sizes = {16, 32, 64, 128, 256, 512};

long statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

QList<uint> firstGlyphs(int count)
{
    QList<uint> codes;
    const QRawFont font(FontFile, 16);
    for (uint code = 0xF000; code < 0xF200 && codes.size() < count; ++code) {
        if (font.supportsCharacter(code))
            codes.append(code);
    }
    return codes;
}

void selectGlyphs(MainWindow& window, const QList<uint>& codes)
{
    while (window.selectedIconsLayout->count() > 1) {
        QLayoutItem* item = window.selectedIconsLayout->takeAt(0);
        delete item->widget();
        delete item;
    }
    for (uint code : codes) {
        auto* button = new QPushButton(QString::fromUcs4(&code, 1));
        QFont font(QStringLiteral("FontAwesome"));
        font.setPixelSize(30);
        button->setFont(font);
        window.selectedIconsLayout->insertWidget(0, button);
    }
    window.defaultSymbolInUse = false;
}

// One export into an empty folder; milliseconds per image.
QByteArray encodePng(const QImage& image, int quality)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(quality);
    writer.write(image);
    return png;
}

double exportOnce(MainWindow& window, QList<int> sizes, int images)
{
    QTemporaryDir out;
    QElapsedTimer timer;
    timer.start();
    window.SaveImages(sizes, QStringLiteral("png"), out.path());
    const double ms = timer.nsecsElapsed() / 1e6;
    const int written = QDir(out.path()).entryList(QDir::Files).size();
    if (written != images)
        std::printf("  !! %d of %d files written\n", written, images);
    return ms / images;
}

// One image drawn by ImageMagick: a round box and the glyph, as a separate
// process, the way a script would call it.
double convertOnce(uint code, int size, const QString& path)
{
    const double r = size * 0.435;
    const QString c = QString::number(size / 2.0);
    const QStringList args = {QStringLiteral("-size"), QStringLiteral("%1x%1").arg(size), QStringLiteral("xc:none"),
                              QStringLiteral("-fill"), QStringLiteral("#FE8453"), QStringLiteral("-draw"),
                              QStringLiteral("circle %1,%1 %1,%2").arg(c).arg(size / 2.0 - r),
                              QStringLiteral("-font"), FontFile, QStringLiteral("-fill"), QStringLiteral("white"),
                              QStringLiteral("-pointsize"), QString::number(qRound(size * 100.0 / 161)),
                              QStringLiteral("-gravity"), QStringLiteral("center"), QStringLiteral("-annotate"),
                              QStringLiteral("0"), QString::fromUcs4(&code, 1), path};
    QElapsedTimer timer;
    timer.start();
    QProcess convert;
    convert.start(QStringLiteral("convert"), args);
    if (!convert.waitForFinished(60000) || convert.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

}

int main(int argc, char* argv[])
{
    bench::Environment environment;
    QApplication app(argc, argv);
    appinfo::setApplicationIdentity();
    const int runs = qMax(1, qEnvironmentVariableIntValue("BENCH_RUNS") ? qEnvironmentVariableIntValue("BENCH_RUNS") : 5);

    MainWindow window;
    window.refreshEnabled = false;
    const int memoryCopies = argc > 2 && qstrcmp(argv[1], "--memory") == 0 ? QByteArray(argv[2]).toInt() : -1;
    {
        PageLoadWaiter waiter(window.ui->webView);
        waiter.expectLoad();
        window.refreshHTML();
        waiter.wait(30000);
    }
    const bool templated = window.currentTemplate && !window.builtinTemplates.isEmpty();
    if (memoryCopies < 0)
        std::printf("style: %s\n", templated ? qPrintable(QStringLiteral("start-up template \"%1\"").arg(window.currentTemplate->name))
                                         : "default parameters (no start-up template)");
    exportsupport::setWarningHandler([](QWidget*, const QString& text) {
        std::printf("  !! warning: %s\n", qPrintable(QString(text).replace('\n', ' ')));
    });

    const QList<uint> glyphs = firstGlyphs(10);
    if (memoryCopies >= 0) {
        // One export of this many copies of the glyphs (0: one glyph), in a
        // process of its own so that its peak is its own.
        QList<uint> codes = glyphs.mid(0, 1);
        for (int i = 0; i < memoryCopies; ++i)
            codes = i == 0 ? glyphs : codes + glyphs;
        selectGlyphs(window, codes);
        const long before = statusKb("VmHWM:");
        exportOnce(window, Sizes, codes.size() * Sizes.size());
        std::printf("%8d %14ld %14ld\n", int(codes.size() * Sizes.size()), before, statusKb("VmHWM:"));
        return 0;
    }
    std::printf("glyphs: %d FontAwesome glyphs from U+%X, sizes 16 32 64 128 256 512, PNG; medians of %d runs\n",
                int(glyphs.size()), glyphs.value(0), runs);
    std::printf("memory before the first export: VmRSS %ld kB\n\n", statusKb("VmRSS:"));
    selectGlyphs(window, glyphs);
    exportOnce(window, Sizes, glyphs.size() * Sizes.size()); // warm-up

    // ImageMagick, one process per image: per run the mean over the same 60
    // images an export writes, and per size the median.
    QTemporaryDir magickOut;
    QVector<double> magickRuns;
    QMap<int, QVector<double>> magickSizes;
    for (int i = 0; i < runs; ++i) {
        double total = 0;
        for (int size : Sizes) {
            for (uint code : glyphs) {
                const double ms = convertOnce(code, size, magickOut.path() + QStringLiteral("/%1_%2.png").arg(code, 0, 16).arg(size));
                magickSizes[size].append(ms);
                total += ms;
            }
        }
        magickRuns.append(total / (Sizes.size() * glyphs.size()));
    }
    QMap<int, double> magickBySize;
    for (int size : Sizes)
        magickBySize[size] = bench::median(magickSizes.value(size));
    const double theirs = bench::median(magickRuns);

    // Pictavo: the whole export, each size on its own, and for comparison
    // one page and one view per image (no page shared between images).
    const auto measureStyle = [&](const char* label) {
        QVector<double> perImage;
        for (int i = 0; i < runs; ++i)
            perImage.append(exportOnce(window, Sizes, glyphs.size() * Sizes.size()));
        const double ours = bench::median(perImage);
        std::printf("%s\n%6s %14s %18s %12s\n", label, "size", "Pictavo ms", "page per image ms", "convert ms");
        QWebElement bg = window.ui->webView->page()->mainFrame()->findFirstElement(QStringLiteral("#bg"));
        const QSize box = window.CalcRealIconSize(bg);
        double unsharedSum = 0;
        for (int size : Sizes) {
            QVector<double> ourSize;
            for (int i = 0; i < runs; ++i)
                ourSize.append(exportOnce(window, {size}, glyphs.size()));
            QVector<double> unshared;
            for (int i = 0; i < runs; ++i) {
                QImage image;
                const QString glyph = QString::fromUcs4(&glyphs[i % glyphs.size()], 1);
                QElapsedTimer timer;
                timer.start();
                window.GetWebImage(image, size, int(float(box.width()) * 1.15f), int(float(box.height()) * 1.15f),
                                   glyph, QStringLiteral("FontAwesome"), QStringLiteral("png"));
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                QImageWriter writer(&buffer, "png");
                writer.setQuality(100);
                writer.write(image);
                unshared.append(timer.nsecsElapsed() / 1e6);
            }
            unsharedSum += bench::median(unshared);
            std::printf("%6d %14.2f %18.2f %12.2f\n", size, bench::median(ourSize), bench::median(unshared),
                        magickBySize.value(size));
        }
        std::printf("%6s %14.2f %18.2f %12.2f   (ms per image of the whole export: median over runs of the mean)\n", "all", ours,
                    unsharedSum / Sizes.size(), theirs);
        std::printf("ratio Pictavo / convert: %.2f (goal: 0.25 or less)\n\n", ours / theirs);
    };
    measureStyle(templated ? "start-up template:" : "default parameters:");

    struct rusage children;
    getrusage(RUSAGE_CHILDREN, &children);
    std::printf("peak memory: Pictavo VmHWM %ld kB; largest convert process %ld kB\n\n", statusKb("VmHWM:"),
                children.ru_maxrss);

    // Where the time of one image goes, per size: loading the page with its
    // LESS compile, the same page already compiled, swapping the glyph in a
    // loaded page, painting, scaling and PNG encoding at quality 100.
    std::printf("%6s %10s %10s %10s %10s %10s %10s %12s\n", "size", "load+LESS", "load CSS", "swap+paint",
                "repaint", "scale", "encode", "PNG bytes");
    QWebElement bg = window.ui->webView->page()->mainFrame()->findFirstElement(QStringLiteral("#bg"));
    const QSize box = window.CalcRealIconSize(bg);
    const int width = int(float(box.width()) * 1.15f);
    const int height = int(float(box.height()) * 1.15f);
    const QString glyph = QString::fromUcs4(&glyphs[0], 1);
    for (int size : Sizes) {
        const int side = qMax(size, 64);
        const int fontSize = int(std::floor(float(side) * 100.0f / float(qMax(width, height))));
        QWebView view;
        view.setFixedSize(side, side);
        view.page()->setViewportSize(QSize(side, side));
        view.page()->mainFrame()->setScrollBarPolicy(Qt::Vertical, Qt::ScrollBarAlwaysOff);
        view.page()->mainFrame()->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
        PageLoadWaiter waiter(&view);
        const double load = bench::medianMs(runs, [&] {
            waiter.expectLoad();
            window.ReplaceLess(glyph, QStringLiteral("FontAwesome"), &view, fontSize);
            waiter.wait(30000);
        });
        // The same page with the compiled CSS in place of LESS and no compiler.
        QString compiled = view.page()->mainFrame()->toHtml();
        compiled.replace(QRegularExpression(QStringLiteral("<script[^>]*>.*?</script>"),
                                            QRegularExpression::DotMatchesEverythingOption),
                         QString());
        const double loadCss = bench::medianMs(runs, [&] {
            waiter.expectLoad();
            view.setHtml(compiled, QUrl::fromLocalFile(QDir::currentPath() + QDir::separator()));
            waiter.wait(30000);
        });
        view.page()->mainFrame()->findFirstElement(QStringLiteral("body")).setStyleProperty(QStringLiteral("background"), QString());
        QWebElement span = view.page()->mainFrame()->findFirstElement(QStringLiteral("#bg span"));
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        const auto paint = [&] {
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHints(window.ui->webView->renderHints());
            view.page()->mainFrame()->render(&painter, QWebFrame::ContentsLayer, QRegion());
        };
        // Another glyph and its layout, then the same page painted again.
        int k = 0;
        const double swap = bench::medianMs(runs, [&] {
            span.setPlainText(QString::fromUcs4(&glyphs[++k % glyphs.size()], 1));
            paint();
        });
        const double repaint = bench::medianMs(runs, paint);
        QImage scaled;
        const double scale = bench::medianMs(runs, [&] {
            scaled = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        });
        QByteArray png;
        const double encode = bench::medianMs(runs, [&] { png = encodePng(scaled, 100); });
        std::printf("%6d %10.2f %10.2f %10.2f %10.2f %10.2f %10.2f %12d\n", size, load, loadCss, swap, repaint,
                    scale, encode, int(png.size()));
    }

    // PNG encoding of a 512 px icon by quality (compression level).
    {
        QImage image;
        window.GetWebImage(image, 512, width, height, glyph, QStringLiteral("FontAwesome"), QStringLiteral("png"));
        std::printf("\n512 px PNG by quality: ");
        for (int quality : {100, 80, 50, 0}) {
            QByteArray png;
            const double ms = bench::medianMs(runs, [&] { png = encodePng(image, quality); });
            std::printf(" q%d %.2f ms %d bytes;", quality, ms, int(png.size()));
        }
        std::printf("\n");
    }

    // Peak memory as the number of images grows, each export in a fresh process.
    std::printf("\n%8s %14s %14s\n", "images", "VmHWM before", "VmHWM after");
    std::fflush(stdout);
    for (int copies : {0, 1, 3, 10}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory"), QString::number(copies)});
        child.waitForFinished(600000);
    }

    // A lighter built-in style: no long shadow to compile and paint.
    selectGlyphs(window, glyphs);
    for (int i = 0; i < window.builtinTemplates.size(); ++i) {
        if (window.builtinTemplates.at(i).name == QLatin1String("Circle Flat Simple")) {
            PageLoadWaiter waiter(window.ui->webView);
            waiter.expectLoad();
            emit window.ui->listWidget_Templates->pressed(window.ui->listWidget_Templates->model()->index(i, 0));
            waiter.wait(30000);
            std::printf("\n");
            measureStyle("template \"Circle Flat Simple\" (no long shadow):");
        }
    }
    return 0;
}
