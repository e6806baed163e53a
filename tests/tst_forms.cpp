#include "testsupport.h"

#include "ui_mainwindow.h"
#include "ui_savedialog.h"

#include <QIcon>
#include <QImageReader>

class TestForms : public QObject {
    Q_OBJECT
private slots:
    void picturesLoadAtTheirSizes_data();
    void picturesLoadAtTheirSizes();
    void previewBackgroundTile();
    void windowIconHasSeveralSizes();
    void styleGridsPlaceEveryControl();
    void mainWindowProperties();
    void saveDialogStartsAsDesigned();
};

void TestForms::picturesLoadAtTheirSizes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    const QList<QPair<const char*, int>> pictures = {
        {":/add_24.png", 24},     {":/remove_24.png", 24},  {":/close_24.png", 24},
        {":/close_16.png", 16},   {":/apply_48.png", 48},   {":/preview_48.png", 48},
        {":/style_48.png", 48},   {":/plus_48.png", 48},    {":/down_48.png", 48},
        {":/pic/Checked.png", 16}, {":/pic/Unchecked.png", 16}};
    for (const auto& picture : pictures)
        QTest::newRow(picture.first) << QString::fromLatin1(picture.first) << picture.second;
}

void TestForms::picturesLoadAtTheirSizes()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    const QImage image(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
    // Round artwork: clear corners, opaque middle.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

void TestForms::previewBackgroundTile()
{
    QImageReader reader(QStringLiteral(":/scripts/bg.png"));
    const QImage image = reader.read();
    QCOMPARE(image.size(), QSize(16, 16));
    QVERIFY(!image.hasAlphaChannel());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            QCOMPARE(image.pixel(x, y), ((x < 8) == (y < 8)) ? qRgb(0x66, 0x66, 0x66) : qRgb(0x99, 0x99, 0x99));
}

void TestForms::windowIconHasSeveralSizes()
{
    QMainWindow host;
    Ui_MainWindow form;
    form.setupUi(&host);
    const QList<QSize> sizes = host.windowIcon().availableSizes();
    for (const QSize& size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
        QVERIFY2(sizes.contains(size), qPrintable(QString::number(size.width())));
    const QImage image = host.windowIcon().pixmap(48, 48).toImage();
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(24, 4)), 255);
}

void TestForms::styleGridsPlaceEveryControl()
{
    QMainWindow host;
    Ui_MainWindow form;
    form.setupUi(&host);
    struct Cell {
        QGridLayout* grid;
        QWidget* widget;
        int row, column, span;
    };
    const QList<Cell> cells = {
        {form.gridLayout_6, form.labelIconColorText, 0, 0, 2},
        {form.gridLayout_6, form.widgetIconColor, 0, 2, 2},
        {form.gridLayout_6, form.spinBoxIconOpacity, 2, 2, 2},
        {form.gridLayout_6, form.spinBoxIconShadowY, 4, 3, 1},
        {form.gridLayout_6, form.checkBoxIconLongShadow, 5, 2, 2},
        {form.gridLayout_6, form.labelIconOffsetText, 6, 0, 4},
        {form.gridLayout_6, form.spinBoxIconScale, 8, 3, 1},
        {form.gridLayout_6, form.labelIconStrokeWidthText, 10, 1, 1},
        {form.gridLayout_6, form.spinBoxIconStrokeWidth, 10, 2, 2},
        {form.gridLayout_4, form.comboBoxBkgGradient, 1, 2, 2},
        {form.gridLayout_4, form.labelBkgShadowXText, 4, 0, 1},
        {form.gridLayout_4, form.widgetBkgBorderColor, 6, 2, 2},
        {form.gridLayout_4, form.labelBkgBorderRadiusText, 8, 0, 2},
        {form.gridLayout_4, form.spinBoxBkgRotate, 9, 1, 3},
        {form.gridLayout_5, form.webView, 0, 0, 5},
        {form.gridLayout_5, form.pushButton_SaveImages, 5, 1, 2},
    };
    for (const Cell& cell : cells) {
        const int index = cell.grid->indexOf(cell.widget);
        QVERIFY2(index >= 0, qPrintable(cell.widget->objectName()));
        int row, column, rowSpan, columnSpan;
        cell.grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(QList<int>({row, column, columnSpan}), QList<int>({cell.row, cell.column, cell.span}));
    }
    QCOMPARE(form.gridLayout_6->rowCount(), 11);
    QCOMPARE(form.gridLayout_4->rowCount(), 10);
    QCOMPARE(form.gridLayout_4->itemAtPosition(9, 0)->widget()->objectName(), QStringLiteral("labelBkgRotateText"));
}

void TestForms::mainWindowProperties()
{
    QMainWindow host;
    Ui_MainWindow form;
    form.setupUi(&host);
    QCOMPARE(host.objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(host.locale(), QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(form.spinBoxIconOpacity->locale(), QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(form.groupBox_fonts->font().family(), QStringLiteral("Lato Black"));
    QCOMPARE(form.groupBox_fonts->font().pointSize(), 16);
    QVERIFY(form.groupBox_fonts->font().bold());
    QCOMPARE(form.comboBoxBkgGradient->font().pointSize(), 22);
    QVERIFY(form.groupBox_AddStyle->styleSheet().contains(
        QStringLiteral("\tsubcontrol-position: top center; \n }\n#groupBox_AddStyle::indicator{\n\timage:url(:/style_48.png);")));
    QVERIFY(form.groupBox_fonts->styleSheet().contains(QStringLiteral(":/remove_24.png")));
    QCOMPARE(form.comboBoxBkgGradient->styleSheet(), QStringLiteral("QComboBox::item {\n\tmin-height: 50px;\n}"));
    QCOMPARE(form.webView->url(), QUrl(QStringLiteral("about:blank")));
    QCOMPARE(form.listWidget_UserTemplates->flow(), QListView::TopToBottom);
    QCOMPARE(form.listWidget_UserTemplates->maximumHeight(), 100);
    QCOMPARE(form.listWidget_Templates->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(form.scrollArea_SelectedIcons->minimumHeight(), 60);
    QCOMPARE(form.spinBoxIconScale->prefix(), QString());
    QCOMPARE(form.spinBoxBkgShadowX->value(), 0);
    QCOMPARE(form.spinBoxIconShadowX->value(), 2);
}

void TestForms::saveDialogStartsAsDesigned()
{
    QDialog dialog;
    Ui_SaveDialog form;
    form.setupUi(&dialog);
    const QList<QCheckBox*> boxes = {form.checkBox_Size14, form.checkBox_Size16, form.checkBox_Size24,
                                     form.checkBox_Size32, form.checkBox_Size48, form.checkBox_Size64,
                                     form.checkBox_Size128, form.checkBox_Size256, form.checkBox_Size512,
                                     form.checkBox_Size1024};
    QStringList texts;
    for (QCheckBox* box : boxes) {
        texts << box->text();
        QCOMPARE(box->isChecked(), box == form.checkBox_Size32);
    }
    QCOMPARE(texts.join(QLatin1Char(',')), QStringLiteral("14,16,24,32,48,64,128,256,512,1024"));
    QVERIFY(!form.checkBox_CustomSize->isChecked());
    QVERIFY(!form.spinBox_CustomSize->isEnabled());
    QVERIFY(!form.label->isEnabled());
    QCOMPARE(form.spinBox_CustomSize->value(), 10);
    form.spinBox_CustomSize->setValue(0);
    QCOMPARE(form.spinBox_CustomSize->value(), 1);
    form.spinBox_CustomSize->setValue(100000000);
    QCOMPARE(form.spinBox_CustomSize->value(), 99999999);

    QStringList formats;
    for (int i = 0; i < form.comboBox_Formats->count(); ++i)
        formats << form.comboBox_Formats->itemText(i);
    QCOMPARE(formats, QStringList({"png", "jpg", "bmp", "ico"}));
    QCOMPARE(form.comboBox_Formats->currentIndex(), 0);
    QCOMPARE(form.comboBox_Dirs->currentIndex(), -1);
    QVERIFY(form.comboBox_Dirs->isEditable());

    QVERIFY(form.pushButton_SaveImages->isDefault());
    QVERIFY(!form.pushButton_SaveImages->autoDefault());
    QVERIFY(form.pushButton_SaveImages->isEnabled());
    QCOMPARE(form.pushButton_SaveImages->text(), QStringLiteral("Save Icons"));
    QVERIFY(!form.pushButton_Change->isDefault());
    QVERIFY(!form.pushButton_Change->autoDefault());
    QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
    QCOMPARE(form.verticalLayout_2->stretch(0), 3);
    QCOMPARE(form.horizontalLayout_2->stretch(1), 11);

    // Focus order: Save, format, folder button, folder list.
    QCOMPARE(form.pushButton_SaveImages->nextInFocusChain(), static_cast<QWidget*>(form.comboBox_Formats));
    QCOMPARE(form.comboBox_Formats->nextInFocusChain(), static_cast<QWidget*>(form.pushButton_Change));
    QCOMPARE(form.pushButton_Change->nextInFocusChain(), static_cast<QWidget*>(form.comboBox_Dirs));
}

PICTAVO_TEST_MAIN(TestForms)

#include "tst_forms.moc"
