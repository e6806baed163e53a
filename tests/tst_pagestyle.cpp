// The preview page and its stylesheets, compiled by LESS inside QtWebKit.

#include "testsupport.h"

#include "pageloadwaiter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>

namespace {

QString resourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

using Vars = QList<QPair<QString, QString>>;

// Fills the page template the way the main window does.
QString fillPage(const Vars& vars, const QString& addon, int fontSize, const QString& json)
{
    QString less = resourceText(QStringLiteral(":/scripts/default.less"));
    if (fontSize != 0)
        less += QStringLiteral("\n@fontSize: %1px;\n").arg(fontSize);
    for (const auto& var : vars)
        less += QStringLiteral("\n@") + var.first + QStringLiteral(" :") + var.second + QStringLiteral(";\n");
    less += addon + resourceText(QStringLiteral(":/scripts/engine.less"));

    QString page = resourceText(QStringLiteral(":/scripts/maket.html"));
    page.replace(QLatin1String("@less"), less);
    page.replace(QLatin1String("@userParams"), json);
    return page.arg(QStringLiteral("&#xf015;"));
}

// All values of one property inside the rule of one selector, in order.
QStringList declarations(const QString& css, const QString& selector, const QString& property)
{
    QStringList values;
    for (const QString& rule : css.split(QLatin1Char('}'))) {
        const int open = rule.indexOf(QLatin1Char('{'));
        if (open < 0 || rule.left(open).trimmed() != selector)
            continue;
        for (const QString& decl : rule.mid(open + 1).split(QLatin1Char(';'))) {
            const int colon = decl.indexOf(QLatin1Char(':'));
            if (colon > 0 && decl.left(colon).trimmed() == property)
                values << decl.mid(colon + 1).trimmed();
        }
    }
    return values;
}

// Long fractions rounded to six places: script engines differ in the last digits.
QString rounded(QString text)
{
    static const QRegularExpression fraction(QStringLiteral("\\d+\\.\\d{7,}"));
    QRegularExpressionMatch match;
    while ((match = fraction.match(text)).hasMatch())
        text.replace(match.capturedStart(), match.capturedLength(),
                     QString::number(match.captured().toDouble(), 'f', 6));
    return text;
}

}

// Stops the test function when the page did not load cleanly.
#define LOAD_CLEAN(...)                    \
    do {                                   \
        loadClean(__VA_ARGS__);            \
        if (QTest::currentTestFailed())    \
            return;                        \
    } while (false)

class TestPageStyle : public QObject {
    Q_OBJECT

private:
    QWebView* view = nullptr;
    PageLoadWaiter* waiter = nullptr;

    QWebFrame* frame() const { return view->page()->mainFrame(); }
    QWebElement element(const QString& selector) const { return frame()->findFirstElement(selector); }
    QString computed(const QString& selector, const QString& property) const
    {
        return element(selector).styleProperty(property, QWebElement::ComputedStyle);
    }
    // Compiled text of the template block (0) or the script block (1).
    QString css(int block) const
    {
        return frame()->evaluateJavaScript(
            QStringLiteral("document.getElementsByTagName('style')[%1].innerHTML").arg(block)).toString();
    }
    bool hasErrorBox() const { return !element(QStringLiteral("[id^='less-error-message']")).isNull(); }

    bool load(const Vars& vars, const QString& addon = QString(), int fontSize = 0,
              const QString& json = QStringLiteral("{}"))
    {
        waiter->expectLoad();
        view->setHtml(fillPage(vars, addon, fontSize, json),
                      QUrl::fromLocalFile(QDir::currentPath() + QDir::separator()));
        return waiter->wait();
    }
    // Loads a page that must compile: LESS shows its error box shortly after the load.
    void loadClean(const Vars& vars, const QString& addon = QString(), int fontSize = 0,
                   const QString& json = QStringLiteral("{}"))
    {
        QVERIFY(load(vars, addon, fontSize, json));
        QTest::qWait(60);
        QVERIFY2(!hasErrorBox(), qPrintable(element(QStringLiteral(".less-error-message")).toPlainText()));
        const QString uncompiled = QStringLiteral("document.querySelectorAll('style[type=\"text/less\"]').length");
        QCOMPARE(frame()->evaluateJavaScript(uncompiled).toInt(), 0);
    }

private slots:
    void initTestCase()
    {
        view = new QWebView;
        view->resize(400, 300);
        waiter = new PageLoadWaiter(view);
    }
    void cleanupTestCase() { delete view; }

    void defaults()
    {
        LOAD_CLEAN({});
        QCOMPARE(element(QStringLiteral("#bg span")).toPlainText(), QString(QChar(0xF015)));

        const QRect box = element(QStringLiteral("#bg")).geometry();
        QCOMPARE(box.size(), QSize(140, 140));
        QCOMPARE(box.center(), QRect(QPoint(0, 0), view->size()).center());
        QCOMPARE(computed(QStringLiteral("#bg"), QStringLiteral("border-top-width")), QStringLiteral("0px"));
        QCOMPARE(computed(QStringLiteral("#bg"), QStringLiteral("background-color")), QStringLiteral("rgba(0, 0, 0, 0)"));
        QCOMPARE(computed(QStringLiteral("#bg span"), QStringLiteral("color")), QStringLiteral("rgb(255, 255, 255)"));
        QCOMPARE(computed(QStringLiteral("#bg span"), QStringLiteral("font-family")), QStringLiteral("FontAwesome"));

        const QString sheet = css(0);
        QVERIFY(declarations(sheet, QStringLiteral("#bg span"), QStringLiteral("text-shadow")).isEmpty());
        for (const char* property : {"-webkit-box-shadow", "-moz-box-shadow", "box-shadow"})
            QCOMPARE(declarations(sheet, QStringLiteral("#bg"), QLatin1String(property)),
                     QStringList(QStringLiteral("#ffffff 0px 0px 0px, 0 0 0 transparent")));
        QCOMPARE(css(1).trimmed(), QString());

        // The white glyph is drawn inside the box.
        QImage image(view->size(), QImage::Format_ARGB32);
        QPainter painter(&image);
        frame()->render(&painter);
        painter.end();
        int white = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                white += image.pixel(x, y) == qRgb(255, 255, 255);
        QVERIFY2(white > 500, qPrintable(QString::number(white)));
    }

    void borderSizes_data()
    {
        QTest::addColumn<Vars>("vars");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<QString>("radius");
        QTest::addColumn<QString>("border");
        QTest::addColumn<QString>("wrapper");
        QTest::newRow("round") << Vars{{"borderRadius", "100"}} << 0 << "50%" << "0px" << "1.4em";
        QTest::newRow("radius 20") << Vars{{"borderRadius", "20"}} << 0 << "10%" << "0px" << "1.4em";
        QTest::newRow("width 2") << Vars{{"borderWidth", "2"}} << 0 << "0%" << "2px" << "1.44em";
        QTest::newRow("width 2 at 37px") << Vars{{"borderWidth", "2"}} << 37 << "0%" << "1px" << "1.44em";
    }
    void borderSizes()
    {
        QFETCH(Vars, vars);
        QFETCH(int, fontSize);
        QFETCH(QString, radius);
        QFETCH(QString, border);
        QFETCH(QString, wrapper);
        LOAD_CLEAN(vars, QString(), fontSize);
        const QString sheet = css(0);
        QCOMPARE(declarations(sheet, QStringLiteral("#bg"), QStringLiteral("border-radius")), QStringList(radius));
        QCOMPARE(declarations(sheet, QStringLiteral("#bg"), QStringLiteral("border-width")), QStringList(border));
        QCOMPARE(declarations(sheet, QStringLiteral("#iconWrapper"), QStringLiteral("width")), QStringList(wrapper));
        QCOMPARE(computed(QStringLiteral("#bg"), QStringLiteral("border-left-width")), border);
        // The box fills the wrapper (the border is rounded up to whole pixels).
        const QRect boxRect = element(QStringLiteral("#bg")).geometry();
        const QRect wrapperRect = element(QStringLiteral("#iconWrapper")).geometry();
        QVERIFY(qAbs(boxRect.width() - wrapperRect.width()) <= 1 && boxRect.height() == boxRect.width());
        QVERIFY(qAbs(boxRect.center().x() - wrapperRect.left()) <= 1);
        QVERIFY(qAbs(boxRect.center().y() - wrapperRect.top()) <= 1);
    }

    void longShadows_data()
    {
        QTest::addColumn<Vars>("vars");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("expected");
        const Vars text{{"shadowColor", "#555555"}, {"longShadow", "true"}};
        const Vars box{{"bgShadowColor", "#555555"}, {"bgLongShadow", "true"}};
        QTest::newRow("3,3") << text + Vars{{"shadowX", "3"}, {"shadowY", "3"}} << 0 << "text-shadow"
                             << "1px 1px 0px #555555, 2px 2px 0px #555555, 3px 3px 0px #555555, 0 0 0 transparent";
        QTest::newRow("3,0") << text + Vars{{"shadowX", "3"}, {"shadowY", "0"}} << 0 << "text-shadow"
                             << "1px 0px 0px #555555, 2px 0px 0px #555555, 3px 0px 0px #555555, 0 0 0 transparent";
        QTest::newRow("-3,-3") << text + Vars{{"shadowX", "-3"}, {"shadowY", "-3"}} << 0 << "text-shadow"
                               << "-1px -1px 0px #555555, -2px -2px 0px #555555, -3px -3px 0px #555555, 0 0 0 transparent";
        QTest::newRow("-4,2") << text + Vars{{"shadowX", "-4"}, {"shadowY", "2"}} << 0 << "text-shadow"
                              << "-1px 1px 0px #555555, -2px 1px 0px #555555, -3px 2px 0px #555555, -4px 2px 0px #555555, 0 0 0 transparent";
        QTest::newRow("at 37px") << text + Vars{{"shadowX", "8"}, {"shadowY", "0"}} << 37 << "text-shadow"
                                 << "1px 0px 0px #555555, 2px 0px 0px #555555, 3px 0px 0px #555555, 0 0 0 transparent";
        QTest::newRow("fading") << text + Vars{{"shadowX", "3"}, {"shadowY", "3"}, {"shadowFade", "true"}} << 0 << "text-shadow"
                                << "1px 1px 0px #555555, 2px 2px 0px rgba(85, 85, 85, 0.5892556509887896), "
                                   "3px 3px 0px rgba(85, 85, 85, 0.2357022603955158), 0 0 0 transparent";
        QTest::newRow("derived colour") << Vars{{"shadowColor", ""}, {"bgColor", "#FE8453"}, {"longShadow", "true"},
                                                {"shadowX", "2"}, {"shadowY", "2"}} << 0 << "text-shadow"
                                        << "1px 1px 0px transparent, 2px 2px 0px transparent, 0 0 0 transparent";
        QTest::newRow("box -2,-3") << box + Vars{{"bgShadowX", "-2"}, {"bgShadowY", "-3"}, {"addShadow", "inset 5px 5px 12px #000"}}
                                   << 0 << "box-shadow"
                                   << "-1px -1px 0px #555555, -1px -2px 0px #555555, -2px -3px 0px #555555, "
                                      "0px 0px 0px transparent, inset 5px 5px 12px #000000";
    }
    void longShadows()
    {
        QFETCH(Vars, vars);
        QFETCH(int, fontSize);
        QFETCH(QString, property);
        QFETCH(QString, expected);
        LOAD_CLEAN(vars, QString(), fontSize);
        const QString selector = property == QLatin1String("text-shadow") ? QStringLiteral("#bg span") : QStringLiteral("#bg");
        // Emitted once, whatever the signs of the offsets.
        const QStringList values = declarations(css(0), selector, property);
        QCOMPARE(values.size(), 1);
        QCOMPARE(rounded(values.first()), rounded(expected));
        QVERIFY(!computed(selector, property).isEmpty());
    }

    void longShadowSizeStaysLinear()
    {
        // Negative offsets used to emit the growing list at every level.
        QString lists[2];
        for (int sign : {1, -1}) {
            const QString offset = QString::number(50 * sign);
            LOAD_CLEAN({{"shadowColor", "#555555"}, {"longShadow", "true"}, {"shadowX", offset}, {"shadowY", offset},
                       {"bgShadowColor", "#555555"}, {"bgLongShadow", "true"}, {"bgShadowX", offset}, {"bgShadowY", offset}},
                      QString(), 318);
            const QString sheet = css(0);
            QVERIFY2(sheet.size() < 30000, qPrintable(QString::number(sheet.size())));
            const QStringList text = declarations(sheet, QStringLiteral("#bg span"), QStringLiteral("text-shadow"));
            QCOMPARE(text.size(), 1);
            QCOMPARE(declarations(sheet, QStringLiteral("#bg"), QStringLiteral("box-shadow")).size(), 1);
            QCOMPARE(text.first().count(QLatin1Char(',')), 159);
            lists[sign < 0] = text.first();
        }
        // The same list, mirrored.
        QVERIFY(lists[1].startsWith(QLatin1String("-1px -1px 0px #555555, -2px -2px")));
        QCOMPARE(lists[1].remove(QLatin1Char('-')), lists[0]);

        LOAD_CLEAN({{"shadowColor", "#555555"}, {"longShadow", "true"}, {"shadowX", "0"}, {"shadowY", "0"}});
        QVERIFY(declarations(css(0), QStringLiteral("#bg span"), QStringLiteral("text-shadow")).isEmpty());
    }

    void shadowColours_data()
    {
        QTest::addColumn<QString>("shadowColor");
        QTest::addColumn<QString>("bgColor");
        QTest::addColumn<QString>("addon");
        QTest::addColumn<QString>("glyph");
        QTest::addColumn<QString>("box");
        const QString addon = QStringLiteral(".getNewShadow(@bgColor) when (iscolor(@bgColor)) "
                                             "{ @defShadowDarken: darken(@bgColor, 15); @defBgShadowDarken: #102030; }");
        QTest::newRow("colour") << "#123456" << "#FE8453" << addon << "#123456" << "#123456";
        QTest::newRow("no bg colour") << "" << "transparent" << addon << "rgba(255, 255, 255, 0)" << "#ffffff";
        QTest::newRow("derived") << "" << "#FE8453" << addon << "#fe4e07" << "#102030";
        QTest::newRow("no addon") << "" << "#FE8453" << QString() << "transparent" << "#000000";
    }
    void shadowColours()
    {
        QFETCH(QString, shadowColor);
        QFETCH(QString, bgColor);
        QFETCH(QString, addon);
        QFETCH(QString, glyph);
        QFETCH(QString, box);
        LOAD_CLEAN({{"bgColor", bgColor}, {"bgShadowColor", shadowColor}, {"bgShadowX", "2"},
                   {"shadowColor", shadowColor}, {"shadowX", "2"}, {"shadowY", "3"}}, addon);
        const QString sheet = css(0);
        QCOMPARE(declarations(sheet, QStringLiteral("#bg span"), QStringLiteral("text-shadow")),
                 QStringList(QStringLiteral("2px 3px 0px ") + glyph));
        QCOMPARE(declarations(sheet, QStringLiteral("#bg"), QStringLiteral("box-shadow")),
                 QStringList(box + QStringLiteral(" 2px 0px 0px, 0 0 0 transparent")));
    }

    void borderColour_data()
    {
        QTest::addColumn<QString>("borderColor");
        QTest::addColumn<QString>("mainColor");
        QTest::addColumn<QString>("expected");
        QTest::newRow("stroke") << "" << "stroke" << "rgb(18, 52, 86)";
        QTest::newRow("icon") << "" << "icon" << "rgb(1, 2, 3)";
        QTest::newRow("bg") << "" << "bg" << "rgb(254, 132, 83)";
        QTest::newRow("own colour") << "#00FF00" << "stroke" << "rgb(0, 255, 0)";
    }
    void borderColour()
    {
        QFETCH(QString, borderColor);
        QFETCH(QString, mainColor);
        QFETCH(QString, expected);
        LOAD_CLEAN({{"bgColor", "#FE8453"}, {"borderColor", borderColor}, {"borderWidth", "2"}, {"color", "#010203"},
                   {"mainColor", mainColor}, {"strokeColor", "#123456"}});
        QCOMPARE(computed(QStringLiteral("#bg"), QStringLiteral("border-top-color")), expected);
    }

    void addonHooks()
    {
        LOAD_CLEAN({{"bgColor", "#FE8453"}},
                  QStringLiteral("@addShadow: inset 5px 5px 12px #000;\n.addonBgFunc() { background-color: transparent; }\n"));
        const QString sheet = css(0);
        QCOMPARE(declarations(sheet, QStringLiteral("#bg"), QStringLiteral("background-color")),
                 QStringList({QStringLiteral("#fe8453"), QStringLiteral("transparent")}));
        QCOMPARE(computed(QStringLiteral("#bg"), QStringLiteral("background-color")), QStringLiteral("rgba(0, 0, 0, 0)"));
        QVERIFY(declarations(sheet, QStringLiteral("#bg"), QStringLiteral("box-shadow")).value(0).endsWith(
            QLatin1String(", inset 5px 5px 12px #000000")));
    }

    void mainScript_data()
    {
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("expected");
        const QString bgRule = QStringLiteral(
            "#bg{background-image:e('-webkit-@{bgGradient}');background-image:e('-moz-@{bgGradient}');"
            "background-image:e('@{bgGradient}');}");
        const QString iconRule = QStringLiteral(
            "#bg span{background-image:e('-webkit-@{gradient}');background-image:e('-moz-@{gradient}');"
            ".cliping(@a) when (@a > \"\"){-webkit-background-clip: text;}.cliping(@gradient);color: transparent;}");
        QTest::newRow("nothing") << "{}" << "";
        QTest::newRow("bg colour only") << "{\"bgColor\":\"#FFFFFF\"}" << "@bgColor:#FFFFFF;";
        QTest::newRow("empty bg colour") << "{\"bgColor\":\"\",\"bgGradient\":\"x\"}" << "";
        QTest::newRow("transparent bg, gradient")
            << "{\"bgColor\":\"transparent\",\"bgGradient\":\"linear-gradient(top, #fff, #000)\"}"
            << "@bgGradient:linear-gradient(top, #fff, #000);" + bgRule;
        QTest::newRow("transparent bg, gradient naming @bgColor")
            << "{\"bgColor\":\"transparent\",\"bgGradient\":\"linear-gradient(top, lighten(@bgColor, 10), @bgColor)\"}" << "";
        QTest::newRow("icon gradient")
            << "{\"color\":\"#336699\",\"gradient\":\"linear-gradient(top, @bgColor, lighten(@bgColor, 9))\"}"
            << "@color: #336699;@gradient:linear-gradient(top, @color, lighten(@color, 9));" + iconRule;
        QTest::newRow("transparent icon, gradient")
            << "{\"color\":\"transparent\",\"gradient\":\"linear-gradient(top, #fff, #000)\"}"
            << "@color: #FFF;@gradient:linear-gradient(top, #fff, #000);" + iconRule;
    }
    void mainScript()
    {
        QFETCH(QString, params);
        QFETCH(QString, expected);
        QVERIFY(load({}));
        QCOMPARE(frame()->evaluateJavaScript(QStringLiteral("main(%1)").arg(params)).toString(), expected);
    }

    void gradientPages()
    {
        LOAD_CLEAN({{"bgColor", "#FE8453"}, {"color", "#336699"}}, QString(), 0,
                  QStringLiteral("{\"bgColor\":\"#FE8453\",\"bgGradient\":\"linear-gradient(top, lighten(@bgColor, 10), @bgColor)\","
                                 "\"color\":\"#336699\",\"gradient\":\"linear-gradient(top, @bgColor, #000)\"}"));
        const QString sheet = css(1);
        QCOMPARE(declarations(sheet, QStringLiteral("#bg"), QStringLiteral("background-image")).value(2),
                 QStringLiteral("linear-gradient(top, #fea886, #fe8453)"));
        QCOMPARE(declarations(sheet, QStringLiteral("#bg span"), QStringLiteral("-webkit-background-clip")),
                 QStringList(QStringLiteral("text")));
        QVERIFY(computed(QStringLiteral("#bg"), QStringLiteral("background-image")).contains(QLatin1String("gradient")));
        QCOMPARE(computed(QStringLiteral("#bg span"), QStringLiteral("color")), QStringLiteral("rgba(0, 0, 0, 0)"));

        // Without a box colour, a gradient built on it is left out instead of failing the block.
        LOAD_CLEAN({}, QString(), 0,
                  QStringLiteral("{\"bgColor\":\"transparent\",\"bgGradient\":\"linear-gradient(top, lighten(@bgColor, 10), @bgColor)\"}"));
        QCOMPARE(css(1).trimmed(), QString());
        QCOMPARE(computed(QStringLiteral("#bg"), QStringLiteral("background-image")), QStringLiteral("none"));
    }

    void errorBox_data()
    {
        QTest::addColumn<Vars>("vars");
        QTest::addColumn<QString>("json");
        QTest::newRow("template block") << Vars{{"shadowX", "2 +"}} << "{}";
        QTest::newRow("script block") << Vars{} << "{\"color\":\"#000\",\"gradient\":\"linear-gradient(top, #000\"}";
    }
    void errorBox()
    {
        QFETCH(Vars, vars);
        QFETCH(QString, json);
        QVERIFY(load(vars, QString(), 0, json));
        QTRY_VERIFY_WITH_TIMEOUT(hasErrorBox(), 3000);
        // The box is the body's first child.
        QVERIFY(element(QStringLiteral("body")).firstChild().attribute(QStringLiteral("id")).startsWith(
            QLatin1String("less-error-message")));
    }

    void undefinedVariable()
    {
        // An evaluation error adds no rules: the block stays uncompiled.
        QVERIFY(load({{"color", "@nothing"}}));
        QTest::qWait(60);
        QCOMPARE(element(QStringLiteral("style")).attribute(QStringLiteral("type")), QStringLiteral("text/less"));
        QCOMPARE(element(QStringLiteral("#bg")).geometry().width(), view->width() - 16);
    }
};

PICTAVO_TEST_MAIN(TestPageStyle)

#include "tst_pagestyle.moc"
