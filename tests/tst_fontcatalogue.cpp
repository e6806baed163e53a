#include "testsupport.h"

#include "constants.h"
#include "folders.h"
#include "mainwindow.h"
#include "qlistwidgetdclicked.h"
#include "qtjson.h"
#include "ui_mainwindow.h"
#include "userfonts.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

const QString FA = QStringLiteral("fontawesome-webfont.ttf");

QString shippedFont(const QString& name)
{
    return getResourcesPath() + QStringLiteral("/fonts/") + name;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A config text; a null `templates` leaves the key out.
QByteArray config(const QString& font, const QString& templates = QString(), const QString& name = QStringLiteral("N"))
{
    QString text = QStringLiteral("{\"name\": \"%1\", \"font\": \"%2\", \"author\": \"Ann\", \"link\": \"http://a.b\"")
                       .arg(name, font);
    if (!templates.isNull())
        text += QStringLiteral(", \"templates\": \"%1\"").arg(templates);
    return (text + QLatin1Char('}')).toUtf8();
}

QList<QFrame*> panels(MainWindow& window)
{
    QList<QFrame*> result;
    for (int i = 0; i < window.ui->verticalLayout_Fonts->count(); ++i) {
        if (auto* frame = qobject_cast<QFrame*>(window.ui->verticalLayout_Fonts->itemAt(i)->widget()))
            result << frame;
    }
    return result;
}

void removePanels(MainWindow& window)
{
    for (QFrame* frame : panels(window))
        delete frame;
}

QListWidgetDClicked* listOf(QFrame* panel)
{
    return panel->findChild<QListWidgetDClicked*>();
}

QString labelText(QFrame* panel, int index)
{
    return panel->findChildren<QLabel*>().value(index)->text();
}

QVector<uint> codesOf(QListWidgetDClicked* list)
{
    QVector<uint> codes;
    for (int row = 0; row < list->count(); ++row)
        codes << qobject_cast<QLabel*>(list->madeItemWidget(list->item(row)))->text().toUcs4().value(0);
    return codes;
}

// The codes of the one panel built from a config written into `dir`.
QVector<uint> panelCodes(MainWindow& window, const QString& dir, const QByteArray& text)
{
    removePanels(window);
    writeFile(dir + QStringLiteral("/c.json"), text);
    window.ParseFontConfigFile(dir + QStringLiteral("/c.json"), false);
    return panels(window).size() == 1 ? codesOf(listOf(panels(window).first())) : QVector<uint>{0xDEAD};
}

}

class TestFontCatalogue : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void shippedAndUserPanelsInOrder();
    void wholeCharacterMap();
    void codeLists();
    void fontMustBePlainFileOfFolder();
    void brokenFilesAreSkipped();
    void accordion();
    void doubleClickFilter();
    void userFontRemoved();
    void userFontAdded();

private:
    QTemporaryDir temp;
    QString data;
};

void TestFontCatalogue::initTestCase()
{
    data = getApplicationSettingsPath();
    QVERIFY(QDir().mkpath(data));
    QVERIFY(QFile::copy(shippedFont(FA), data + QLatin1Char('/') + FA));
}

void TestFontCatalogue::shippedAndUserPanelsInOrder()
{
    writeFile(data + QStringLiteral("/b.json"), config(FA, QStringLiteral("0xf000"), QStringLiteral("user b")));
    writeFile(data + QStringLiteral("/A.json"), config(FA, QStringLiteral("0xf001"), QStringLiteral("user A")));
    MainWindow window;
    const QList<QFrame*> built = panels(window);
    QStringList captions;
    for (QFrame* panel : built)
        captions << labelText(panel, 0);
    QCOMPARE(captions, QStringList({"Font Awesome", "Fork Awesome", "Material Icons", "Material Design Icons",
                                    "Elusive Icons", "user A", "user b"}));
    const QVector<int> cells{675, 796, 2147, 1650, 304, 1, 1};
    for (int i = 0; i < built.size(); ++i) {
        QCOMPARE(listOf(built[i])->count(), cells[i]);
        QCOMPARE(built[i]->findChild<QCheckBox*>()->isChecked(), i == 0);
        QCOMPARE(listOf(built[i])->isHidden(), i != 0);
        QCOMPARE(built[i]->findChild<QPushButton*>() != nullptr, i >= 5);  // remove buttons
    }
    QCOMPARE(labelText(built[0], 1), QStringLiteral("<a href=\"http://fontawesome.io\">Dave Gandy</a>"));
    // Material Icons lists its icons, not the letters of its ligatures.
    QVERIFY(!codesOf(listOf(built[2])).contains('a'));
    QFile::remove(data + QStringLiteral("/b.json"));
    QFile::remove(data + QStringLiteral("/A.json"));
}

void TestFontCatalogue::wholeCharacterMap()
{
    MainWindow window;
    const QVector<uint> all = panelCodes(window, temp.path(), config(FA));
    QCOMPARE(all.size(), 703);  // 704 mapped codes less the glyph named "space"
    QVERIFY(!all.contains(0x20));
    QVERIFY(std::is_sorted(all.begin(), all.end()));
    QListWidgetItem* item = listOf(panels(window).first())->item(0);
    QCOMPARE(item->data(Qt::FontRole).value<QFont>().family(), QStringLiteral("FontAwesome"));
    QCOMPARE(qobject_cast<QLabel*>(item->listWidget()->itemWidget(item))->styleSheet(), ORANGE_BORDER_1PX);
    QCOMPARE(labelText(panels(window).first(), 1), QStringLiteral("<a href=\"http://a.b\">Ann</a>"));
}

void TestFontCatalogue::codeLists()
{
    MainWindow window;
    const QString dir = temp.path();
    QCOMPARE(panelCodes(window, dir, config(FA, "0xf000-0xf005, 0xf010")),
             QVector<uint>({0xf000, 0xf001, 0xf002, 0xf003, 0xf004, 0xf005, 0xf010}));
    QCOMPARE(panelCodes(window, dir, config(FA, "61440-61442")), QVector<uint>({0xf000, 0xf001, 0xf002}));
    QCOMPARE(panelCodes(window, dir, config(FA, "0xf005-0xf000")), QVector<uint>());
    QCOMPARE(panelCodes(window, dir, config(FA, "f000-f005")), QVector<uint>());
    // Single codes are listed whether the font maps them or not; twice is twice.
    QCOMPARE(panelCodes(window, dir, config(FA, "0xe000,61440 , 0xf000")), QVector<uint>({0xe000, 0xf000, 0xf000}));
    // With "templates" no glyph name is skipped.
    QCOMPARE(panelCodes(window, dir, config(FA, "0x1f-0x20")), QVector<uint>({0x20}));
    // Tokens that are no code points add no cell (no U+0000 cells).
    QCOMPARE(panelCodes(window, dir, config(FA, "0xf000,,0xf001")), QVector<uint>({0xf000, 0xf001}));
    QCOMPARE(panelCodes(window, dir, config(FA, "")), QVector<uint>());
    QCOMPARE(panelCodes(window, dir, config(FA, "0xF000-0xF005")), QVector<uint>());
    QCOMPARE(panelCodes(window, dir, config(FA, "0, 0x110000, zz, -5, 0-4294967295")), QVector<uint>());
    // Ranges are clamped to U+10FFFF: every mapped code once, in a moment.
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(panelCodes(window, dir, config(FA, "0-2147483647")).size(), 704);
    QVERIFY(timer.elapsed() < 5000);
}

void TestFontCatalogue::fontMustBePlainFileOfFolder()
{
    const QString outside = QFileInfo(data).absolutePath() + QStringLiteral("/outside");
    QVERIFY(QDir().mkpath(outside));
    QFile::copy(shippedFont(FA), outside + QLatin1Char('/') + FA);
    QVERIFY(QDir().mkpath(data + QStringLiteral("/dir.ttf")));
    QVERIFY(::mkfifo(QFile::encodeName(data + QStringLiteral("/pipe.ttf")).constData(), 0600) == 0);

    MainWindow window;
    const QString bad = data + QStringLiteral("/bad.json");
    for (const QString& name : {"../outside/" + FA, outside + QLatin1Char('/') + FA, QStringLiteral(".."),
                                QString(), QStringLiteral("dir.ttf"), QStringLiteral("pipe.ttf")}) {
        removePanels(window);
        writeFile(bad, config(name));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^ErrorLoadFont ")));
        window.ParseFontConfigFile(bad, true);
        QCOMPARE(panels(window).size(), 1);
        QCOMPARE(listOf(panels(window).first())->count(), 0);
        QCOMPARE(labelText(panels(window).first(), 1), QStringLiteral("author"));
    }
    // A config that is a FIFO is not opened either.
    QFile::remove(bad);
    QVERIFY(::mkfifo(QFile::encodeName(bad).constData(), 0600) == 0);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Error open file ")));
    window.ParseFontConfigFile(bad, true);
    QFile::remove(bad);
    QFile::remove(data + QStringLiteral("/pipe.ttf"));
    QDir(data).rmdir(QStringLiteral("dir.ttf"));
}

void TestFontCatalogue::brokenFilesAreSkipped()
{
    writeFile(data + QStringLiteral("/broken.ttf"), readFile(shippedFont(FA)).left(2000));
    writeFile(data + QStringLiteral("/junk.ttf"), QByteArray(5000, 'Z'));
    writeFile(data + QStringLiteral("/1.json"), config(QStringLiteral("broken.ttf")));
    writeFile(data + QStringLiteral("/2.json"), config(QStringLiteral("junk.ttf")));
    writeFile(data + QStringLiteral("/3.json"), "this is no JSON");
    writeFile(data + QStringLiteral("/4.json"), "[\"font\", \"fontawesome-webfont.ttf\"]");
    writeFile(data + QStringLiteral("/5.json"), config(FA, QStringLiteral("0xf000")));
    for (const char* line : {"^ErrorLoadFont .*broken.ttf", "^ErrorLoadFont .*junk.ttf", "^ErrorParseConfig .*3.json",
                             "^ErrorParseConfig .*4.json"})
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QLatin1String(line)));
    MainWindow window;
    const QList<QFrame*> built = panels(window);
    QCOMPARE(built.size(), 5 + 3);
    QCOMPARE(listOf(built[5])->count() + listOf(built[6])->count(), 0);
    QCOMPARE(listOf(built[7])->count(), 1);
    for (const char* name : {"1.json", "2.json", "3.json", "4.json", "5.json"})
        QFile::remove(data + QLatin1Char('/') + QLatin1String(name));
}

void TestFontCatalogue::accordion()
{
    MainWindow window;
    removePanels(window);
    for (const char* name : {"/x.json", "/y.json", "/z.json"}) {
        writeFile(temp.path() + QLatin1String(name), config(FA, QStringLiteral("0xf000")));
        window.ParseFontConfigFile(temp.path() + QLatin1String(name), false);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QFrame*> built = panels(window);
    // The open panels; -1 when a box and its list disagree.
    const auto open = [&] {
        QList<int> result;
        for (int i = 0; i < built.size(); ++i) {
            const bool checked = built[i]->findChild<QCheckBox*>()->isChecked();
            if (checked == listOf(built[i])->isHidden())
                return QList<int>{-1};
            if (checked)
                result << i;
        }
        return result;
    };
    QCOMPARE(open(), QList<int>{0});
    QTest::mouseClick(built[1]->findChild<QCheckBox*>(), Qt::LeftButton);
    QCOMPARE(open(), QList<int>{1});
    // Its cells are made as it opens.
    QVERIFY(listOf(built[1])->itemWidget(listOf(built[1])->item(0)));
    QTest::mouseClick(built[1]->findChild<QCheckBox*>(), Qt::LeftButton);
    QCOMPARE(open(), QList<int>{});
    QTest::mouseClick(built[2]->findChild<QCheckBox*>(), Qt::LeftButton);
    QCOMPARE(open(), QList<int>{2});
}

void TestFontCatalogue::doubleClickFilter()
{
    QApplication::setDoubleClickInterval(300);
    QListWidgetDClicked list;
    auto* item = new QListWidgetItem(QStringLiteral("cell"), &list);
    item->setFlags(Qt::NoItemFlags);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy clicked(&list, &QListWidget::itemClicked);
    const QPoint at = list.visualItemRect(item).center();

    // Press, release, double-click press, release: one click.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(clicked.count(), 1);
    // Clicks more than the interval or more than 5 pixels apart count each.
    QTest::qWait(400);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at + QPoint(3, 3));
    QCOMPARE(clicked.count(), 3);
}

void TestFontCatalogue::userFontRemoved()
{
    // Two configs name one font; each remove button deletes its own config only.
    writeFile(data + QStringLiteral("/One.json"), config(FA, QStringLiteral("0xf000")));
    writeFile(data + QStringLiteral("/Two.json"), config(FA, QStringLiteral("0xf001")));
    {
        MainWindow window;
        QCOMPARE(panels(window).size(), 7);
        auto* remove = panels(window)[6]->findChild<QPushButton*>();
        QCOMPARE(remove->property("file").toString(), data + QStringLiteral("/Two.json"));
        remove->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(panels(window).size(), 6);
        QVERIFY(!QFile::exists(data + QStringLiteral("/Two.json")));
        QVERIFY(QFile::exists(data + QStringLiteral("/One.json")));
        QVERIFY(QFile::exists(data + QLatin1Char('/') + FA));
    }
    MainWindow again;
    QCOMPARE(panels(again).size(), 6);
    QFile::remove(data + QStringLiteral("/One.json"));
}

void TestFontCatalogue::userFontAdded()
{
    // The copy: a failed one, or the data folder's own file chosen, keeps the font.
    const QString folder = temp.path() + QStringLiteral("/install");
    const QString source = temp.path() + QStringLiteral("/Line Icons.light.ttf");
    QFile::copy(shippedFont(FA), source);
    const QString copy = userfonts::installFontFile(source, folder);
    QCOMPARE(copy, folder + QStringLiteral("/Line Icons.light.ttf"));
    QCOMPARE(userfonts::installFontFile(copy, folder), copy);
    QCOMPARE(readFile(copy), readFile(shippedFont(FA)));
    writeFile(source, "newer");
    QCOMPARE(userfonts::installFontFile(source, folder), copy);
    QCOMPARE(readFile(copy), QByteArray("newer"));
    QFile::remove(source);
    QVERIFY(QDir().mkpath(source));
    QCOMPARE(userfonts::installFontFile(source, folder), QString());
    QCOMPARE(readFile(copy), QByteArray("newer"));

    // The config: written once, never appended to; another font of the same
    // base name gets a config of its own.
    const QString path = userfonts::fontConfigFor(folder, QStringLiteral("Line Icons.light.ttf"));
    QCOMPARE(path, folder + QStringLiteral("/Line Icons.json"));
    const QByteArray text("{\n\"author\":    \"\",\n\"link\":  \"\",\n\"font\":  \"Line Icons.light.ttf\",\n"
                          "\"name\": \"Line Icons\"\n}");
    QCOMPARE(readFile(path), text);
    QCOMPARE(userfonts::fontConfigFor(folder, QStringLiteral("Line Icons.light.ttf")), path);
    QCOMPARE(userfonts::fontConfigFor(folder, QStringLiteral("Line Icons.bold.ttf")),
             folder + QStringLiteral("/Line Icons-2.json"));
    QCOMPARE(userfonts::fontConfigFor(folder, QStringLiteral("Line Icons.bold.ttf")),
             folder + QStringLiteral("/Line Icons-2.json"));
    QCOMPARE(readFile(path), text);
    QCOMPARE(QDir(folder).entryList({QStringLiteral("*.json")}).size(), 2);
    // Names are escaped, so that the config reads back.
    const QVariantMap odd = QtJson::parse(QString::fromUtf8(userfonts::configText("a\\b\"c.d.ttf"))).toMap();
    QCOMPARE(odd.value(QStringLiteral("font")).toString(), QStringLiteral("a\\b\"c.d.ttf"));
    QCOMPARE(odd.value(QStringLiteral("name")).toString(), QStringLiteral("a\\b\"c"));
}

PICTAVO_TEST_MAIN(TestFontCatalogue)
#include "tst_fontcatalogue.moc"
