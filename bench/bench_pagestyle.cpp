// Cost of one page load with its LESS compile: the icon page with the default
// style plus a long shadow of 50 at several font sizes, beside a bare page
// with one trivial LESS rule.
#include "benchsupport.h"

#include "pageloadwaiter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>
#include <cstdio>

namespace {

QString resourceText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QVariantMap styleWithLongShadow()
{
    return {{"bgColor", "#FFFFFF"}, {"borderColor", "#000000"}, {"bgShadowColor", "#000000"},
            {"color", "#000000"}, {"shadowColor", "#555555"}, {"strokeColor", "#FFFFFF"},
            {"bgOpacity", 1}, {"bgShadowX", 2}, {"bgShadowY", 2}, {"bgShadowBlur", 2},
            {"borderWidth", 2}, {"borderRadius", 2}, {"bgAngle", 0}, {"opacity", 1},
            {"shadowBlur", 2}, {"shadowX", 50}, {"shadowY", 50}, {"strokeWidth", 4},
            {"moveX", 0}, {"moveY", 0}, {"angle", 0}, {"scale", 0},
            {"bgLongShadow", false}, {"longShadow", true}, {"fontFamily", "FontAwesome"}};
}

QString iconPage(const QVariantMap& params, int fontSize)
{
    QString less = resourceText(QStringLiteral(":/scripts/default.less"));
    less += QStringLiteral("\n@fontSize: %1px;\n").arg(fontSize);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        less += QStringLiteral("\n@") + it.key() + QStringLiteral(" :") + it.value().toString() + QStringLiteral(";\n");
    less += resourceText(QStringLiteral(":/scripts/engine.less"));

    QString page = resourceText(QStringLiteral(":/scripts/maket.html"));
    page.replace(QLatin1String("@less"), less);
    page.replace(QLatin1String("@userParams"),
                 QString::fromUtf8(QJsonDocument(QJsonObject::fromVariantMap(params)).toJson(QJsonDocument::Compact)));
    return page.arg(QStringLiteral("&#xf015;"));
}

const char* const BARE_PAGE =
    "<html><head><title></title><style type=\"text/less\">@c: #FFF; body { color: @c; }</style>"
    "<script type=\"text/javascript\" src=\"qrc:/scripts/less-1.4.1.min.js\"></script></head>"
    "<body><div></div></body></html>";

bool loadOnce(const QString& html, int* cssBytes)
{
    QWebView view;
    view.resize(400, 400);
    PageLoadWaiter waiter(&view);
    waiter.expectLoad();
    view.setHtml(html, QUrl::fromLocalFile(QDir::currentPath() + QDir::separator()));
    const bool ok = waiter.wait(60000);
    if (cssBytes)
        *cssBytes = view.page()->mainFrame()->findFirstElement(QStringLiteral("style")).toInnerXml().size();
    return ok && view.page()->mainFrame()->findFirstElement(QStringLiteral("style")).attribute(
                     QStringLiteral("type")) == QLatin1String("text/css");
}

}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 9;
    bool allOk = loadOnce(QString::fromLatin1(BARE_PAGE), nullptr); // warm-up

    const double bare = bench::medianMs(runs, [&] { allOk &= loadOnce(QString::fromLatin1(BARE_PAGE), nullptr); });
    std::printf("bare page, one LESS rule: %8.1f ms (median of %d)\n", bare, runs);

    auto measure = [&](const char* label, const QVariantMap& params, int fontSize) {
        const QString html = iconPage(params, fontSize);
        int cssBytes = 0;
        const double ms = bench::medianMs(runs, [&] { allOk &= loadOnce(html, &cssBytes); });
        std::printf("icon page, %-17s at %4d px: %8.1f ms (median of %d), CSS %d bytes\n",
                    label, fontSize, ms, runs, cssBytes);
    };
    QVariantMap params = styleWithLongShadow();
    for (int fontSize : {39, 159, 318, 636})
        measure("long shadow 50", params, fontSize);

    // For comparison: the same style without the long shadow, and with
    // negative offsets.
    params[QStringLiteral("longShadow")] = false;
    measure("no long shadow", params, 636);
    params[QStringLiteral("longShadow")] = true;
    params[QStringLiteral("shadowX")] = -50;
    params[QStringLiteral("shadowY")] = -50;
    measure("long shadow -50", params, 636);
    if (!allOk)
        std::printf("some page did not load or compile\n");
    return allOk ? 0 : 1;
}
