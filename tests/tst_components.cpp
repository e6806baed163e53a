#include "testsupport.h"

#include "cocoastandin.h"
#include "folders.h"
#include "qlabelex.h"
#include "qwebcolorpicker.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <unistd.h>

// Taken during static initialisation, before main() and any QApplication.
static const QString resourcesPathBeforeMain = getResourcesPath();

class TestComponents : public QObject {
    Q_OBJECT
private slots:
    void colorFromString_data();
    void colorFromString();
    void pickerEmitsOnEverySetColor();
    void pickerTypingAndReturn();
    void pickerKeepsTextAsTyped();
    void pickerFollowsFontChanges();
    void labelClickSignals();
    void resourcesPathBeforeMainIsShareFolder();
    void stringConversionAcrossStackBoundary();
    void removeDirMissingFolder();
    void removeDirWholeTree();
    void removeDirStopsAtFirstFailure();
    void removeDirNeverFollowsLinks();
};

void TestComponents::colorFromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("bare hex with blanks") << " FF0000 " << QColor(255, 0, 0);
    QTest::newRow("hash hex") << "#FF0000" << QColor(255, 0, 0);
    QTest::newRow("name") << "red" << QColor(255, 0, 0);
    QTest::newRow("short hex before name") << "add" << QColor(0xAA, 0xDD, 0xDD);
    QTest::newRow("transparent") << "transparent" << QColor(Qt::transparent);
    QTest::newRow("empty") << "" << QColor();
    QTest::newRow("bad hex") << "#xyz" << QColor();
}

void TestComponents::colorFromString()
{
    QFETCH(QString, text);
    QFETCH(QColor, expected);
    const QColor color = ::colorFromString(text);
    QCOMPARE(color.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(color.rgba(), expected.rgba());
}

void TestComponents::pickerEmitsOnEverySetColor()
{
    QWebColorPicker picker;
    QCOMPARE(picker.color(), QStringLiteral("#000000"));
    QSignalSpy spy(&picker, SIGNAL(changeColor(QString)));
    picker.setColor(QStringLiteral("#FFFFFF"));
    picker.setColor(QStringLiteral("#FFFFFF"));
    picker.setColor(QStringLiteral("no colour"));
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("#FFFFFF"));
    QCOMPARE(spy.at(2).at(0).toString(), QStringLiteral("no colour"));
    QCOMPARE(picker.color(), QStringLiteral("no colour"));

    picker.setTextColor(QStringLiteral("#123456"));
    picker.setLabelColor(Qt::red);
    QCOMPARE(spy.count(), 3);
    QCOMPARE(picker.color(), QStringLiteral("#123456"));
}

void TestComponents::pickerTypingAndReturn()
{
    QWebColorPicker picker;
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QLineEdit* edit = picker.findChild<QLineEdit*>();
    QLabel* swatch = picker.findChild<QLabelEx*>();
    QVERIFY(edit && swatch);
    QSignalSpy spy(&picker, SIGNAL(changeColor(QString)));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("00F"));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(swatch->palette().color(QPalette::Window), QColor(0, 0, 255));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("00F"));
}

void TestComponents::pickerKeepsTextAsTyped()
{
    QWebColorPicker picker;
    QLineEdit* edit = picker.findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral(" red "));
    QCOMPARE(picker.color(), QStringLiteral(" red "));
    QCOMPARE(picker.findChild<QLabelEx*>()->palette().color(QPalette::Window), QColor(Qt::red));
}

void TestComponents::pickerFollowsFontChanges()
{
    QWebColorPicker picker;
    QLineEdit* edit = picker.findChild<QLineEdit*>();
    const int before = edit->maximumWidth();
    QFont big = picker.font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    picker.setFont(big);
    QVERIFY(edit->maximumWidth() > before);
    QVERIFY(edit->maximumWidth() >= QFontMetrics(big).horizontalAdvance(QStringLiteral("#FFFFFF")));
    QCOMPARE(picker.findChild<QLabelEx*>()->height(), picker.findChild<QLabelEx*>()->maximumHeight());
}

void TestComponents::labelClickSignals()
{
    QLabelEx label;
    label.resize(40, 20);
    QStringList order;
    connect(&label, &QLabelEx::clicked, [&] { order << QStringLiteral("clicked"); });
    connect(&label, &QLabelEx::dblclicked, [&] { order << QStringLiteral("dblclicked"); });
    QTest::mouseRelease(&label, Qt::RightButton, Qt::NoModifier, QPoint(200, 200));
    QCOMPARE(order, QStringList{QStringLiteral("clicked")});
    order.clear();
    // A double click arrives as release, double-click event, release.
    for (QEvent::Type type : {QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    }
    QCOMPARE(order, QStringList({QStringLiteral("clicked"), QStringLiteral("dblclicked"), QStringLiteral("clicked")}));
}

void TestComponents::resourcesPathBeforeMainIsShareFolder()
{
    QVERIFY(!resourcesPathBeforeMain.isEmpty());
    QCOMPARE(resourcesPathBeforeMain, getResourcesPath());
    const QString expected = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/pictavo"));
    QCOMPARE(resourcesPathBeforeMain, expected);
    QVERIFY(QFileInfo(expected + QStringLiteral("/fonts")).isDir());
    QVERIFY(QFileInfo(expected + QStringLiteral("/config/icons")).isDir());
}

void TestComponents::stringConversionAcrossStackBoundary()
{
    QCOMPARE(NSStringToQString(nullptr), QString());
    QVERIFY(NSStringToQString(nullptr).isNull());
    for (int length : {0, 1, 255, 256, 257, 1000}) {
        // ASCII text has no direct UTF-16 pointer and is copied; other text is not.
        const QByteArray ascii(length, 'a');
        NSString* narrow = NSString::stringWithUTF8String(ascii.constData());
        QVERIFY(!CFStringGetCharactersPtr(narrow));
        QCOMPARE(NSStringToQString(narrow), QString::fromLatin1(ascii));
        narrow->release();

        const QString text = QString(length, QChar(0x00E9));
        NSString* wide = NSString::stringWithCharacters(reinterpret_cast<const UniChar*>(text.utf16()), length);
        QCOMPARE(NSStringToQString(wide), text);
        wide->release();
    }
}

void TestComponents::removeDirMissingFolder()
{
    QTemporaryDir temp;
    QVERIFY(removeDir(temp.path() + QStringLiteral("/missing")));
}

static void writeFile(const QString& path, const QByteArray& content = "x")
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void TestComponents::removeDirWholeTree()
{
    QTemporaryDir temp;
    const QString root = temp.path() + QStringLiteral("/tree");
    QVERIFY(QDir().mkpath(root + QStringLiteral("/a/b")));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/.hidden")));
    writeFile(root + QStringLiteral("/a/b/file.txt"));
    writeFile(root + QStringLiteral("/.hiddenfile"));
    writeFile(root + QStringLiteral("/readonly.txt"));
    QFile::setPermissions(root + QStringLiteral("/readonly.txt"), QFile::ReadOwner);
    QVERIFY(removeDir(root));
    QVERIFY(!QFileInfo::exists(root));
}

void TestComponents::removeDirStopsAtFirstFailure()
{
    if (geteuid() == 0)
        QSKIP("root may delete files in read-only folders");
    QTemporaryDir temp;
    const QString root = temp.path() + QStringLiteral("/tree");
    QVERIFY(QDir().mkpath(root + QStringLiteral("/a")));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/locked")));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/z")));
    writeFile(root + QStringLiteral("/locked/kept.txt"));
    QFile::setPermissions(root + QStringLiteral("/locked"), QFile::ReadOwner | QFile::ExeOwner);
    QVERIFY(!removeDir(root));
    QVERIFY(!QFileInfo::exists(root + QStringLiteral("/a")));
    QVERIFY(QFileInfo::exists(root + QStringLiteral("/locked/kept.txt")));
    QVERIFY(QFileInfo::exists(root + QStringLiteral("/z")));
    QFile::setPermissions(root + QStringLiteral("/locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestComponents::removeDirNeverFollowsLinks()
{
    QTemporaryDir temp;
    const QString outside = temp.path() + QStringLiteral("/outside");
    const QString root = temp.path() + QStringLiteral("/tree");
    QVERIFY(QDir().mkpath(outside));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/sub")));
    writeFile(outside + QStringLiteral("/precious.txt"));
    QFile::setPermissions(outside + QStringLiteral("/precious.txt"), QFile::ReadOwner);
    QVERIFY(QFile::link(outside, root + QStringLiteral("/dirlink")));
    QVERIFY(QFile::link(outside + QStringLiteral("/precious.txt"), root + QStringLiteral("/filelink")));
    QVERIFY(QFile::link(root, root + QStringLiteral("/sub/cycle")));
    QVERIFY(QFile::link(temp.path() + QStringLiteral("/nowhere"), root + QStringLiteral("/dangling")));
    QVERIFY(removeDir(root));
    QVERIFY(!QFileInfo::exists(root));
    QVERIFY(QFileInfo::exists(outside + QStringLiteral("/precious.txt")));
    QCOMPARE(QFile::permissions(outside + QStringLiteral("/precious.txt")) & QFile::WriteOwner, QFileDevice::Permissions());
}

PICTAVO_TEST_MAIN(TestComponents)
#include "tst_components.moc"
