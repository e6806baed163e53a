// Offscreen rendering, icon sizing and the export of icon files.

#include "testsupport.h"

#include "constants.h"
#include "exportsupport.h"
#include "folders.h"
#include "mainwindow.h"
#include "pageloadwaiter.h"
#include "qicohandler/qicohandler.h"
#include "savedialog.h"
#include "ui_mainwindow.h"
#include "ui_savedialog.h"

#include <QDir>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>

#include <unistd.h>

namespace {

const QString OrangeBox = QStringLiteral("#FE8453");

// The LESS variable block the style controls would write for this map.
QString lessBlock(const QVariantMap& params)
{
    QString block;
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        if (it.key() == QLatin1String("gradient") || it.key() == QLatin1String("bgGradient"))
            continue;
        block += QStringLiteral("\n@") + it.key() + QStringLiteral(" :") + it.value().toString() + QStringLiteral(";\n");
    }
    return block;
}

// The style with every control at rest.
QVariantMap restingStyle()
{
    return {{"angle", 0}, {"color", "#000000"}, {"fontFamily", "FontAwesome"}, {"moveX", 0},
            {"moveY", 0}, {"opacity", 1.0}, {"scale", 0}};
}

// A white glyph on a round orange box.
QVariantMap roundBox()
{
    QVariantMap style = restingStyle();
    style.insert("color", "#FFFFFF");
    style.insert("bgColor", OrangeBox);
    style.insert("bgOpacity", 1.0);
    style.insert("bgAngle", 0);
    style.insert("borderColor", OrangeBox);
    style.insert("borderWidth", 0);
    style.insert("borderRadius", 100);
    return style;
}

QPushButton* selectGlyph(MainWindow& window, uint code, const QString& family)
{
    auto* button = new QPushButton(QString::fromUcs4(&code, 1));
    QFont font(family);
    font.setPixelSize(30);
    button->setFont(font);
    window.selectedIconsLayout->insertWidget(0, button);
    window.defaultSymbolInUse = false;
    return button;
}

QStringList filesIn(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort();
    return names;
}

bool near(QRgb a, QRgb b, int tolerance = 8)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance && qAbs(qAlpha(a) - qAlpha(b)) <= tolerance;
}

// Opaque pixels of the middle row: the box's width.
int opaqueRun(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int x = 0; x < argb.width(); ++x)
        count += qAlpha(argb.pixel(x, argb.height() / 2)) > 127 ? 1 : 0;
    return count;
}

quint16 u16(const QByteArray& data, int at)
{
    return quint16(quint8(data[at]) | quint8(data[at + 1]) << 8);
}

quint32 u32(const QByteArray& data, int at)
{
    return quint32(u16(data, at)) | quint32(u16(data, at + 2)) << 16;
}

}

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void measuring_data();
    void measuring();
    void fontSizeFollowsTheBox();
    void backgrounds_data();
    void backgrounds();
    void swappedGlyphMatchesFreshPage();

    void fullExport_data();
    void fullExport();
    void defaultGlyph();
    void saveButtonRunsTheDialog();
    void progressAndBlockedInput();

    void failedLoadIsReported();
    void hangingLoadIsBounded();
    void uncompiledStyleIsReported();
    void oversizedRefused();
    void unusableFolders();
    void folderVanishingMidway();
    void icoWrittenWholeOrNotAtAll();
    void fileNamesStayInTheFolder();

private:
    void applyStyle(const QVariantMap& style);
    void exportTo(const QList<int>& sizes, const QString& format, const QString& folder);

    MainWindow* window = nullptr;
    QStringList warnings;
    QTemporaryDir* out = nullptr;
};

void TestExport::init()
{
    window = new MainWindow;
    window->refreshEnabled = false;
    window->refreshTimer.stop();
    warnings.clear();
    exportsupport::setWarningHandler([this](QWidget*, const QString& text) { warnings << text; });
    out = new QTemporaryDir;
    QVERIFY(out->isValid());
    removeDir(getApplicationSettingsPath() + QDir::separator() + USER_TEMPLATES_DIR);
}

void TestExport::cleanup()
{
    exportsupport::setWarningHandler(nullptr);
    exportsupport::setPageLoadTimeoutMs(30000);
    delete window;
    window = nullptr;
    delete out;
    out = nullptr;
}

void TestExport::applyStyle(const QVariantMap& style)
{
    window->styleParams = style;
    window->userParamsLess = lessBlock(style);
    PageLoadWaiter waiter(window->ui->webView);
    waiter.expectLoad();
    window->ReplaceLess(window->currentSymbol, style.value("fontFamily").toString(), window->ui->webView, 0);
    QVERIFY(waiter.wait());
}

void TestExport::exportTo(const QList<int>& sizes, const QString& format, const QString& folder)
{
    QList<int> chosen = sizes;
    window->SaveImages(chosen, format, folder);
}

void TestExport::measuring_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<int>("border");
    QTest::addColumn<QList<int>>("shadow");
    QTest::addColumn<QSize>("measured");

    const QVariantMap rest = restingStyle();
    QTest::newRow("defaults") << rest << 0 << QList<int>() << QSize(140, 140);
    for (int angle : {45, -45, 90, -90, 360, 405}) {
        QVariantMap rotated = rest;
        rotated.insert("bgAngle", angle);
        // Turned by a right angle the box loses a pixel to the single-precision angle.
        const int side = qAbs(angle % 90) == 45 ? 196 : qAbs(angle % 180) == 90 ? 139 : 140;
        QTest::newRow(qPrintable(QStringLiteral("rotated %1").arg(angle))) << rotated << 0 << QList<int>()
                                                                           << QSize(side, side);
    }
    QVariantMap bordered = rest;
    bordered.insert("borderWidth", 2);
    bordered.insert("borderColor", "#000000");
    QTest::newRow("border 2") << bordered << 2 << QList<int>() << QSize(148, 148);
    QTest::newRow("shadow -6 4 5") << rest << 0 << QList<int>({-6, 4, 5}) << QSize(148, 146);
    QVariantMap both = bordered;
    both.insert("bgAngle", 45);
    // 148 turned by 45 degrees: 2 * trunc(148 * 0.7071...) = 208; the shadow
    // (8, 6) turned adds trunc(5.65) + trunc(4.24) on both sides.
    QTest::newRow("border, rotation, shadow") << both << 2 << QList<int>({-6, 4, 5}) << QSize(217, 217);
}

void TestExport::measuring()
{
    QFETCH(QVariantMap, style);
    QFETCH(int, border);
    QFETCH(QList<int>, shadow);
    QFETCH(QSize, measured);

    window->ui->checkBoxBkgBorder->setChecked(border > 0);
    window->ui->spinBoxBkgBorderWidth->setValue(border);
    window->ui->checkBoxBkgShadow->setChecked(!shadow.isEmpty());
    if (!shadow.isEmpty()) {
        window->ui->spinBoxBkgShadowX->setValue(shadow[0]);
        window->ui->spinBoxBkgShadowY->setValue(shadow[1]);
        window->ui->spinBoxBkgShadowBlur->setValue(shadow[2]);
    }
    applyStyle(style);
    QWebElement bg = window->ui->webView->page()->mainFrame()->findFirstElement("#bg");
    QCOMPARE(window->getGeometry(bg).size(), QSize(140 + 2 * border, 140 + 2 * border));
    QCOMPARE(window->CalcRealIconSize(bg), measured);
}

void TestExport::fontSizeFollowsTheBox()
{
    // A square red box 1.4em wide: its width in the image shows the font size.
    QVariantMap style = restingStyle();
    style.insert("bgColor", "#FF0000");
    applyStyle(style);

    QImage image;
    // 256 px: font size floor(256 * 100 / 161) = 159, box 222.6 px.
    window->GetWebImage(image, 256, 161, 161, window->currentSymbol, "FontAwesome", "png");
    QCOMPARE(image.size(), QSize(256, 256));
    QVERIFY2(qAbs(opaqueRun(image) - 222.6) < 1, qPrintable(QString::number(opaqueRun(image))));
    // 1024 px: font size 636, box 890.4 px.
    window->GetWebImage(image, 1024, 161, 161, window->currentSymbol, "FontAwesome", "png");
    QVERIFY2(qAbs(opaqueRun(image) - 890.4) < 1, qPrintable(QString::number(opaqueRun(image))));
    // 16 px: a 64 px page at font size 39 (box 54.6 px) scaled to a quarter.
    window->GetWebImage(image, 16, 161, 161, window->currentSymbol, "FontAwesome", "png");
    QCOMPARE(image.size(), QSize(16, 16));
    QVERIFY2(qAbs(opaqueRun(image) - 54.6 / 4) < 1, qPrintable(QString::number(opaqueRun(image))));
    // A box over 100 times the page: no font size, the page keeps 100px and
    // its 140 px box covers the whole 64 px image.
    window->GetWebImage(image, 64, 7000, 10, window->currentSymbol, "FontAwesome", "png");
    QCOMPARE(opaqueRun(image), 64);
    // A box that measures nothing is no division by zero.
    window->GetWebImage(image, 64, 0, 0, window->currentSymbol, "FontAwesome", "png");
    QCOMPARE(image.size(), QSize(64, 64));
}

void TestExport::backgrounds_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("transparent");
    QTest::newRow("png") << "png" << true;
    QTest::newRow("ico") << "ico" << true;
    QTest::newRow("jpg") << "jpg" << false;
    QTest::newRow("bmp") << "bmp" << false;
    QTest::newRow("PNG is not png") << "PNG" << false;
}

void TestExport::backgrounds()
{
    QFETCH(QString, format);
    QFETCH(bool, transparent);
    applyStyle(roundBox());
    for (int size : {16, 100}) {
        QImage image;
        window->GetWebImage(image, size, 161, 161, window->currentSymbol, "FontAwesome", format);
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
        const QRgb corner = image.pixel(0, 0);
        QCOMPARE(corner, transparent ? qRgba(0, 0, 0, 0) : qRgba(255, 255, 255, 255));
        // Inside the circle, left of the glyph: the box colour.
        const QRgb box = image.pixel(int(size * 0.13), size / 2);
        QVERIFY2(near(box, QColor(OrangeBox).rgb(), 12), qPrintable(QColor::fromRgba(box).name(QColor::HexArgb)));
    }
}

void TestExport::swappedGlyphMatchesFreshPage()
{
    QVariantMap style = roundBox();
    style.insert("shadowColor", "#333333");
    style.insert("shadowX", 5);
    style.insert("shadowY", 5);
    style.insert("shadowBlur", 4);
    style.insert("longShadow", false);
    applyStyle(style);
    const QList<uint> codes = {0xF015, 0xF000, 0xF005};
    const QList<int> sizes = {16, 100, 128};

    QList<QImage> fresh;
    for (uint code : codes) {
        for (int size : sizes) {
            QImage image;
            window->GetWebImage(image, size, 161, 161, QString::fromUcs4(&code, 1), "FontAwesome", "png");
            fresh << image;
        }
    }
    exportsupport::RenderBatch batch;
    int i = 0;
    for (uint code : codes) {
        for (int size : sizes) {
            QImage image;
            window->GetWebImage(image, size, 161, 161, QString::fromUcs4(&code, 1), "FontAwesome", "png");
            QVERIFY2(image == fresh.at(i), qPrintable(QStringLiteral("U+%1 at %2 px").arg(code, 0, 16).arg(size)));
            ++i;
        }
    }
    QCOMPARE(batch.pageLoads(), sizes.size());
    QCOMPARE(batch.glyphSwaps(), (codes.size() - 1) * sizes.size());

    // Another family or another format is another page.
    QImage image;
    window->GetWebImage(image, 48, 161, 161, QString::fromUcs4(&codes[0], 1), "FontAwesome", "jpg");
    window->GetWebImage(image, 48, 161, 161, QString::fromUcs4(&codes[0], 1), "Lato", "png");
    QCOMPARE(batch.pageLoads(), sizes.size() + 2);
    // Another style is another page; a "%1" in it never receives the glyph,
    // so the next glyph is swapped in again.
    window->addonLess = QStringLiteral("\n@unused: \"%1\";\n");
    window->GetWebImage(image, 48, 161, 161, QString::fromUcs4(&codes[1], 1), "FontAwesome", "png");
    window->GetWebImage(image, 48, 161, 161, QString::fromUcs4(&codes[2], 1), "FontAwesome", "png");
    QCOMPARE(batch.pageLoads(), sizes.size() + 3);
}

void TestExport::fullExport_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("png") << "png";
    QTest::newRow("jpg") << "jpg";
    QTest::newRow("bmp") << "bmp";
    QTest::newRow("ico") << "ico";
}

void TestExport::fullExport()
{
    QFETCH(QString, format);
    applyStyle(roundBox());
    selectGlyph(*window, 0xF000, "FontAwesome");
    selectGlyph(*window, 0xF015, "FontAwesome");
    const QString folder = out->path();
    exportTo({32, 48}, format, folder);
    QCOMPARE(warnings, QStringList());

    const bool ico = format == QLatin1String("ico");
    QStringList expected;
    if (ico) {
        expected << "FontAwesome_f000(1).ico" << "FontAwesome_f015(0).ico";
    } else {
        for (const char* name : {"FontAwesome_f000(1)_32.", "FontAwesome_f000(1)_48.", "FontAwesome_f015(0)_32.",
                                 "FontAwesome_f015(0)_48."})
            expected << QLatin1String(name) + format;
    }
    QCOMPARE(filesIn(folder), expected);

    const bool transparent = format == QLatin1String("png") || ico;
    for (const QString& name : expected) {
        QList<QImage> images;
        if (ico) {
            QFile file(folder + "/" + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray data = file.readAll();
            QCOMPARE(u16(data, 2), quint16(1));
            QCOMPARE(u16(data, 4), quint16(2));
            QCOMPARE(int(quint8(data[6])), 32);
            QCOMPARE(int(quint8(data[6 + 16])), 48);
            QCOMPARE(u32(data, 6 + 8), quint32(40 + 4 * 32 * 32 + 32 * 4));
            QCOMPARE(u32(data, 6 + 16 + 12), quint32(6 + 2 * 16 + 40 + 4 * 32 * 32 + 32 * 4));
            QCOMPARE(int(u32(data, 6 + 16 + 12) + u32(data, 6 + 16 + 8)), data.size());
            file.seek(0);
            images = ICOReader::read(&file);
        } else {
            images << QImage(folder + "/" + name);
        }
        for (const QImage& image : qAsConst(images)) {
            const int size = image.width();
            QVERIFY2(size == 32 || size == 48, qPrintable(name));
            QCOMPARE(image.height(), size);
            if (!ico)
                QVERIFY(name.endsWith(QStringLiteral("_%1.%2").arg(size).arg(format)));
            const QRgb corner = image.pixel(0, 0);
            if (transparent)
                QCOMPARE(qAlpha(corner), 0);
            else
                QVERIFY2(near(corner, qRgb(255, 255, 255), 2), qPrintable(name));
            QVERIFY2(near(image.pixel(int(size * 0.13), size / 2), QColor(OrangeBox).rgb(), 16), qPrintable(name));
        }
        QCOMPARE(images.size(), ico ? 2 : 1);
    }
    if (ico) {
        // The ICO holds the very pixels a PNG export gets.
        applyStyle(roundBox());
        QTemporaryDir pngs;
        exportTo({32, 48}, "png", pngs.path());
        QFile file(folder + "/FontAwesome_f015(0).ico");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QImage> icons = ICOReader::read(&file);
        QCOMPARE(icons.size(), 2);
        QCOMPARE(icons[0].convertToFormat(QImage::Format_ARGB32),
                 QImage(pngs.path() + "/FontAwesome_f015(0)_32.png").convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(icons[1].convertToFormat(QImage::Format_ARGB32),
                 QImage(pngs.path() + "/FontAwesome_f015(0)_48.png").convertToFormat(QImage::Format_ARGB32));
    }
}

void TestExport::defaultGlyph()
{
    applyStyle(roundBox());
    // A folder given with its separator gets no second one; sizes above 256
    // have no place in an ICO file.
    exportTo({16, 32}, "png", out->path() + QDir::separator());
    exportTo({16, 300}, "ico", out->path());
    QCOMPARE(warnings, QStringList());
    QCOMPARE(filesIn(out->path()),
             QStringList({"FontAwesome_f015.ico", "FontAwesome_f015_16.png", "FontAwesome_f015_32.png"}));
    QFile ico(out->path() + "/FontAwesome_f015.ico");
    QVERIFY(ico.open(QIODevice::ReadOnly));
    QCOMPARE(ICOReader::read(&ico).size(), 1);
}

void TestExport::saveButtonRunsTheDialog()
{
    applyStyle(roundBox());
    selectGlyph(*window, 0xF000, "FontAwesome");
    selectGlyph(*window, 0xF015, "FontAwesome");
    window->RefreshButtonSaveIcons();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));

    // The Save key opens the dialog; cancelled, it saves nothing.
    QString buttonText;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<SaveDialog*>(QApplication::activeModalWidget())) {
            answer.stop();
            buttonText = dialog->ui->pushButton_SaveImages->text();
            dialog->reject();
        }
    });
    answer.start(20);
    QTest::keySequence(window, QKeySequence::Save);
    QTRY_VERIFY(!answer.isActive());
    QVERIFY(window->saveDialog);
    QCOMPARE(buttonText, QStringLiteral("Save 2 Icons"));
    QCOMPARE(filesIn(out->path()), QStringList());

    // Saved: the dialog's sizes, format and folder reach the export.
    SaveDialog* dialog = window->saveDialog;
    dialog->chosenDirectory = QDir::toNativeSeparators(out->path());
    dialog->ui->comboBox_Dirs->setEditText(out->path());
    dialog->ui->checkBox_Size16->setChecked(true);
    dialog->ui->comboBox_Formats->setCurrentText("bmp");
    QTimer::singleShot(100, [&] {
        QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(dialog));
        dialog->ui->pushButton_SaveImages->click();
    });
    window->ui->pushButton_SaveImages->click();
    QCOMPARE(filesIn(out->path()), QStringList({"FontAwesome_f000(1)_16.bmp", "FontAwesome_f000(1)_32.bmp",
                                                "FontAwesome_f015(0)_16.bmp", "FontAwesome_f015(0)_32.bmp"}));
    QCOMPARE(warnings, QStringList());
}

void TestExport::progressAndBlockedInput()
{
    applyStyle(roundBox());
    selectGlyph(*window, 0xF000, "FontAwesome");
    QPushButton* second = selectGlyph(*window, 0xF005, "FontAwesome");
    selectGlyph(*window, 0xF015, "FontAwesome");

    // Watches the export from inside its event processing.
    int maximum = -1;
    int lastValue = -1;
    bool modal = true;
    bool secondRemoved = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        auto* bar = qobject_cast<QProgressBar*>(QApplication::activeModalWidget());
        if (!bar) {
            if (maximum >= 0)
                modal = modal && filesIn(out->path()).size() == 9;
            return;
        }
        maximum = bar->maximum();
        lastValue = bar->value();
        // A second Save is ignored while the export runs.
        window->ui->pushButton_SaveImages->setEnabled(true);
        window->ui->pushButton_SaveImages->click();
        QVERIFY(!window->saveDialog);
        // A glyph taken off the strip or a style changed meanwhile changes
        // nothing in what is saved.
        if (!secondRemoved && !filesIn(out->path()).isEmpty()) {
            delete second;
            secondRemoved = true;
            window->userParamsLess += QStringLiteral("\n@color :@nothing;\n");
        }
    });
    watch.start(1);
    exportTo({16, 32, 48}, "png", out->path());
    watch.stop();
    QVERIFY(secondRemoved);
    QVERIFY(modal);
    QCOMPARE(maximum, 9);
    QVERIFY(lastValue >= 8);
    QCOMPARE(filesIn(out->path()).size(), 9);
    QVERIFY(filesIn(out->path()).contains("FontAwesome_f005(1)_48.png"));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(warnings, QStringList());
}

void TestExport::failedLoadIsReported()
{
    applyStyle(roundBox());
    // A page that is stopped while it loads reports a failed load.
    window->maketHtml = QStringLiteral("<html><head><script>window.stop();</script></head>"
                                       "<body><div id=\"bg\"><span>%1</span></div>"
                                       "<img src=\"qrc:/nothing.png\"></body></html>");
    exportTo({16, 32}, "png", out->path());
    QCOMPARE(filesIn(out->path()), QStringList());
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].startsWith("Save error"), qPrintable(warnings[0]));
    QVERIFY2(warnings[0].contains("FontAwesome_f015_16.png: the page did not load"), qPrintable(warnings[0]));
    QVERIFY(!QFileInfo::exists(getApplicationSettingsPath() + QDir::separator() + USER_TEMPLATES_DIR));
}

void TestExport::hangingLoadIsBounded()
{
    applyStyle(roundBox());
    // A stylesheet from a server that never answers keeps the page loading.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    window->maketHtml.replace(QStringLiteral("<title></title>"),
                              QStringLiteral("<title></title><link rel=\"stylesheet\" href=\"http://127.0.0.1:%1/a.css\" />")
                                  .arg(silent.serverPort()));
    exportsupport::setPageLoadTimeoutMs(500);
    QElapsedTimer timer;
    timer.start();
    exportTo({16, 32}, "ico", out->path());
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(filesIn(out->path()), QStringList());
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains("FontAwesome_f015.ico (16 px): the page did not load"), qPrintable(warnings[0]));
}

void TestExport::uncompiledStyleIsReported()
{
    QVariantMap broken = roundBox();
    broken.insert("color", "@nothing");
    applyStyle(broken);
    exportTo({16, 32}, "png", out->path());
    QCOMPARE(filesIn(out->path()), QStringList());
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains("FontAwesome_f015_32.png: the style did not compile"), qPrintable(warnings[0]));
    QVERIFY(!QFileInfo::exists(getApplicationSettingsPath() + QDir::separator() + USER_TEMPLATES_DIR));

    // A parse error, where the compiler puts its message into the page.
    window->addonLess = QStringLiteral("\n.broken { color: ; \n");
    QImage image;
    window->GetWebImage(image, 32, 161, 161, window->currentSymbol, "FontAwesome", "png");
    QVERIFY(image.isNull());
    QCOMPARE(exportsupport::lastRenderError(), QStringLiteral("the style did not compile"));
}

void TestExport::oversizedRefused()
{
    applyStyle(roundBox());
    for (int size : {4097, 99999999, 0}) {
        warnings.clear();
        QElapsedTimer timer;
        timer.start();
        exportTo({16, size}, "png", out->path());
        QVERIFY(timer.elapsed() < 1000);
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings[0].contains("4096 px") && warnings[0].contains(QStringLiteral("%1 px").arg(size)),
                 qPrintable(warnings[0]));
        QCOMPARE(filesIn(out->path()), QStringList());
    }
    QImage image(8, 8, QImage::Format_ARGB32);
    window->GetWebImage(image, 5000, 161, 161, window->currentSymbol, "FontAwesome", "png");
    QVERIFY(image.isNull());
    // The largest size there is renders.
    warnings.clear();
    exportTo({4096}, "jpg", out->path());
    QCOMPARE(warnings, QStringList());
    QCOMPARE(QImage(out->path() + "/FontAwesome_f015_4096.jpg").size(), QSize(4096, 4096));
}

void TestExport::unusableFolders()
{
    applyStyle(roundBox());
    selectGlyph(*window, 0xF000, "FontAwesome");
    selectGlyph(*window, 0xF015, "FontAwesome");
    const QString missing = out->path() + "/missing";
    // A folder nobody may write into: root may write anywhere but not in /proc.
    QString locked = QStringLiteral("/proc");
    if (geteuid() != 0) {
        locked = out->path() + "/locked";
        QVERIFY(QDir().mkdir(locked));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    }
    for (const QString& folder : {missing, locked, QString()}) {
        warnings.clear();
        exportTo({16, 32, 48}, "png", folder);
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings[0].contains("does not exist or cannot be written to"), qPrintable(warnings[0]));
    }
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(!QFileInfo::exists(getApplicationSettingsPath() + QDir::separator() + USER_TEMPLATES_DIR));
}

void TestExport::folderVanishingMidway()
{
    applyStyle(roundBox());
    selectGlyph(*window, 0xF000, "FontAwesome");
    selectGlyph(*window, 0xF015, "FontAwesome");
    const QString folder = out->path() + "/icons";
    QVERIFY(QDir().mkdir(folder));
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (!filesIn(folder).isEmpty())
            QDir(folder).removeRecursively();
    });
    watch.start(1);
    exportTo({16, 32, 48}, "bmp", folder);
    watch.stop();
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains("can no longer be written to; the export stopped"), qPrintable(warnings[0]));
}

void TestExport::icoWrittenWholeOrNotAtAll()
{
    applyStyle(roundBox());
    const QString path = out->path() + "/FontAwesome_f015.ico";
    exportTo({16, 32}, "ico", out->path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();
    QCOMPARE(u16(good, 4), quint16(2));

    // A failed export leaves the earlier file as it was and no temporary file.
    QVariantMap broken = roundBox();
    broken.insert("bgColor", "@nothing");
    applyStyle(broken);
    exportTo({16, 32}, "ico", out->path());
    QCOMPARE(warnings.size(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), good);
    file.close();
    QCOMPARE(filesIn(out->path()), QStringList({"FontAwesome_f015.ico"}));

    // A folder in the way of the file: one message, the folder untouched.
    applyStyle(roundBox());
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkpath(path + "/inside"));
    warnings.clear();
    exportTo({16, 32}, "ico", out->path());
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(QStringLiteral("Can not open %1 for writing").arg(path)), qPrintable(warnings[0]));
    QVERIFY(QFileInfo(path + "/inside").isDir());

    // Without any image no ICO file is made.
    QVERIFY(QDir(path).removeRecursively());
    warnings.clear();
    QList<int> none = {300};
    window->SaveWebImageToFile(none, 161, 161, window->currentSymbol, "FontAwesome", "ico",
                               out->path() + "/FontAwesome_f015%1.ico", true, nullptr);
    QCOMPARE(warnings, QStringList({"Can not create ico data"}));
    QCOMPARE(filesIn(out->path()), QStringList());
}

void TestExport::fileNamesStayInTheFolder()
{
    applyStyle(roundBox());
    // The folder's own "%1" stays as it is.
    const QString folder = out->path() + "/a%1b";
    QVERIFY(QDir().mkdir(folder));
    selectGlyph(*window, 0xF015, "Up/Side");
    selectGlyph(*window, 0xF015, "Back\\Slash");
    selectGlyph(*window, 0xF015, "Ctrl\x01\u202E\u2028Chars");
    selectGlyph(*window, 0x1F600, "FontAwesome");
    exportTo({16}, "png", folder);
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join("\n")));
    QCOMPARE(filesIn(folder), QStringList({"Back_Slash_f015(2)_16.png", "Ctrl___Chars_f015(1)_16.png",
                                           "FontAwesome_1f600(0)_16.png", "Up_Side_f015(3)_16.png"}));
    QCOMPARE(filesIn(out->path()), QStringList({"a%1b"}));

    // A family the style cannot take is reported under its safe name.
    QDir(folder).removeRecursively();
    QLayoutItem* item;
    while (window->selectedIconsLayout->count() > 1 && (item = window->selectedIconsLayout->takeAt(0))) {
        delete item->widget();
        delete item;
    }
    selectGlyph(*window, 0xF015, "../../Up");
    exportTo({16}, "png", out->path());
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(".._.._Up_f015(0)_16.png: the style did not compile"), qPrintable(warnings[0]));
    QCOMPARE(filesIn(out->path()), QStringList());
}

PICTAVO_TEST_MAIN(TestExport)

#include "tst_export.moc"
