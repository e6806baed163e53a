// The "Save Icons" dialog: sizes, format, output folder and its history.

#include "testsupport.h"

#include "savedialog.h"
#include "ui_savedialog.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const QString Group = QStringLiteral("RecentDirsForSave");

void writeRecentDirs(const QStringList& dirs)
{
    QSettings settings;
    settings.remove(Group);
    settings.beginGroup(Group);
    for (int i = 0; i < dirs.size(); ++i)
        settings.setValue(QString::number(i), dirs[i]);
}

QStringList recentDirs()
{
    QSettings settings;
    settings.beginGroup(Group);
    QStringList keys = settings.childKeys();
    std::sort(keys.begin(), keys.end(), [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    QStringList dirs;
    for (int i = 0; i < keys.size(); ++i) {
        if (keys[i] != QString::number(i))
            return {QStringLiteral("unexpected key ") + keys[i]};
        dirs << settings.value(keys[i]).toString();
    }
    return dirs;
}

QStringList comboItems(const SaveDialog& dialog)
{
    QStringList items;
    for (int i = 0; i < dialog.ui->comboBox_Dirs->count(); ++i)
        items << dialog.ui->comboBox_Dirs->itemText(i);
    return items;
}

void check(SaveDialog& dialog, const QList<int>& sizes)
{
    for (QCheckBox* box : qAsConst(dialog.sizeCheckBoxes))
        box->setChecked(sizes.contains(box->text().toInt()));
}

// The folder the dialog has confirmed before, so that Save shows no picker.
void confirmFolder(SaveDialog& dialog, const QString& folder)
{
    dialog.chosenDirectory = QDir::toNativeSeparators(folder);
    dialog.ui->comboBox_Dirs->setEditText(folder);
}

}

class TestSaveDialog : public QObject {
    Q_OBJECT
private slots:
    void init();

    void freshDialog();
    void buttonText_data();
    void buttonText();
    void chosenSizes();
    void icoLimitsSizes();
    void customSizeEditing();
    void loadingSkipsMissingFolders();
    void recentFoldersList();
    void staleKeysRemoved();
    void picker();

private:
    QTemporaryDir* temp = nullptr;
    QString folder(int i) const { return temp->path() + QStringLiteral("/d%1").arg(i); }
};

void TestSaveDialog::init()
{
    QSettings().remove(Group);
    delete temp;
    temp = new QTemporaryDir;
    for (int i = 0; i < 12; ++i)
        QVERIFY(QDir().mkdir(folder(i)));
}

void TestSaveDialog::freshDialog()
{
    SaveDialog dialog;
    QCOMPARE(dialog.layout(), static_cast<QLayout*>(dialog.ui->verticalLayout_2));
    QCOMPARE(dialog.ui->groupBox_Sizes->layout(), static_cast<QLayout*>(dialog.ui->verticalLayout));
    QCOMPARE(dialog.sizeCheckBoxes.size(), 10);
    QCOMPARE(dialog.sizeCheckBoxes.last(), dialog.ui->checkBox_Size1024);
    QCOMPARE(dialog.ui->comboBox_Dirs->count(), 0);
    QCOMPARE(dialog.ui->comboBox_Dirs->maxCount(), 10);
    QVERIFY(dialog.chosenDirectory.isNull());
    QCOMPARE(dialog.ui->pushButton_SaveImages->text(), QStringLiteral("Save Icons"));
    dialog.SetSymbolsCount(0);
    QCOMPARE(dialog.ui->pushButton_SaveImages->text(), QStringLiteral("Save Icon"));
}

void TestSaveDialog::buttonText_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<int>("custom");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("glyphs");
    QTest::addColumn<QString>("text");

    QTest::newRow("nothing checked") << QList<int>() << 0 << "png" << 3 << "Save Icons";
    QTest::newRow("two sizes, three glyphs") << QList<int>({16, 32}) << 0 << "png" << 3 << "Save 6 Icons";
    QTest::newRow("ico: a file per glyph") << QList<int>({16, 32}) << 0 << "ico" << 3 << "Save 3 Icons";
    QTest::newRow("default glyph, one size") << QList<int>({32}) << 0 << "jpg" << 0 << "Save Icon";
    QTest::newRow("custom counts though equal") << QList<int>({32}) << 32 << "png" << 0 << "Save 2 Icons";
    QTest::newRow("custom alone") << QList<int>() << 20 << "bmp" << 1 << "Save Icon";
    QTest::newRow("ico, default glyph") << QList<int>({16, 32, 48}) << 0 << "ico" << 0 << "Save Icon";
}

void TestSaveDialog::buttonText()
{
    QFETCH(QList<int>, sizes);
    QFETCH(int, custom);
    QFETCH(QString, format);
    QFETCH(int, glyphs);
    QFETCH(QString, text);

    SaveDialog dialog;
    dialog.SetSymbolsCount(glyphs);
    check(dialog, sizes);
    if (custom) {
        dialog.ui->spinBox_CustomSize->setValue(custom);
        dialog.ui->checkBox_CustomSize->setChecked(true);
    }
    dialog.ui->comboBox_Formats->setCurrentText(format);
    QCOMPARE(dialog.ui->pushButton_SaveImages->text(), text);
    QCOMPARE(dialog.ui->pushButton_SaveImages->isEnabled(), text != QLatin1String("Save Icons"));
}

void TestSaveDialog::chosenSizes()
{
    SaveDialog dialog;
    confirmFolder(dialog, folder(0));
    check(dialog, {48, 16});
    dialog.ui->spinBox_CustomSize->setValue(20);
    dialog.ui->checkBox_CustomSize->setChecked(true);
    dialog.ui->pushButton_SaveImages->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenSizes, QList<int>({16, 48, 20}));
    QCOMPARE(dialog.chosenDirectory, QDir::toNativeSeparators(folder(0)));

    // A custom size equal to a checked one is saved once.
    check(dialog, {32});
    dialog.ui->spinBox_CustomSize->setValue(32);
    dialog.setResult(QDialog::Rejected);
    dialog.ui->pushButton_SaveImages->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenSizes, QList<int>({32}));
}

void TestSaveDialog::icoLimitsSizes()
{
    SaveDialog dialog;
    check(dialog, {16, 512, 1024});
    dialog.ui->spinBox_CustomSize->setValue(300);
    dialog.ui->comboBox_Formats->setCurrentText("ico");
    QCOMPARE(dialog.getFormat(), QStringLiteral("ico"));
    for (QCheckBox* box : {dialog.ui->checkBox_Size512, dialog.ui->checkBox_Size1024}) {
        QVERIFY(!box->isChecked());
        QVERIFY(!box->isEnabled());
    }
    QVERIFY(dialog.ui->checkBox_Size16->isChecked());
    QCOMPARE(dialog.ui->spinBox_CustomSize->value(), 256);
    QCOMPARE(dialog.ui->spinBox_CustomSize->maximum(), 256);

    dialog.ui->comboBox_Formats->setCurrentText("png");
    for (QCheckBox* box : {dialog.ui->checkBox_Size512, dialog.ui->checkBox_Size1024}) {
        QVERIFY(!box->isChecked());
        QVERIFY(box->isEnabled());
    }
    QCOMPARE(dialog.ui->spinBox_CustomSize->value(), 256);
    QCOMPARE(dialog.ui->spinBox_CustomSize->maximum(), 99999999);
}

void TestSaveDialog::customSizeEditing()
{
    SaveDialog dialog;
    confirmFolder(dialog, folder(0));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    check(dialog, {32, 64});
    dialog.ui->checkBox_CustomSize->click();
    QVERIFY(dialog.ui->checkBox_CustomSize->isChecked());
    QVERIFY(dialog.ui->spinBox_CustomSize->isEnabled());
    QVERIFY(dialog.ui->label->isEnabled());

    // Leaving the spin box with the value 64 unchecks the 64 box.
    dialog.ui->spinBox_CustomSize->setFocus();
    dialog.ui->spinBox_CustomSize->setValue(64);
    QVERIFY(dialog.ui->checkBox_Size64->isChecked());
    dialog.ui->comboBox_Formats->setFocus();
    QTRY_VERIFY(!dialog.ui->checkBox_Size64->isChecked());
    QVERIFY(dialog.ui->checkBox_Size32->isChecked());

    // Return in the spin box does the same, then saves.
    dialog.ui->checkBox_Size64->setChecked(true);
    dialog.ui->spinBox_CustomSize->setFocus();
    QTest::keyClick(dialog.ui->spinBox_CustomSize, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenSizes, QList<int>({32, 64}));

    dialog.ui->checkBox_CustomSize->click();
    QVERIFY(!dialog.ui->spinBox_CustomSize->isEnabled());
    QVERIFY(!dialog.ui->label->isEnabled());
}

void TestSaveDialog::loadingSkipsMissingFolders()
{
    writeRecentDirs({folder(0), QString(), temp->path() + "/gone", folder(1), folder(0)});
    SaveDialog dialog;
    QCOMPARE(comboItems(dialog), QStringList({folder(0), folder(1)}));
    QCOMPARE(dialog.ui->comboBox_Dirs->currentIndex(), 0);
    QCOMPARE(dialog.ui->comboBox_Dirs->toolTip(), folder(0));
}

void TestSaveDialog::recentFoldersList()
{
    QStringList ten;
    for (int i = 0; i < 10; ++i)
        ten << folder(i);
    writeRecentDirs(ten);
    SaveDialog dialog;
    QCOMPARE(comboItems(dialog), ten);

    // The sixth folder, saved to, comes first.
    confirmFolder(dialog, folder(5));
    dialog.ui->pushButton_SaveImages->click();
    QStringList expected = ten;
    expected.move(5, 0);
    QCOMPARE(comboItems(dialog), expected);
    QCOMPARE(recentDirs(), expected);

    // A new folder pushes the last one out.
    confirmFolder(dialog, folder(11));
    dialog.ui->pushButton_SaveImages->click();
    expected.prepend(folder(11));
    expected.removeLast();
    QCOMPARE(comboItems(dialog), expected);
    QCOMPARE(recentDirs(), expected);
    QCOMPARE(dialog.chosenDirectory, QDir::toNativeSeparators(folder(11)));
}

void TestSaveDialog::staleKeysRemoved()
{
    const QString gone = temp->path() + "/gone";
    writeRecentDirs({folder(0), gone, folder(1), gone, folder(2)});
    {
        SaveDialog dialog;
        confirmFolder(dialog, folder(3));
        dialog.ui->pushButton_SaveImages->click();
    }
    QCOMPARE(recentDirs(), QStringList({folder(3), folder(0), folder(1), folder(2)}));
    // Saved again from a new dialog: no folder comes back twice.
    SaveDialog dialog;
    confirmFolder(dialog, folder(1));
    dialog.ui->pushButton_SaveImages->click();
    QCOMPARE(recentDirs(), QStringList({folder(1), folder(3), folder(0), folder(2)}));
    QCOMPARE(comboItems(SaveDialog()), recentDirs());
}

void TestSaveDialog::picker()
{
    SaveDialog dialog;
    QString startFolder;
    QString answer;
    // Answers the folder picker once it shows: with a folder, or cancelled.
    auto answerPicker = [&] {
        QTimer::singleShot(50, [&] {
            auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(picker);
            startFolder = picker->directory().absolutePath();
            if (answer.isEmpty()) {
                picker->reject();
            } else {
                picker->setDirectory(answer);
                QMetaObject::invokeMethod(picker, "accept");
            }
        });
    };

    // Nothing chosen yet: the picker opens at home; cancelled, the dialog stays open.
    answerPicker();
    dialog.ui->pushButton_SaveImages->click();
    QCOMPARE(startFolder, QDir::homePath());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(dialog.chosenDirectory.isNull());
    QVERIFY(recentDirs().isEmpty());

    // A folder typed in but not confirmed opens the picker there.
    dialog.ui->comboBox_Dirs->setEditText(folder(4));
    answer = folder(7);
    answerPicker();
    dialog.ui->pushButton_SaveImages->click();
    QCOMPARE(startFolder, folder(4));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenDirectory, QDir::toNativeSeparators(folder(7)));
    QCOMPARE(comboItems(dialog), QStringList({folder(7)}));
    QCOMPARE(recentDirs(), QStringList({folder(7)}));

    // The same folder again: no picker.
    startFolder.clear();
    dialog.setResult(QDialog::Rejected);
    dialog.ui->pushButton_SaveImages->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(startFolder.isEmpty());

    // The "..." button opens the picker on the current folder.
    answer = folder(8);
    answerPicker();
    dialog.ui->pushButton_Change->click();
    QCOMPARE(startFolder, folder(7));
    QCOMPARE(comboItems(dialog), QStringList({folder(8), folder(7)}));
    QCOMPARE(dialog.ui->comboBox_Dirs->currentIndex(), 0);
}

PICTAVO_TEST_MAIN(TestSaveDialog)

#include "tst_savedialog.moc"
