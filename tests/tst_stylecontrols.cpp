// The style controls and the parameter map: applying a map to the controls,
// reading the controls back, the enable slots and the colour-scheme swatches.
#include "testsupport.h"

#include "mainwindow.h"
#include "qlabelex.h"
#include "qwebcolorpicker.h"
#include "ui_mainwindow.h"

#include <QLineEdit>

#include <memory>

namespace {

const QStringList BACKGROUND_KEYS = {"bgGradient", "bgColor", "bgOpacity", "bgShadowColor", "bgShadowX", "bgShadowY",
                                     "bgShadowBlur", "bgLongShadow", "borderColor", "borderWidth", "borderRadius",
                                     "bgAngle"};

QString entry(const QString& key, const QString& value)
{
    return QStringLiteral("\n@") + key + QStringLiteral(" :") + value + QStringLiteral(";\n");
}

}

class TestStyleControls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void resetGivesDefaultsAndSevenEntries();
    void opacityRoundTripsEveryPercent();
    void valuesConvertThroughText();
    void strokeRule();
    void colorSchemeSwatches();
    void swatchClickFollowsMainColor();
    void checkBoxesDriveMapAndEnabledState();
    void backgroundOffDropsBackgroundKeys();
    void typedColourAndSpinValuesReachTheBlock();
    void extraKeysAreCarriedInKeyOrder();
    void emptyShadowColour();
    void gradientSelection();
    void applyingSurvivesReloadOfTheSourceMap();

private:
    // Applies a map as a template press does: the swatch re-render slots of the
    // two main pickers are detached around it.
    void apply(const QVariantMap& params, const QString& addon = QString());
    void applyMap(QVariantMap& params, const QString& addon);
    QStringList swatchColours() const;

    std::unique_ptr<MainWindow> window;
    Ui_MainWindow* ui = nullptr;
};

void TestStyleControls::initTestCase()
{
    window.reset(new MainWindow);
    ui = window->ui;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    ui->tabWidget->setCurrentIndex(0);
}

void TestStyleControls::init()
{
    apply(QVariantMap());
    QVERIFY(window->refreshEnabled);
}

void TestStyleControls::cleanupTestCase()
{
    window.reset();
}

void TestStyleControls::apply(const QVariantMap& params, const QString& addon)
{
    QVariantMap copy = params;
    applyMap(copy, addon);
}

void TestStyleControls::applyMap(QVariantMap& params, const QString& addon)
{
    disconnect(ui->widgetBkgColor, SIGNAL(changeColor(QString)), window.get(), SLOT(changedBkgColor()));
    disconnect(ui->widgetIconColor, SIGNAL(changeColor(QString)), window.get(), SLOT(changedIconColor()));
    window->ApplyCssPropertysToWidgets(params, addon);
    connect(ui->widgetBkgColor, SIGNAL(changeColor(QString)), window.get(), SLOT(changedBkgColor()));
    connect(ui->widgetIconColor, SIGNAL(changeColor(QString)), window.get(), SLOT(changedIconColor()));
}

QStringList TestStyleControls::swatchColours() const
{
    QStringList colours;
    for (int i = 0; i < ui->horizontalLayout_ColorSchemes->count(); ++i)
        colours << ui->horizontalLayout_ColorSchemes->itemAt(i)->widget()->property("SpecField").toString();
    return colours;
}

void TestStyleControls::resetGivesDefaultsAndSevenEntries()
{
    // Leave every control off its default first.
    apply({{"bgColor", "#123456"}, {"borderWidth", 9}, {"shadowColor", "#abcdef"}, {"opacity", 0.3},
           {"strokeColor", "#00FF00"}, {"strokeWidth", 7}, {"scale", 40}, {"longShadow", true}});
    QVERIFY(ui->checkBoxIconStroke->isChecked());
    window->resetTemplate();

    QCOMPARE(ui->widgetBkgColor->color(), QStringLiteral("#FFFFFF"));
    QCOMPARE(ui->widgetIconShadowColor->color(), QStringLiteral("#555555"));
    QCOMPARE(ui->widgetIconStrokeColor->color(), QStringLiteral("#FFFFFF"));
    for (QCheckBox* box : {ui->checkBoxBkgBorder, ui->checkBoxBkgGradient, ui->checkBoxBkgShadow, ui->checkBoxIconGradient,
                           ui->checkBoxIconShadow, ui->checkBoxIconStroke, ui->checkBoxIconLongShadow})
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    QVERIFY(!ui->groupBox_Background->isChecked());
    QCOMPARE(ui->spinBoxIconOpacity->value(), 100);
    QCOMPARE(ui->spinBoxBkgOpacity->value(), 100);
    QCOMPARE(ui->spinBoxIconStrokeWidth->value(), 4);
    QCOMPARE(ui->spinBoxBkgBorderWidth->value(), 2);
    QCOMPARE(ui->spinBoxIconScale->value(), 0);
    QVERIFY(!ui->spinBoxIconStrokeWidth->isEnabled());
    QVERIFY(!ui->widgetIconShadowColor->isEnabled());

    window->styleParams.clear();
    window->GenerateUserParams();
    const QString family = window->currentFont.family();
    QCOMPARE(window->styleParams.keys(), QStringList({"angle", "color", "fontFamily", "moveX", "moveY", "opacity", "scale"}));
    QCOMPARE(window->userParamsLess, entry("angle", "0") + entry("color", "#000000") + entry("fontFamily", family)
                 + entry("moveX", "0") + entry("moveY", "0") + entry("opacity", "1") + entry("scale", "0"));
}

void TestStyleControls::opacityRoundTripsEveryPercent()
{
    // A saved style applied again must come back as it was on both sides.
    for (int percent = 0; percent <= 100; ++percent) {
        apply({{"opacity", percent / 100.0}, {"bgOpacity", percent / 100.0}});
        QCOMPARE(ui->spinBoxIconOpacity->value(), percent);
        QCOMPARE(ui->spinBoxBkgOpacity->value(), percent);
    }
    apply({{"opacity", 0.57}, {"bgOpacity", "0.57"}});
    QCOMPARE(ui->spinBoxIconOpacity->value(), 57);
    QCOMPARE(ui->spinBoxBkgOpacity->value(), 57);
    window->GenerateUserParams();
    QCOMPARE(window->styleParams.value("opacity").toDouble(), 0.57);
    QCOMPARE(window->styleParams.value("bgOpacity").toDouble(), 0.57);
    QVERIFY(window->userParamsLess.contains(entry("opacity", "0.57")));
    QVERIFY(window->userParamsLess.contains(entry("bgOpacity", "0.57")));

    // Out of range or not a number: clamped, or 0.
    apply({{"opacity", 1e300}, {"bgOpacity", "nan"}});
    QCOMPARE(ui->spinBoxIconOpacity->value(), 100);
    QCOMPARE(ui->spinBoxBkgOpacity->value(), 0);
}

void TestStyleControls::valuesConvertThroughText()
{
    apply({{"scale", 2.9}, {"shadowBlur", true}, {"longShadow", true}});
    QCOMPARE(ui->spinBoxIconScale->value(), 2);
    QCOMPARE(ui->spinBoxIconShadowBlur->value(), 0);
    QVERIFY(ui->checkBoxIconShadow->isChecked());
    QVERIFY(ui->checkBoxIconLongShadow->isChecked());

    apply({{"scale", "-2.9"}, {"longShadow", "true"}});
    QCOMPARE(ui->spinBoxIconScale->value(), -2);
    QVERIFY(ui->checkBoxIconLongShadow->isChecked());
    QVERIFY(!ui->checkBoxIconShadow->isChecked()); // the long shadow alone switches nothing on

    apply({{"longShadow", "True"}, {"bgLongShadow", "true"}});
    QVERIFY(!ui->checkBoxIconLongShadow->isChecked());
    QVERIFY(ui->checkBoxBkgLongShadow->isChecked());
    QVERIFY(!ui->groupBox_Background->isChecked());

    apply({{"shadowX", 150}, {"shadowY", "2.5"}, {"moveX", "-7"}, {"angle", -400}, {"scale", "1e30"}});
    QCOMPARE(ui->spinBoxIconShadowX->value(), 100);
    QCOMPARE(ui->spinBoxIconShadowY->value(), 0);
    QCOMPARE(ui->spinBoxIconOffsetX->value(), -7);
    QCOMPARE(ui->spinBoxIconRotate->value(), -360);
    QCOMPARE(ui->spinBoxIconScale->value(), 100);
    window->GenerateUserParams();
    QCOMPARE(window->styleParams.value("shadowX"), QVariant(100));
    QCOMPARE(window->styleParams.value("angle"), QVariant(-360));
}

void TestStyleControls::strokeRule()
{
    apply({{"strokeColor", "#FF0000"}});
    QVERIFY(ui->checkBoxIconStroke->isChecked());
    QCOMPARE(ui->spinBoxIconStrokeWidth->value(), 4);
    QVERIFY(ui->spinBoxIconStrokeWidth->isEnabled());

    apply({{"strokeColor", "transparent"}, {"strokeWidth", 5}});
    QVERIFY(!ui->checkBoxIconStroke->isChecked());
    QVERIFY(!ui->spinBoxIconStrokeWidth->isEnabled());

    apply({{"strokeWidth", 0}});
    QVERIFY(!ui->checkBoxIconStroke->isChecked());
    window->GenerateUserParams();
    QVERIFY(!window->styleParams.contains("strokeWidth"));
    QVERIFY(!window->styleParams.contains("strokeColor"));
}

void TestStyleControls::colorSchemeSwatches()
{
    apply({{"colorSchemes", "#aabbcc, #112233"}});
    QCOMPARE(swatchColours(), QStringList({"#112233", "#AABBCC"}));
    QPointer<QLabelEx> swatch = qobject_cast<QLabelEx*>(ui->horizontalLayout_ColorSchemes->itemAt(0)->widget());
    QVERIFY(swatch);
    QCOMPARE(swatch->styleSheet(), QStringLiteral("background-color:#112233"));
    QCOMPARE(swatch->minimumSize(), QSize(20, 20));
    QCOMPARE(swatch->maximumSize(), QSize(20, 20));
    QCOMPARE(swatch->cursor().shape(), Qt::PointingHandCursor);

    apply({{"colorSchemes", "#aabbcc,#112233"}});
    QCOMPARE(swatchColours(), QStringList({"#AABBCC,#112233"}));
    apply({{"colorSchemes", ""}});
    QCOMPARE(swatchColours(), QStringList({QString()}));
    apply({{"color", "#000"}});
    QCOMPARE(ui->horizontalLayout_ColorSchemes->count(), 0);

    // The replaced swatches go away once control returns to the event loop.
    QTRY_VERIFY(swatch.isNull());
}

void TestStyleControls::swatchClickFollowsMainColor()
{
    const auto clickFirstSwatch = [this] {
        QWidget* swatch = ui->horizontalLayout_ColorSchemes->itemAt(0)->widget();
        QTest::mouseClick(swatch, Qt::LeftButton);
    };

    apply({{"colorSchemes", "#ff0000, #00ff00"}});
    clickFirstSwatch();
    QCOMPARE(ui->widgetBkgColor->color(), QStringLiteral("#00FF00"));
    QVERIFY(!window->styleParams.contains("mainColor"));
    window->GenerateUserParams();
    QVERIFY(!window->styleParams.contains("bgColor")); // the background is off

    apply({{"colorSchemes", "#ff0000, #00ff00"}, {"mainColor", "icon"}});
    clickFirstSwatch();
    QCOMPARE(ui->widgetIconColor->color(), QStringLiteral("#00FF00"));

    apply({{"colorSchemes", "#ff0000, #00ff00"}, {"mainColor", "stroke"}, {"strokeColor", "#000000"}});
    clickFirstSwatch();
    QCOMPARE(ui->widgetIconStrokeColor->color(), QStringLiteral("#00FF00"));
    window->GenerateUserParams();
    QCOMPARE(window->styleParams.value("strokeColor").toString(), QStringLiteral("#00FF00"));
    QVERIFY(window->userParamsLess.contains(entry("mainColor", "stroke")));
}

void TestStyleControls::checkBoxesDriveMapAndEnabledState()
{
    struct Part {
        QCheckBox* box;
        QList<QWidget*> dependants;
        QStringList keys;
    };
    ui->groupBox_Background->setChecked(true);
    const QList<Part> parts = {
        {ui->checkBoxIconShadow,
         {ui->widgetIconShadowColor, ui->labelIconShadowXText, ui->labelIconShadowY, ui->labelIconShadowBlurText,
          ui->spinBoxIconShadowX, ui->spinBoxIconShadowY, ui->spinBoxIconShadowBlur, ui->checkBoxIconLongShadow},
         {"shadowColor", "shadowX", "shadowY", "shadowBlur", "longShadow"}},
        {ui->checkBoxIconStroke,
         {ui->widgetIconStrokeColor, ui->labelIconStrokeWidthText, ui->spinBoxIconStrokeWidth},
         {"strokeColor", "strokeWidth"}},
        {ui->checkBoxIconGradient, {ui->comboBoxIconGradient}, {"gradient"}},
        {ui->checkBoxBkgShadow,
         {ui->widgetBkgShadowColor, ui->labelBkgShadowXText, ui->labelBkgShadowY, ui->labelBkgShadowBlurText,
          ui->spinBoxBkgShadowX, ui->spinBoxBkgShadowY, ui->spinBoxBkgShadowBlur, ui->checkBoxBkgLongShadow},
         {"bgShadowColor", "bgShadowX", "bgShadowY", "bgShadowBlur", "bgLongShadow"}},
        {ui->checkBoxBkgBorder,
         {ui->widgetBkgBorderColor, ui->labelBkgBorderRadiusText, ui->labelBkgBorderWidthText,
          ui->spinBoxBkgBorderRadius, ui->spinBoxBkgBorderWidth},
         {"borderColor", "borderWidth", "borderRadius"}},
        {ui->checkBoxBkgGradient, {ui->comboBoxBkgGradient}, {"bgGradient"}},
    };
    for (const Part& part : parts) {
        ui->tabWidget->setCurrentWidget(ui->tab_Icon->isAncestorOf(part.box) ? ui->tab_Icon : ui->tab_Background);
        for (bool on : {true, false}) {
            QTest::mouseClick(part.box, Qt::LeftButton);
            QCOMPARE(part.box->isChecked(), on);
            for (QWidget* w : part.dependants)
                QVERIFY2(w->isEnabled() == on, qPrintable(part.box->objectName() + " " + w->objectName()));
            window->GenerateUserParams();
            for (const QString& key : part.keys)
                QVERIFY2(window->styleParams.contains(key) == on, qPrintable(key));
        }
    }
    // A click also schedules a refresh.
    QTest::mouseClick(ui->checkBoxBkgBorder, Qt::LeftButton);
    QVERIFY(window->refreshTimer.isActive());
}

void TestStyleControls::backgroundOffDropsBackgroundKeys()
{
    apply({{"bgColor", "#123456"}, {"bgShadowX", 3}, {"borderColor", "#111111"}, {"bgAngle", 45}});
    QVERIFY(ui->groupBox_Background->isChecked());
    QVERIFY(ui->checkBoxBkgShadow->isChecked());
    QVERIFY(ui->checkBoxBkgBorder->isChecked());
    window->GenerateUserParams();
    QCOMPARE(window->styleParams.value("bgAngle"), QVariant(45));
    QVERIFY(window->userParamsLess.contains(entry("bgColor", "#123456")));

    ui->tabWidget->setCurrentWidget(ui->tab_Background);
    ui->groupBox_Background->setChecked(false);
    window->GenerateUserParams();
    for (const QString& key : BACKGROUND_KEYS) {
        QVERIFY2(!window->styleParams.contains(key), qPrintable(key));
        QVERIFY2(!window->userParamsLess.contains("@" + key + " :"), qPrintable(key));
    }
    QVERIFY(ui->checkBoxBkgShadow->isChecked()); // the tab still shows it
}

void TestStyleControls::typedColourAndSpinValuesReachTheBlock()
{
    ui->tabWidget->setCurrentWidget(ui->tab_Icon);
    QLineEdit* edit = ui->widgetIconColor->findChild<QLineEdit*>();
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "#3366CC");
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(window->refreshTimer.isActive());

    ui->spinBoxIconRotate->setFocus();
    ui->spinBoxIconRotate->setValue(10);
    QTest::keyClick(ui->spinBoxIconRotate, Qt::Key_Up);
    ui->spinBoxIconOffsetY->setValue(-12);
    window->GenerateUserParams();
    QCOMPARE(window->styleParams.value("color").toString(), QStringLiteral("#3366CC"));
    QCOMPARE(window->styleParams.value("angle"), QVariant(11));
    QVERIFY(window->userParamsLess.contains(entry("color", "#3366CC") + entry("fontFamily", window->currentFont.family())));
    QVERIFY(window->userParamsLess.contains(entry("moveY", "-12")));
}

void TestStyleControls::extraKeysAreCarriedInKeyOrder()
{
    apply({{"shadowFade", true}, {"color", "#010203"}, {"addShadow", "0 1px 0 #fff"}, {"bgColor", "#FFF"}},
          QStringLiteral("@x: 1;"));
    QCOMPARE(window->addonLess, QStringLiteral("@x: 1;"));
    QCOMPARE(window->styleParams.keys(), QStringList({"addShadow", "bgColor", "color", "shadowFade"}));
    for (int i = 0; i < 3; ++i) {
        ui->spinBoxIconOffsetX->setValue(i);
        window->GenerateUserParams();
    }
    QCOMPARE(window->styleParams.value("shadowFade"), QVariant(true));

    // Every entry but the gradients, in key order.
    QStringList keys;
    for (const QString& line : window->userParamsLess.split('\n', Qt::SkipEmptyParts))
        keys << line.mid(1, line.indexOf(" :") - 1);
    QStringList expected = window->styleParams.keys();
    expected.removeAll("gradient");
    expected.removeAll("bgGradient");
    QCOMPARE(keys, expected);
    QVERIFY(window->userParamsLess.startsWith(entry("addShadow", "0 1px 0 #fff") + entry("angle", "0")));
    QVERIFY(window->userParamsLess.contains(entry("shadowFade", "true")));
}

void TestStyleControls::emptyShadowColour()
{
    apply({{"shadowColor", ""}});
    QVERIFY(ui->checkBoxIconShadow->isChecked());
    window->GenerateUserParams();
    QVERIFY(window->userParamsLess.contains(entry("shadowColor", "")));
    QVERIFY(window->userParamsLess.contains(entry("longShadow", "false")));
}

void TestStyleControls::gradientSelection()
{
    // A gradient the list already holds twice: the first one, nothing added.
    const QString twice = QStringLiteral("linear-gradient(top, #010101, #020202)");
    for (int i = 0; i < 2; ++i) {
        window->iconGradients.append(twice);
        ui->comboBoxIconGradient->addItem(QString(), twice);
    }
    const int first = window->iconGradients.indexOf(twice);
    const int count = ui->comboBoxIconGradient->count();
    apply({{"gradient", twice}});
    QVERIFY(ui->checkBoxIconGradient->isChecked());
    QVERIFY(ui->comboBoxIconGradient->isEnabled());
    QCOMPARE(ui->comboBoxIconGradient->currentIndex(), first);
    QCOMPARE(ui->comboBoxIconGradient->count(), count);
    window->GenerateUserParams();
    QCOMPARE(window->styleParams.value("gradient").toString(), twice);
    QVERIFY(!window->userParamsLess.contains("@gradient"));

    // A new one is appended through addGradient, on both sides.
    const QString icon = QStringLiteral("linear-gradient(top, @color, #fff)");
    const QString bkg = QStringLiteral("linear-gradient(left, #0a0b0c, #fff)");
    const int iconCount = window->iconGradients.size();
    const int bkgCount = window->bkgGradients.size();
    apply({{"gradient", icon}, {"bgGradient", bkg}, {"color", "#FF0000"}});
    QCOMPARE(window->iconGradients.size(), iconCount + 1);
    QCOMPARE(window->bkgGradients.size(), bkgCount + 1);
    QCOMPARE(ui->comboBoxIconGradient->currentIndex(), iconCount);
    QCOMPARE(ui->comboBoxBkgGradient->currentIndex(), bkgCount);
    QVERIFY(ui->groupBox_Background->isChecked());
    QVERIFY(ui->checkBoxBkgGradient->isChecked());
    window->GenerateUserParams();
    QCOMPARE(window->styleParams.value("gradient").toString(), icon);
    QCOMPARE(window->styleParams.value("bgGradient").toString(), bkg);
    QVERIFY(!window->userParamsLess.contains("Gradient"));

    // Applied again: found, not added.
    apply({{"gradient", icon}});
    QCOMPARE(window->iconGradients.size(), iconCount + 1);
    QCOMPARE(ui->comboBoxIconGradient->currentIndex(), iconCount);
}

void TestStyleControls::applyingSurvivesReloadOfTheSourceMap()
{
    // The map belongs to a template list that a nested action reloads midway.
    MainWindow::CssTemplate tmpl;
    tmpl.params = {{"angle", 5}, {"shadowColor", "#123456"}, {"strokeColor", "#00FF00"}, {"strokeWidth", 6}};
    window->userTemplates.append(tmpl);
    tmpl.params.clear();
    bool reloaded = false;
    const QMetaObject::Connection reload = connect(ui->widgetIconShadowColor, &QWebColorPicker::changeColor, [&] {
        if (!reloaded && ui->checkBoxIconShadow->isChecked()) {
            reloaded = true;
            window->userTemplates.clear();
            window->userTemplates.append(MainWindow::CssTemplate());
        }
    });
    applyMap(window->userTemplates.last().params, QString());
    disconnect(reload);
    window->userTemplates.clear();
    QVERIFY(reloaded);
    QCOMPARE(ui->spinBoxIconRotate->value(), 5);
    QCOMPARE(ui->widgetIconStrokeColor->color(), QStringLiteral("#00FF00"));
    QCOMPARE(ui->spinBoxIconStrokeWidth->value(), 6);
    QCOMPARE(window->styleParams.size(), 4);
}

PICTAVO_TEST_MAIN(TestStyleControls)
#include "tst_stylecontrols.moc"
