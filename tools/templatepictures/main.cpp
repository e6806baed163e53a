// Draws every built-in template's list thumbnail (100 x 100) and tooltip
// preview (300 x 200) with the application's own offscreen renderer, the way
// an export does: apply the template, measure the preview's box, render.
//
// Usage: templatepictures --out DIR [--source DIR] [--only ALIAS,...] [--exports DIR]
//   --out      writes DIR/<alias>/thumbnail.png and DIR/<alias>/preview.png
//   --source   takes params.json and addon.less from DIR/<alias>/ instead of
//              the compiled-in copies (to try a style before rebuilding)
//   --only     limits the run to the named templates
//   --exports  also writes DIR/<alias>.png, a 256 px export of the default glyph

#include "appinfo.h"
#include "mainwindow.h"
#include "pageloadwaiter.h"
#include "textfile.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>

#include <cstdio>

namespace {

const QString FONT_FAMILY = QStringLiteral("FontAwesome");
const uint THUMBNAIL_GLYPH = 0xF015;
// Preview: a smaller glyph on each side of a larger one.
const uint PREVIEW_GLYPHS[] = {0xF004, 0xF015, 0xF030};
const int PREVIEW_SIZES[] = {88, 124, 88};
const QSize PREVIEW_SIZE(300, 200);
const int THUMBNAIL_SIZE = 100;
const int EXPORT_SIZE = 256;
const float BOX_FACTOR = 1.15f;

QString glyph(uint code)
{
    return QString::fromUcs4(&code, 1);
}

// Reloads the preview and waits for it, so that its box can be measured.
bool reloadPreview(MainWindow& window)
{
    PageLoadWaiter waiter(window.ui->webView);
    waiter.expectLoad();
    window.refreshHTML();
    return waiter.wait();
}

// The box every image of an export is fitted to, as the export measures it.
QSize exportBox(MainWindow& window)
{
    QWebElement bg = window.ui->webView->page()->mainFrame()->findFirstElement(QStringLiteral("#bg"));
    const QSize real = window.CalcRealIconSize(bg);
    return QSize(static_cast<int>(real.width() * BOX_FACTOR), static_cast<int>(real.height() * BOX_FACTOR));
}

QImage renderGlyph(MainWindow& window, uint code, int size, const QSize& box)
{
    QImage image;
    window.GetWebImage(image, size, box.width(), box.height(), glyph(code), FONT_FAMILY, QStringLiteral("png"));
    return image;
}

// True when the current style's LESS compiles at the given font size.
bool compilesAt(MainWindow& window, int fontSize)
{
    QWebView view;
    view.resize(fontSize * 2, fontSize * 2);
    PageLoadWaiter waiter(&view);
    waiter.expectLoad();
    window.ReplaceLess(glyph(THUMBNAIL_GLYPH), FONT_FAMILY, &view, fontSize);
    if (!waiter.wait())
        return false;
    const QVariant pending = view.page()->mainFrame()->evaluateJavaScript(
        QStringLiteral("document.querySelectorAll('style[type=\"text/less\"], [id^=\"less-error-message\"]').length"));
    return pending.toInt() == 0;
}

bool save(const QImage& image, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    appinfo::setApplicationIdentity();

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Template folder to write."),
                                       QStringLiteral("dir"));
    const QCommandLineOption sourceOption(QStringLiteral("source"), QStringLiteral("Template sources to apply."),
                                          QStringLiteral("dir"));
    const QCommandLineOption onlyOption(QStringLiteral("only"), QStringLiteral("Aliases to draw."),
                                        QStringLiteral("aliases"));
    const QCommandLineOption exportsOption(QStringLiteral("exports"), QStringLiteral("Folder for 256 px exports."),
                                           QStringLiteral("dir"));
    parser.addOptions({outOption, sourceOption, onlyOption, exportsOption});
    parser.process(app);
    if (!parser.isSet(outOption) && !parser.isSet(exportsOption)) {
        std::fprintf(stderr, "nothing to do: give --out or --exports\n");
        return 2;
    }
    const QStringList only = parser.value(onlyOption).split(QLatin1Char(','), Qt::SkipEmptyParts);

    MainWindow window;
    int failures = 0;
    for (int i = 0; i < window.builtinTemplates.size(); ++i) {
        MainWindow::CssTemplate& tmpl = window.builtinTemplates[i];
        if (!only.isEmpty() && !only.contains(tmpl.alias))
            continue;
        if (parser.isSet(sourceOption)) {
            const QString folder = parser.value(sourceOption) + QLatin1Char('/') + tmpl.alias + QLatin1Char('/');
            QFile params(folder + QStringLiteral("params.json"));
            if (params.open(QIODevice::ReadOnly))
                window.parsingJson(params, tmpl);
            tmpl.addon = readTextFile(folder + QStringLiteral("addon.less"));
        }

        QMetaObject::invokeMethod(&window, "on_listWidget_Templates_pressed",
                                  Q_ARG(QModelIndex, window.ui->listWidget_Templates->model()->index(i, 0)));
        if (!reloadPreview(window)) {
            std::fprintf(stderr, "%s: preview did not load\n", qPrintable(tmpl.alias));
            ++failures;
            continue;
        }
        const QSize box = exportBox(window);

        bool ok = true;
        for (int fontSize : {100, EXPORT_SIZE}) {
            if (!compilesAt(window, fontSize)) {
                std::fprintf(stderr, "%s: LESS error at %d px\n", qPrintable(tmpl.alias), fontSize);
                ok = false;
            }
        }

        if (parser.isSet(outOption)) {
            const QString folder = parser.value(outOption) + QLatin1Char('/') + tmpl.alias + QLatin1Char('/');
            ok = save(renderGlyph(window, THUMBNAIL_GLYPH, THUMBNAIL_SIZE, box), folder + QStringLiteral("thumbnail.png"))
                && ok;

            QImage preview(PREVIEW_SIZE, QImage::Format_ARGB32_Premultiplied);
            preview.fill(Qt::transparent);
            QPainter painter(&preview);
            const int gap = (PREVIEW_SIZE.width() - PREVIEW_SIZES[0] - PREVIEW_SIZES[1] - PREVIEW_SIZES[2]) / 2;
            int x = 0;
            for (int k = 0; k < 3; ++k) {
                const QImage image = renderGlyph(window, PREVIEW_GLYPHS[k], PREVIEW_SIZES[k], box);
                painter.drawImage(x, (PREVIEW_SIZE.height() - PREVIEW_SIZES[k]) / 2, image);
                x += PREVIEW_SIZES[k] + gap;
            }
            painter.end();
            ok = save(preview, folder + QStringLiteral("preview.png")) && ok;
        }
        if (parser.isSet(exportsOption))
            ok = save(renderGlyph(window, THUMBNAIL_GLYPH, EXPORT_SIZE, box),
                      parser.value(exportsOption) + QLatin1Char('/') + tmpl.alias + QStringLiteral(".png"))
                && ok;

        std::printf("%-28s box %dx%d %s\n", qPrintable(tmpl.alias), box.width(), box.height(), ok ? "ok" : "FAILED");
        std::fflush(stdout);
        if (!ok)
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
