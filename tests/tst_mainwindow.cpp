#include "testsupport.h"

#include "folders.h"
#include "mainwindow.h"
#include "qwebcolorpicker.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QStandardPaths>
#include <QWebFrame>

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void constructionAndTitle();
    void formStartsAsDesigned();
    void panesStayChecked();
    void spinBoxRanges();
    void defaultParameters();
    void dataFolderCreated();

private:
    QString dataFolder;
};

void TestMainWindow::initTestCase()
{
    dataFolder = getApplicationSettingsPath();
    QVERIFY(!dataFolder.isEmpty());
    QVERIFY(dataFolder.startsWith(QDir::homePath()) || dataFolder.contains(QStringLiteral("test-home")));
    QVERIFY(!QFileInfo::exists(dataFolder));
}

void TestMainWindow::constructionAndTitle()
{
    MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Pictavo 2.9"));
    QVERIFY(window.ui->pushButton_AddFont->isHidden());
    QCOMPARE(window.ui->scrollArea_SelectedIcons->widget(), static_cast<QWidget*>(window.selectedIconsBox));
    QCOMPARE(window.currentSymbol, QString::fromUcs4(&window.currentSymbol.toUcs4()[0], 1));
    QCOMPARE(window.currentSymbol.toUcs4().value(0), 0xF015u);
    QCOMPARE(window.currentFont.family(), QStringLiteral("FontAwesome"));
    QCOMPARE(window.currentFont.pixelSize(), 50);
    QVERIFY(window.defaultSymbolInUse);
    QVERIFY(!window.saveDialog);
    QVERIFY(window.ui->webView->settings()->testAttribute(QWebSettings::JavascriptEnabled));
    QCOMPARE(window.ui->webView->page()->mainFrame()->scrollBarPolicy(Qt::Vertical), Qt::ScrollBarAlwaysOff);
    QCOMPARE(window.ui->webView->contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(window.refreshTimer.isSingleShot());
    QVERIFY(window.refreshEnabled);
    QVERIFY(window.maketHtml.contains(QStringLiteral("@less")));
    QVERIFY(!window.defaultLess.isEmpty());
    QVERIFY(!window.engineLess.isEmpty());
    QCOMPARE(window.ui->pushButton_SaveImages->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(window.ui->widgetBkgColor->color().isEmpty(), false);
    const QList<int> sizes = window.ui->splitter->sizes();
    QCOMPARE(sizes.size(), 3);
}

void TestMainWindow::formStartsAsDesigned()
{
    QMainWindow host;
    Ui_MainWindow form;
    form.setupUi(&host);
    QCOMPARE(form.tabWidget->currentIndex(), 1);
    QVERIFY(form.groupBox_Background->isChecked());
    QVERIFY(!form.pushButton_SaveImages->isEnabled());
    QCOMPARE(form.pushButton_SaveImages->text(), QStringLiteral("Save Icon "));
    QCOMPARE(form.verticalLayout_Fonts->count(), 2);
    for (QWidget* w : {static_cast<QWidget*>(form.comboBoxIconGradient), static_cast<QWidget*>(form.widgetIconShadowColor),
                       static_cast<QWidget*>(form.spinBoxIconShadowX), static_cast<QWidget*>(form.checkBoxIconLongShadow),
                       static_cast<QWidget*>(form.widgetIconStrokeColor), static_cast<QWidget*>(form.spinBoxIconStrokeWidth),
                       static_cast<QWidget*>(form.comboBoxBkgGradient), static_cast<QWidget*>(form.checkBoxBkgLongShadow),
                       static_cast<QWidget*>(form.widgetBkgBorderColor), static_cast<QWidget*>(form.spinBoxBkgBorderRadius)})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QCOMPARE(host.findChildren<QWebColorPicker*>().size(), 6);
    QCOMPARE(form.groupBox_Preview->title(), QStringLiteral("Preview && Save"));
    QCOMPARE(form.spinBoxIconRotate->suffix(), QString(QChar(0x00B0)));
    QCOMPARE(form.label_SeelctedIcons->text(), QStringLiteral("Selected Icons:"));
}

void TestMainWindow::panesStayChecked()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QPair<QGroupBox*, QWidget*>> panes = {{window.ui->groupBox_fonts, nullptr},
                                                      {window.ui->groupBox_Preview, window.ui->webView},
                                                      {window.ui->groupBox_AddStyle, window.ui->tabWidget}};
    for (const auto& pane : panes) {
        pane.first->setFocus();
        QTest::keyClick(pane.first, Qt::Key_Space);
        QVERIFY2(pane.first->isChecked(), qPrintable(pane.first->objectName()));
        if (pane.second)
            QVERIFY(pane.second->isEnabled());
    }
}

void TestMainWindow::spinBoxRanges()
{
    MainWindow window;
    window.ui->spinBoxIconOpacity->setValue(150);
    QCOMPARE(window.ui->spinBoxIconOpacity->value(), 100);
    window.ui->spinBoxIconRotate->setValue(-400);
    QCOMPARE(window.ui->spinBoxIconRotate->value(), -360);
    window.ui->spinBoxIconRotate->setValue(400);
    QCOMPARE(window.ui->spinBoxIconRotate->value(), 360);
}

void TestMainWindow::defaultParameters()
{
    MainWindow window;
    QCOMPARE(window.defaultParams.size(), 24);
    for (const char* absent : {"gradient", "bgGradient", "mainColor", "colorSchemes", "fontFamily"})
        QVERIFY(!window.defaultParams.contains(QLatin1String(absent)));
    QCOMPARE(window.defaultParams.value(QStringLiteral("strokeWidth")).toInt(), 4);
    QCOMPARE(window.defaultParams.value(QStringLiteral("shadowColor")).toString(), QStringLiteral("#555555"));
    QCOMPARE(window.defaultParams.value(QStringLiteral("opacity")).type(), QVariant::Int);
}

void TestMainWindow::dataFolderCreated()
{
    MainWindow window;
    QVERIFY(QFileInfo(dataFolder).isDir());
}

PICTAVO_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
