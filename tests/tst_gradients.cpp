// The gradient lists with their swatches: the catalogue at start-up, swatch
// rendering, and re-rendering when the icon or background colour changes.

#include "testsupport.h"

#include "folders.h"
#include "mainwindow.h"
#include "qwebcolorpicker.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScriptEngine>
#include <QSet>
#include <QWebView>

#include <functional>

namespace {

// The catalogue as a reader of the scripts sees it: files in name order,
// array "gradiaents", property "value".
QStringList catalogueGradients()
{
    QStringList values;
    QDir folder(getResourcesPath() + QStringLiteral("/config/gradient"));
    for (const QString& name : folder.entryList({QStringLiteral("*.qs")}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QScriptEngine engine;
        engine.evaluate(QString::fromUtf8(file.readAll()));
        const QScriptValue list = engine.globalObject().property(QStringLiteral("gradiaents"));
        for (quint32 i = 0; i < list.property(QStringLiteral("length")).toUInt32(); ++i)
            values << list.property(i).property(QStringLiteral("value")).toString();
    }
    return values;
}

QColor centre(const QIcon& icon)
{
    return icon.pixmap(100, 100).toImage().pixelColor(50, 50);
}

bool near(const QColor& a, const QColor& b, int tolerance = 3)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

// Counts the page loads of every web view created from now on except the
// preview, and tells when a new one appears.
class LoadCounter : public QObject {
public:
    explicit LoadCounter(QWebView* preview)
        : preview(preview)
    {
        qApp->installEventFilter(this);
    }
    ~LoadCounter() override { qApp->removeEventFilter(this); }

    int loads = 0;
    int views = 0;
    std::function<void(QWebView*, int)> onNewView;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded) {
            auto* view = qobject_cast<QWebView*>(watched);
            if (view && view != preview && !seen.contains(view)) {
                seen.insert(view);
                connect(view, &QWebView::loadFinished, this, [this] { ++loads; });
                connect(view, &QObject::destroyed, this, [this, view] { seen.remove(view); });
                ++views;
                if (onNewView)
                    onNewView(view, views);
            }
        }
        return false;
    }

private:
    QWebView* preview;
    QSet<QObject*> seen;
};

}

class TestGradients : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void catalogueAfterStartUp();
    void swatchDrawsGradientOnColour();
    void failedSwatchIsBlankAndBounded();
    void iconGradientKeepsItsText();
    void colourChangeRedrawsEverySwatch();
    void sameColourRedrawsNothing();
    void newerColourAbandonsOlderPass();
    void noCurrentItem();
    void emptyListKeepsLastColour();

private:
    MainWindow* window = nullptr;
};

void TestGradients::initTestCase()
{
    window = new MainWindow;
}

void TestGradients::cleanupTestCase()
{
    delete window;
}

void TestGradients::catalogueAfterStartUp()
{
    const QStringList catalogue = catalogueGradients();
    QVERIFY2(catalogue.size() >= 15 && catalogue.size() <= 30, qPrintable(QString::number(catalogue.size())));
    QCOMPARE(QSet<QString>(catalogue.cbegin(), catalogue.cend()).size(), catalogue.size());
    for (const QString& gradient : catalogue)
        QVERIFY2(gradient.contains(QLatin1String("@bgColor")), qPrintable(gradient));

    // The start-up template's background gradient is one of the catalogue's,
    // so start-up adds nothing to the list.
    QCOMPARE(window->bkgGradients, catalogue);
    QComboBox* combo = window->ui->comboBoxBkgGradient;
    QCOMPARE(combo->count(), catalogue.size());
    for (int i = 0; i < combo->count(); ++i) {
        QCOMPARE(combo->itemData(i).toString(), catalogue.at(i));
        QVERIFY(combo->itemText(i).isEmpty());
        QVERIFY(!combo->itemIcon(i).isNull());
    }
    QCOMPARE(combo->currentData().toString(), window->currentTemplate->params.value("bgGradient").toString());
    QVERIFY(window->iconGradients.isEmpty());
    QCOMPARE(window->ui->comboBoxIconGradient->count(), 0);
    QCOMPARE(window->lastBkgColor, QStringLiteral("#FE8453"));
    QVERIFY(window->lastIconColor.isEmpty());
    QCOMPARE(window->ui->tabWidget->styleSheet(), QStringLiteral("QComboBox::item {min-height: 50px;}"));

    // Every swatch was drawn on the start-up template's colour: the catalogue
    // colour is gone from all of them.
    for (int i = 0; i < combo->count(); ++i)
        QVERIFY2(!near(centre(combo->itemIcon(i)), centre(window->CreateIcon(catalogue.at(i), "#FACE8D")), 0),
                 qPrintable(catalogue.at(i)));
}

void TestGradients::swatchDrawsGradientOnColour()
{
    const QImage plain = window->CreateIcon(QStringLiteral("linear-gradient(top, @bgColor, @bgColor)"),
                                            QStringLiteral("#3366CC"))
                             .pixmap(100, 100)
                             .toImage();
    QCOMPARE(plain.size(), QSize(100, 100));
    QVERIFY(near(plain.pixelColor(50, 50), QColor("#3366CC")));
    QVERIFY(near(plain.pixelColor(0, 0), QColor("#3366CC")));

    const QImage ramp = window->CreateIcon(QStringLiteral("linear-gradient(top, darken(@bgColor, 40), lighten(@bgColor, 40))"),
                                           QStringLiteral("#808080"))
                            .pixmap(100, 100)
                            .toImage();
    QVERIFY(ramp.pixelColor(50, 2).lightness() < 80);
    QVERIFY(ramp.pixelColor(50, 97).lightness() > 180);
    QVERIFY(qAbs(ramp.pixelColor(50, 50).lightness() - 128) < 12);
}

void TestGradients::failedSwatchIsBlankAndBounded()
{
    const auto isBlank = [](const QIcon& icon) {
        const QImage image = icon.pixmap(100, 100).toImage();
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                if (image.pixelColor(x, y).alpha() != 0)
                    return false;
        return true;
    };
    // A gradient that does not compile: blank, no error box drawn into it,
    // and a debug line.
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^can't render gradient:")));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(isBlank(window->CreateIcon(QStringLiteral("linear-gradient(top, lighten(@nothing, 10), red)"),
                                       QStringLiteral("#FFFFFF"))));
    QVERIFY(timer.elapsed() < 3000);

    // A gradient of the box colour on a transparent box: the page leaves it
    // out, the swatch is blank without a page load.
    LoadCounter counter(window->ui->webView);
    QVERIFY(isBlank(window->CreateIcon(window->bkgGradients.first(), QStringLiteral("transparent"))));
    QCOMPARE(counter.loads, 0);
    // A gradient that does not need the box colour is drawn all the same.
    QVERIFY(!isBlank(window->CreateIcon(QStringLiteral("linear-gradient(top, #FF0000, #0000FF)"),
                                        QStringLiteral("transparent"))));
}

void TestGradients::iconGradientKeepsItsText()
{
    // An icon gradient is drawn in the icon colour, as on the glyph, whether
    // it names the icon colour or (like the catalogue) the box colour; the
    // list keeps the text unchanged.
    const QStringList gradients = {QStringLiteral("linear-gradient(top, @color, @color)"),
                                   QStringLiteral("linear-gradient(left, @bgColor, @bgColor)")};
    window->ui->widgetBkgColor->setTextColor(QStringLiteral("#FE8453"));
    for (const QString& gradient : gradients) {
        const int index = window->addGradient(gradient, QStringLiteral("#00FF00"), MainWindow::IconProperty);
        QCOMPARE(index, window->iconGradients.size() - 1);
        QCOMPARE(window->iconGradients.at(index), gradient);
        QCOMPARE(window->ui->comboBoxIconGradient->itemData(index).toString(), gradient);
        QVERIFY(near(centre(window->ui->comboBoxIconGradient->itemIcon(index)), QColor("#00FF00")));
    }
    // A transparent glyph shows its gradient in white.
    const int index = window->addGradient(gradients.first(), QStringLiteral("transparent"), MainWindow::IconProperty);
    QVERIFY(near(centre(window->ui->comboBoxIconGradient->itemIcon(index)), QColor("#FFFFFF")));
}

void TestGradients::colourChangeRedrawsEverySwatch()
{
    QComboBox* combo = window->ui->comboBoxBkgGradient;
    QList<int> rows;
    connect(combo->model(), &QAbstractItemModel::dataChanged, this,
            [&rows](const QModelIndex& from, const QModelIndex&, const QVector<int>& roles) {
                if (roles.isEmpty() || roles.contains(Qt::DecorationRole))
                    rows << from.row();
            });
    combo->setCurrentIndex(3);
    LoadCounter counter(window->ui->webView);
    window->ui->widgetBkgColor->setColor(QStringLiteral("#3F9DD1"));
    disconnect(combo->model(), nullptr, this, nullptr);

    QCOMPARE(window->lastBkgColor, QStringLiteral("#3F9DD1"));
    QCOMPARE(counter.loads, window->bkgGradients.size());
    QCOMPARE(rows.size(), window->bkgGradients.size());
    QCOMPARE(rows.first(), 3); // the swatch in the closed box first
    QCOMPARE(QSet<int>(rows.cbegin(), rows.cend()).size(), rows.size());
    for (int i = 0; i < combo->count(); ++i)
        QVERIFY(near(centre(combo->itemIcon(i)), centre(window->CreateIcon(window->bkgGradients.at(i), "#3F9DD1"))));
}

void TestGradients::sameColourRedrawsNothing()
{
    LoadCounter counter(window->ui->webView);
    window->ui->widgetBkgColor->setColor(window->lastBkgColor);
    window->changedColor(MainWindow::BackgroundProperty);
    QCOMPARE(counter.loads, 0);
}

void TestGradients::newerColourAbandonsOlderPass()
{
    QComboBox* combo = window->ui->comboBoxBkgGradient;
    const int count = window->bkgGradients.size();
    LoadCounter counter(window->ui->webView);
    // The colour changes again while the fourth swatch of the first pass is
    // being drawn: the newer pass runs nested inside it, and the older one
    // must neither keep that swatch nor draw another.
    bool changed = false;
    counter.onNewView = [&](QWebView* view, int views) {
        if (views != 4)
            return;
        connect(view, &QWebView::loadFinished, this, [&] {
            if (!changed) {
                changed = true;
                window->ui->widgetBkgColor->setColor(QStringLiteral("#EC507F"));
            }
        });
    };
    window->ui->widgetBkgColor->setColor(QStringLiteral("#95A5A5"));

    QVERIFY(changed);
    QCOMPARE(window->lastBkgColor, QStringLiteral("#EC507F"));
    // Three finished and one cut short by the older pass, all of the newer.
    QCOMPARE(counter.views, 4 + count);
    for (int i = 0; i < combo->count(); ++i)
        QVERIFY2(near(centre(combo->itemIcon(i)), centre(window->CreateIcon(window->bkgGradients.at(i), "#EC507F"))),
                 qPrintable(QString::number(i)));
}

void TestGradients::noCurrentItem()
{
    QComboBox* combo = window->ui->comboBoxIconGradient;
    QVERIFY(combo->count() > 0);
    combo->setCurrentIndex(-1);
    LoadCounter counter(window->ui->webView);
    window->ui->widgetIconColor->setColor(QStringLiteral("#123456"));
    QCOMPARE(window->lastIconColor, QStringLiteral("#123456"));
    QCOMPARE(counter.loads, window->iconGradients.size());
    QVERIFY(near(centre(combo->itemIcon(0)), QColor("#123456")));
}

void TestGradients::emptyListKeepsLastColour()
{
    MainWindow fresh;
    QVERIFY(fresh.iconGradients.isEmpty());
    fresh.lastIconColor = QStringLiteral("#ABCDEF");
    fresh.ui->widgetIconColor->setColor(QStringLiteral("#FEDCBA"));
    fresh.changedColor(MainWindow::IconProperty);
    QCOMPARE(fresh.lastIconColor, QStringLiteral("#ABCDEF"));
    // The first gradient added later takes the picker's colour of that moment.
    const int index = fresh.addGradient(QStringLiteral("linear-gradient(top, @color, @color)"),
                                        fresh.ui->widgetIconColor->color(), MainWindow::IconProperty);
    QVERIFY(near(centre(fresh.ui->comboBoxIconGradient->itemIcon(index)), QColor("#FEDCBA")));
}

PICTAVO_TEST_MAIN(TestGradients)

#include "tst_gradients.moc"
