// The built-in templates: the catalogue, its list, the start-up template,
// applying a template, and that every template's page compiles.

#include "testsupport.h"

#include "mainwindow.h"
#include "pageloadwaiter.h"
#include "qwebcolorpicker.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QTemporaryFile>
#include <QToolTip>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>

namespace {

struct Entry {
    const char* name;
    const char* alias;
    bool addon;
};

const Entry CATALOGUE[] = {
    {"Default", "default", false},
    {"Default Circle", "default_circle", false},
    {"Default Circle Fill", "default_circle_fill", false},
    {"Default Rectangle", "default_rectangle", false},
    {"Default Rectangle Fill", "default_rectangle_fill", false},
    {"Default iOS7", "default_ios7", false},
    {"Office Sticker", "office_sticker", false},
    {"Circle Inner Shadow", "circle_inner_shadow", true},
    {"iOS 7 Light", "new_ios7_light", false},
    {"Circle Flat Simple", "circle_flat_simple", false},
    {"Circle Faint", "circle_faint", false},
    {"Circle Button", "circle_button", false},
    {"Circle Border Shadow", "circle_border_shadow", false},
    {"Long Rounded Corner", "long_rounded_corner", true},
    {"Vintage Tiles", "vintage_tiles", false},
    {"Long Shadow Tiles", "long_shadow_tiles", true},
    {"Circle Simple Glass", "circle_simple_glass", false},
    {"Circle Long Shadow", "circle_long_shadow", true},
    {"Round Gradient", "round_gradient", false},
    {"Circle Shadow", "circle_shadow", true},
    {"Circle 3D", "circle_3d", false},
    {"Font Back Shadow", "font_back_shadow", true},
    {"Circle Gradient Half", "circle_gradient_half", false},
    {"Circle Font Offset", "circle_font_offset", false},
    {"Flat Shadow", "flat_shadow", true},
    {"iOS 7", "new_ios7", false},
    {"iOS 7 Inverse", "new_ios7_inverse", false},
    {"iOS 7 Radiant", "new_ios7_radiant", false},
    {"Gradient Half Inverse", "gradient_half_inverse", false},
    {"Corner Gradient Half", "corner_gradient_half", true},
    {"Long Shadow Gradient", "long_shadow_gradient", true},
    {"iOS 7 Long Shadow", "new_ios7_long_shadow", true},
    {"Long Shadow Inverse", "long_shadow_inverse", true},
    {"Gradient Half", "gradient_half", true},
    {"iOS 7 3D", "new_ios7_3d", true},
    {"Long Shadow 3D", "long_shadow_3d", true},
    {"Rotate Back", "rotate_back", true},
    {"Circle Bold Border", "circle_bold_border", false},
    {"Circle Simple Shadow", "circle_simple_shadow", false},
    {"Crumpled Long Shadow", "crumpled_long_shadow", true},
    {"Crumpled Simple", "crumpled_simple", false},
    {"Circle Border Glass", "circle_border_glass", true},
    {"Gradient Half Long Shadow", "gradient_half_long_shadow", true},
    {"Circle Simple Flying", "circle_simple_flying", false},
    {"Circle Gradient Border", "circle_gradient_border", false},
    {"Circle Button 3d", "circle_button_3d", false},
    {"Square Lighted", "square_lighted", true},
};
const int TEMPLATE_COUNT = int(sizeof(CATALOGUE) / sizeof(CATALOGUE[0]));

int indexOf(const MainWindow& window, const QString& name)
{
    for (int i = 0; i < window.builtinTemplates.size(); ++i)
        if (window.builtinTemplates.at(i).name == name)
            return i;
    return -1;
}

}

class TestTemplates : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void catalogueOrderAndFiles();
    void listShowsThumbnailsAndTooltips();
    void startUpTemplateSetsTheControls();
    void pressAppliesTemplate();
    void pressAgainRedrawsNoSwatch();
    void iconGradientOfATemplate();
    void parsingJson();
    void everyTemplateCompiles_data();
    void everyTemplateCompiles();
    void transparentBackgroundWithGradientCompiles();

private:
    void press(int row);
    // Loads the current style at the given font size; empty when it
    // compiled, the compiler's complaint otherwise.
    QString compileProblem(int fontSize);

    MainWindow* window = nullptr;
};

void TestTemplates::initTestCase()
{
    QCOMPARE(TEMPLATE_COUNT, 47);
    window = new MainWindow;
}

void TestTemplates::cleanupTestCase()
{
    delete window;
}

void TestTemplates::press(int row)
{
    QMetaObject::invokeMethod(window, "on_listWidget_Templates_pressed",
                              Q_ARG(QModelIndex, window->ui->listWidget_Templates->model()->index(row, 0)));
}

QString TestTemplates::compileProblem(int fontSize)
{
    QWebView view;
    view.resize(400, 400);
    PageLoadWaiter waiter(&view);
    waiter.expectLoad();
    window->GenerateUserParams();
    window->ReplaceLess(window->currentSymbol, window->styleParams.value("fontFamily").toString(), &view, fontSize);
    if (!waiter.wait())
        return QStringLiteral("page did not load");
    // The compiler puts its error box in on a timer after the load.
    QTest::qWait(30);
    QWebFrame* frame = view.page()->mainFrame();
    const QWebElement error = frame->findFirstElement(QStringLiteral("[id^=\"less-error-message\"]"));
    if (!error.isNull())
        return error.toPlainText().simplified();
    if (!frame->findFirstElement(QStringLiteral("style[type=\"text/less\"]")).isNull())
        return QStringLiteral("a LESS block was not compiled");
    if (frame->findFirstElement(QStringLiteral("#bg span")).styleProperty("font-family", QWebElement::ComputedStyle)
        != QStringLiteral("FontAwesome"))
        return QStringLiteral("the glyph is not styled");
    return QString();
}

void TestTemplates::catalogueOrderAndFiles()
{
    QCOMPARE(window->builtinTemplates.size(), TEMPLATE_COUNT);
    int addons = 0;
    for (int i = 0; i < TEMPLATE_COUNT; ++i) {
        const MainWindow::CssTemplate& tmpl = window->builtinTemplates.at(i);
        const QString alias = QString::fromLatin1(CATALOGUE[i].alias);
        QCOMPARE(tmpl.name, QString::fromLatin1(CATALOGUE[i].name));
        QCOMPARE(tmpl.alias, alias);
        QCOMPARE(tmpl.pixmap.size(), QSize(100, 100));
        QCOMPARE(tmpl.tooltip, alias + QStringLiteral("/preview.png"));
        QCOMPARE(QImage(QStringLiteral(":/templates/") + tmpl.tooltip).size(), QSize(300, 200));
        QCOMPARE(!tmpl.addon.isEmpty(), CATALOGUE[i].addon);
        addons += CATALOGUE[i].addon;

        for (const char* key : {"colorSchemes", "color", "bgColor"})
            QVERIFY2(tmpl.params.contains(key), qPrintable(alias + " " + key));
        const QStringList schemes = tmpl.params.value("colorSchemes").toString().split(QStringLiteral(", "));
        QCOMPARE(schemes.size(), 6);
        for (const QString& colour : schemes)
            QVERIFY2(QColor::isValidColor(colour) && colour.startsWith('#'), qPrintable(alias + " " + colour));
    }
    QCOMPARE(addons, 19);

    // The two templates given exactly.
    const QVariantMap def = window->builtinTemplates.at(0).params;
    QCOMPARE(def, QVariantMap({{"colorSchemes", "#BAA184, #BF873E, #5B75A0, #8B695C, #9F4C4C, #699F4C"},
                               {"mainColor", "icon"}, {"color", "#5B75A0"}, {"bgColor", "transparent"}}));
    const MainWindow::CssTemplate& cis = window->builtinTemplates.at(7);
    QCOMPARE(cis.params.size(), 18);
    QCOMPARE(cis.params.value("bgGradient").toString(),
             QStringLiteral("linear-gradient(top, @bgColor,  lighten(saturate(spin(@bgColor, 341), 0), 4))"));
    QCOMPARE(cis.params.value("addShadow").toString(), QStringLiteral("inset 0.02em 0.05em 0 rgba(0, 0, 0, 0.25)"));
    QCOMPARE(cis.params.value("shadowColor"), QVariant(QString()));
    QCOMPARE(cis.params.value("longShadow"), QVariant(true));
    QCOMPARE(cis.params.value("shadowOpacity").toDouble(), 0.1);
    QVERIFY(cis.addon.contains(QStringLiteral("@defShadowDarken: darken(desaturate(spin(@bgColor, 0), 50), 17);")));
}

void TestTemplates::listShowsThumbnailsAndTooltips()
{
    QListWidget* list = window->ui->listWidget_Templates;
    QCOMPARE(list->count(), TEMPLATE_COUNT);
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        QVERIFY(item->text().isEmpty());
        QCOMPARE(item->data(Qt::UserRole).toInt(), i);
        QVERIFY(!item->icon().isNull());
        QCOMPARE(item->toolTip(), QStringLiteral("%1<br><img src=\":/templates/%2/preview.png\">")
                                      .arg(QString::fromLatin1(CATALOGUE[i].name), QString::fromLatin1(CATALOGUE[i].alias)));
    }
    // A click shows the tooltip where the mouse is.
    QMetaObject::invokeMethod(window, "on_listWidget_Templates_itemClicked", Q_ARG(QListWidgetItem*, list->item(7)));
    QCOMPARE(QToolTip::text(), list->item(7)->toolTip());
}

void TestTemplates::startUpTemplateSetsTheControls()
{
    // A fresh window: the shared one has been used by the tests above.
    MainWindow fresh;
    QCOMPARE(fresh.currentTemplate, &fresh.builtinTemplates[7]);
    QCOMPARE(fresh.addonLess, fresh.builtinTemplates.at(7).addon);
    Ui_MainWindow* ui = fresh.ui;
    QCOMPARE(ui->widgetBkgColor->color(), QStringLiteral("#FE8453"));
    QCOMPARE(ui->widgetIconColor->color(), QStringLiteral("#FFF"));
    QVERIFY(ui->groupBox_Background->isChecked());
    QVERIFY(ui->checkBoxBkgGradient->isChecked());
    QCOMPARE(ui->comboBoxBkgGradient->currentData().toString(), fresh.builtinTemplates.at(7).params.value("bgGradient").toString());
    QVERIFY(ui->checkBoxBkgBorder->isChecked());
    QCOMPARE(ui->spinBoxBkgBorderRadius->value(), 100);
    QCOMPARE(ui->spinBoxBkgBorderWidth->value(), 0);
    QVERIFY(ui->checkBoxBkgShadow->isChecked());
    QCOMPARE(ui->spinBoxBkgShadowY->value(), 5);
    QVERIFY(ui->checkBoxIconShadow->isChecked());
    QVERIFY(ui->checkBoxIconLongShadow->isChecked());
    QCOMPARE(ui->spinBoxIconShadowX->value(), 50);
    QVERIFY(ui->widgetIconShadowColor->color().isEmpty());
    QVERIFY(!ui->checkBoxIconGradient->isChecked());
    QVERIFY(!ui->checkBoxIconStroke->isChecked());
    QCOMPARE(ui->horizontalLayout_ColorSchemes->count(), 6);
    // Keys no control shows ride along; the baseline equals the style.
    QCOMPARE(fresh.styleParams.value("shadowFade"), QVariant(true));
    QCOMPARE(fresh.styleParams.value("addShadow").toString(), QStringLiteral("inset 0.02em 0.05em 0 rgba(0, 0, 0, 0.25)"));
    QCOMPARE(fresh.appliedParams, fresh.styleParams);
    QCOMPARE(fresh.lastBkgColor, QStringLiteral("#FE8453"));
    QVERIFY(!fresh.refreshTimer.isActive());
}

void TestTemplates::pressAppliesTemplate()
{
    press(0);
    QCOMPARE(window->currentTemplate, &window->builtinTemplates[0]);
    QCOMPARE(window->ui->widgetIconColor->color(), QStringLiteral("#5B75A0"));
    QCOMPARE(window->ui->widgetBkgColor->color(), QStringLiteral("transparent"));
    QVERIFY(window->addonLess.isEmpty());
    QCOMPARE(window->styleParams.value("mainColor").toString(), QStringLiteral("icon"));
    QVERIFY(!window->styleParams.contains("bgGradient"));
    QCOMPARE(window->appliedParams, window->styleParams);
    QCOMPARE(window->lastBkgColor, QStringLiteral("transparent"));

    // The colour links cut during the press are back, each once.
    const int before = window->bkgGradients.size();
    press(indexOf(*window, QStringLiteral("Vintage Tiles")));
    QCOMPARE(window->lastBkgColor, QStringLiteral("#E8D9B5"));
    window->ui->widgetBkgColor->setColor(QStringLiteral("#D9C29A"));
    QCOMPARE(window->lastBkgColor, QStringLiteral("#D9C29A"));
    QCOMPARE(window->bkgGradients.size(), before);
}

void TestTemplates::pressAgainRedrawsNoSwatch()
{
    press(7);
    int swatches = 0;
    const auto count = [&swatches](const QModelIndex&, const QModelIndex&, const QVector<int>& roles) {
        if (roles.contains(Qt::DecorationRole))
            ++swatches;
    };
    connect(window->ui->comboBoxBkgGradient->model(), &QAbstractItemModel::dataChanged, this, count);
    PageLoadWaiter preview(window->ui->webView);
    preview.expectLoad();
    press(7);
    QVERIFY(preview.wait()); // the preview is loaded again
    QCOMPARE(swatches, 0);   // but neither colour changed
    disconnect(window->ui->comboBoxBkgGradient->model(), nullptr, this, nullptr);
}

void TestTemplates::iconGradientOfATemplate()
{
    const int row = indexOf(*window, QStringLiteral("iOS 7 Inverse"));
    const QString gradient = window->builtinTemplates.at(row).params.value("gradient").toString();
    QVERIFY(!gradient.isEmpty());
    press(row);
    QVERIFY(window->ui->checkBoxIconGradient->isChecked());
    QCOMPARE(window->ui->comboBoxIconGradient->currentData().toString(), gradient);
    QCOMPARE(window->iconGradients.count(gradient), 1);
    QCOMPARE(window->styleParams.value("gradient").toString(), gradient);
    press(row);
    QCOMPARE(window->iconGradients.count(gradient), 1);
}

void TestTemplates::parsingJson()
{
    MainWindow::CssTemplate tmpl;
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write("{\"color\": \"#FFF\", \"borderRadius\": 100, \"longShadow\": true}");
    file.seek(0);
    window->parsingJson(file, tmpl);
    QCOMPARE(tmpl.params.value("color").toString(), QStringLiteral("#FFF"));
    QCOMPARE(tmpl.params.value("borderRadius").toInt(), 100);
    QCOMPARE(tmpl.params.value("longShadow"), QVariant(true));

    file.resize(0);
    file.write("[1, 2]");
    file.seek(0);
    window->parsingJson(file, tmpl);
    QVERIFY(tmpl.params.isEmpty());
}

void TestTemplates::everyTemplateCompiles_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("fontSize");
    for (int i = 0; i < TEMPLATE_COUNT; ++i) {
        // 100 px is the preview; 256 px the largest icon of an ICO file.
        QTest::newRow(qPrintable(QStringLiteral("%1 100").arg(CATALOGUE[i].alias))) << i << 100;
        QTest::newRow(qPrintable(QStringLiteral("%1 256").arg(CATALOGUE[i].alias))) << i << 256;
    }
}

void TestTemplates::everyTemplateCompiles()
{
    QFETCH(int, row);
    QFETCH(int, fontSize);
    if (window->currentTemplate != &window->builtinTemplates[row])
        press(row);
    const QString problem = compileProblem(fontSize);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestTemplates::transparentBackgroundWithGradientCompiles()
{
    // "Default" has a transparent box; switching a background gradient on
    // names @bgColor, which the page then leaves out instead of failing.
    press(0);
    window->ui->groupBox_Background->setChecked(true);
    window->ui->checkBoxBkgGradient->setChecked(true);
    window->ui->comboBoxBkgGradient->setCurrentIndex(1);
    window->GenerateUserParams();
    QVERIFY(window->styleParams.value("bgGradient").toString().contains(QLatin1String("@bgColor")));
    QCOMPARE(window->styleParams.value("bgColor").toString(), QStringLiteral("transparent"));
    const QString problem = compileProblem(100);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

PICTAVO_TEST_MAIN(TestTemplates)

#include "tst_templates.moc"
