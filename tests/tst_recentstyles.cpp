// Recent styles: stored by every export of a new style, merged, limited to
// ten and applied again from their list.

#include "testsupport.h"

#include "constants.h"
#include "exportsupport.h"
#include "folders.h"
#include "mainwindow.h"
#include "pageloadwaiter.h"
#include "qtjson.h"
#include "recentstyles.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

QString root()
{
    return getApplicationSettingsPath() + QDir::separator() + USER_TEMPLATES_DIR;
}

QStringList folders()
{
    QStringList names = QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), compareForSort_QStringInt);
    return names;
}

// A stored style made by hand: an angle tells the styles apart.
void makeStyle(const QString& name, int angle, bool thumbnail = true)
{
    const QString folder = root() + QDir::separator() + name + QDir::separator();
    QVERIFY(QDir().mkpath(folder));
    QFile params(folder + USER_TEMPLATES_FILE_NAME);
    QVERIFY(params.open(QIODevice::WriteOnly));
    params.write(QtJson::serialize(QVariantMap({{"angle", angle}, {"color", "#000000"}})));
    params.close();
    QFile addon(folder + USER_ADDON_FILE_NAME);
    QVERIFY(addon.open(QIODevice::WriteOnly));
    if (thumbnail) {
        QImage image(128, 128, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(folder + USER_THUMBNAIL_FILE_NAME));
    }
}

}

class TestRecentStyles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void numericOrder();
    void listing();
    void startUpWithoutFolder();
    void unchangedTemplateStoresNothing();
    void changedStyleStoredWithThumbnail();
    void sameStyleTwiceKeepsTheNewer();
    void pressedStyleAppliesAndMovesUp();
    void tenAtMost();

private:
    void refresh();
    void save();

    MainWindow* window = nullptr;
    QStringList warnings;
};

void TestRecentStyles::init()
{
    removeDir(root());
    window = new MainWindow;
    refresh();
    warnings.clear();
    exportsupport::setWarningHandler([this](QWidget*, const QString& text) { warnings << text; });
}

void TestRecentStyles::cleanup()
{
    exportsupport::setWarningHandler(nullptr);
    delete window;
    window = nullptr;
}

void TestRecentStyles::refresh()
{
    PageLoadWaiter waiter(window->ui->webView);
    waiter.expectLoad();
    window->refreshHTML();
    QVERIFY(waiter.wait());
}

// What an export does last.
void TestRecentStyles::save()
{
    window->saveUserTemplate();
    QCOMPARE(warnings, QStringList());
}

void TestRecentStyles::numericOrder()
{
    QVERIFY(compareForSort_QStringInt("2", "10"));
    QVERIFY(!compareForSort_QStringInt("10", "2"));
    QVERIFY(!compareForSort_QStringInt("7", "7"));
    QVERIFY(compareForSort_QStringInt("abc", "1"));
}

void TestRecentStyles::listing()
{
    makeStyle("10", 10);
    makeStyle("2", 2);
    makeStyle("9", 9);
    makeStyle("5", 5, false);
    makeStyle("abc", 1);
    makeStyle("3a", 3);
    window->LoadRecentTemplates();
    QStringList names;
    for (const MainWindow::CssTemplate& style : qAsConst(window->userTemplates))
        names << style.name;
    QCOMPARE(names, QStringList({"2", "9", "10"}));
    QCOMPARE(window->userTemplates[1].params.value("angle").toInt(), 9);
    QCOMPARE(window->userTemplates[1].addon, QString());
    QVERIFY(window->userTemplates[1].alias.isEmpty());
    QCOMPARE(window->ui->listWidget_UserTemplates->count(), 3);
    QCOMPARE(window->ui->listWidget_UserTemplates->item(2)->data(Qt::UserRole).toInt(), 2);
    QVERIFY(!window->ui->listWidget_UserTemplates->item(2)->icon().isNull());
    QVERIFY(!window->ui->label_RecentStyles->isHidden());

    // The next number follows the highest; the odd names stay untouched.
    window->ui->spinBoxIconRotate->setValue(33);
    refresh();
    save();
    QCOMPARE(folders(), QStringList({"3a", "abc", "2", "5", "9", "10", "11"}));

    // A folder with nothing listable hides the list and its label.
    removeDir(root());
    makeStyle("abc", 1);
    makeStyle("4", 4, false);
    window->LoadRecentTemplates();
    QVERIFY(window->userTemplates.isEmpty());
    QVERIFY(window->ui->label_RecentStyles->isHidden());
    QVERIFY(window->ui->listWidget_UserTemplates->isHidden());
}

void TestRecentStyles::startUpWithoutFolder()
{
    QVERIFY(!QFileInfo::exists(root()));
    QCOMPARE(window->ui->listWidget_UserTemplates->count(), 0);
    QVERIFY(!window->ui->label_RecentStyles->isHidden());
    QVERIFY(!window->ui->listWidget_UserTemplates->isHidden());
}

void TestRecentStyles::unchangedTemplateStoresNothing()
{
    // Start-up applied the default template: saving it again adds nothing,
    // whichever glyph and font are current.
    QVERIFY(!window->appliedParams.isEmpty());
    save();
    window->currentFont.setFamily("Material Icons");
    refresh();
    save();
    QVERIFY(!QFileInfo::exists(root()));
}

void TestRecentStyles::changedStyleStoredWithThumbnail()
{
    window->ui->spinBoxIconRotate->setValue(20);
    window->addonLess += QStringLiteral("\n@unusedByTheRules: 1;\n");
    refresh();
    save();
    QCOMPARE(folders(), QStringList({"1"}));
    const QString folder = root() + "/1/";
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             QStringList({"addon.json", "params.json", "thumbnail.png"}));
    QFile params(folder + "params.json");
    QVERIFY(params.open(QIODevice::ReadOnly));
    const QByteArray json = params.readAll();
    QCOMPARE(json, QtJson::serialize(window->styleParams));
    QVERIFY(!json.contains('\n'));
    QCOMPARE(QtJson::parse(QString::fromUtf8(json)).toMap().value("angle").toInt(), 20);
    QFile addon(folder + "addon.json");
    QVERIFY(addon.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(addon.readAll()), window->addonLess);
    const QImage thumbnail(folder + "thumbnail.png");
    QCOMPARE(thumbnail.size(), QSize(128, 128));
    QCOMPARE(qAlpha(thumbnail.pixel(0, 0)), 0);
    QVERIFY(qAlpha(thumbnail.pixel(64, 64)) > 0);

    QCOMPARE(window->userTemplates.size(), 1);
    QCOMPARE(window->userTemplates[0].name, QStringLiteral("1"));
    QCOMPARE(window->ui->listWidget_UserTemplates->count(), 1);
    QVERIFY(!window->ui->label_RecentStyles->isHidden());
}

void TestRecentStyles::sameStyleTwiceKeepsTheNewer()
{
    window->ui->spinBoxIconRotate->setValue(15);
    refresh();
    save();
    save();
    QCOMPARE(folders(), QStringList({"2"}));
    // A different font alone is the same style.
    window->currentFont.setFamily("Material Icons");
    refresh();
    save();
    QCOMPARE(folders(), QStringList({"3"}));
    QCOMPARE(window->userTemplates.size(), 1);
}

void TestRecentStyles::pressedStyleAppliesAndMovesUp()
{
    window->ui->spinBoxIconRotate->setValue(25);
    refresh();
    save();
    window->ui->spinBoxIconRotate->setValue(35);
    refresh();
    save();
    QCOMPARE(folders(), QStringList({"1", "2"}));

    // Pressing the older style puts it on the controls at once.
    PageLoadWaiter waiter(window->ui->webView);
    waiter.expectLoad();
    emit window->ui->listWidget_UserTemplates->pressed(window->ui->listWidget_UserTemplates->model()->index(0, 0));
    QVERIFY(waiter.wait());
    QCOMPARE(window->ui->spinBoxIconRotate->value(), 25);
    QCOMPARE(window->styleParams.value("angle").toInt(), 25);
    QVERIFY(window->appliedParams.isEmpty());
    QCOMPARE(window->currentTemplate, &window->userTemplates[0]);

    // Saved again, it becomes the newest and its old folder goes.
    save();
    QCOMPARE(folders(), QStringList({"2", "3"}));
    QCOMPARE(window->userTemplates[1].params.value("angle").toInt(), 25);
}

void TestRecentStyles::tenAtMost()
{
    for (int i = 1; i <= 10; ++i)
        makeStyle(QString::number(i), 100 + i, i != 1);
    window->LoadRecentTemplates();
    QCOMPARE(window->userTemplates.size(), 9);
    window->ui->spinBoxIconRotate->setValue(45);
    refresh();
    save();
    // The oldest goes, though it had no thumbnail to show.
    QCOMPARE(folders(), QStringList({"2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));

    // A new style equal to a stored one replaces it: nothing else goes.
    window->styleParams = window->userTemplates[2].params;
    window->addonLess = window->userTemplates[2].addon;
    QCOMPARE(window->styleParams.value("angle").toInt(), 104);
    save();
    QCOMPARE(folders(), QStringList({"2", "3", "5", "6", "7", "8", "9", "10", "11", "12"}));
}

PICTAVO_TEST_MAIN(TestRecentStyles)

#include "tst_recentstyles.moc"
