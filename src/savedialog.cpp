#include "savedialog.h"

#include "ui_savedialog.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>

namespace {
const QString RECENT_DIRS_GROUP = QStringLiteral("RecentDirsForSave");
const int MAX_RECENT_DIRS = 10;
}

SaveDialog::SaveDialog(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui_SaveDialog)
{
    ui->setupUi(this);
    setLayout(ui->verticalLayout_2);
    ui->groupBox_Sizes->setLayout(ui->verticalLayout);
    adjustSize();

    sizeCheckBoxes = {ui->checkBox_Size14, ui->checkBox_Size16, ui->checkBox_Size24, ui->checkBox_Size32,
                      ui->checkBox_Size48, ui->checkBox_Size64, ui->checkBox_Size128, ui->checkBox_Size256,
                      ui->checkBox_Size512, ui->checkBox_Size1024};

    for (QCheckBox* box : qAsConst(sizeCheckBoxes))
        connect(box, SIGNAL(stateChanged(int)), this, SLOT(RefreshEnableSaveButton()));
    connect(ui->checkBox_CustomSize, SIGNAL(stateChanged(int)), this, SLOT(RefreshEnableSaveButton()));
    connect(ui->spinBox_CustomSize, SIGNAL(editingFinished()), this, SLOT(RefreshCheckedSizes()));
    connect(ui->comboBox_Formats, SIGNAL(currentIndexChanged(int)), this, SLOT(RefreshEnableSaveButton()));
    connect(ui->comboBox_Formats, SIGNAL(currentIndexChanged(int)), this, SLOT(RefreshEnableSizes()));
    connect(ui->comboBox_Dirs, SIGNAL(currentIndexChanged(int)), this, SLOT(RefreshToolTipOf_comboBox_Dirs()));
    connect(ui->comboBox_Dirs, SIGNAL(editTextChanged(QString)), this, SLOT(RefreshToolTipOf_comboBox_Dirs()));

    ui->comboBox_Dirs->setMaxCount(MAX_RECENT_DIRS);
    loadDirsList();
}

SaveDialog::~SaveDialog()
{
    delete ui;
}

void SaveDialog::SetSymbolsCount(int count)
{
    symbolsCount = count;
    RefreshEnableSaveButton();
}

QString SaveDialog::getFormat()
{
    return ui->comboBox_Formats->currentText();
}

void SaveDialog::loadDirsList()
{
    QSettings settings;
    settings.beginGroup(RECENT_DIRS_GROUP);
    QStringList dirs;
    for (int i = 0; i < MAX_RECENT_DIRS; ++i) {
        const QString dir = settings.value(QString::number(i)).toString();
        if (!dir.isEmpty() && QFileInfo(dir).isDir() && !dirs.contains(dir))
            dirs.append(dir);
    }
    settings.endGroup();
    ui->comboBox_Dirs->clear();
    ui->comboBox_Dirs->addItems(dirs);
    ui->comboBox_Dirs->setCurrentIndex(0);
}

void SaveDialog::saveDirsList()
{
    const QString current = ui->comboBox_Dirs->currentText();
    const int existing = ui->comboBox_Dirs->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (existing >= 0)
        ui->comboBox_Dirs->removeItem(existing);
    ui->comboBox_Dirs->insertItem(0, current);
    ui->comboBox_Dirs->setCurrentIndex(0);

    // The group holds exactly the list: keys left beyond it would bring
    // removed folders back as duplicates.
    QSettings settings;
    settings.beginGroup(RECENT_DIRS_GROUP);
    settings.remove(QString());
    const int count = ui->comboBox_Dirs->count();
    for (int i = 0; i < count; ++i)
        settings.setValue(QString::number(i), ui->comboBox_Dirs->itemText(i));
    settings.endGroup();
}

void SaveDialog::on_pushButton_Change_clicked()
{
    chosenDirectory = ui->comboBox_Dirs->currentText();
    chosenDirectory = QFileDialog::getExistingDirectory(
        this, tr("Open Directory"), chosenDirectory.isEmpty() ? QDir::homePath() : chosenDirectory,
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (chosenDirectory.isNull())
        return;
    chosenDirectory = QDir::toNativeSeparators(chosenDirectory);
    const int existing = ui->comboBox_Dirs->findText(chosenDirectory, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (existing >= 0)
        ui->comboBox_Dirs->removeItem(existing);
    ui->comboBox_Dirs->insertItem(0, chosenDirectory);
    ui->comboBox_Dirs->setCurrentIndex(0);
}

void SaveDialog::on_pushButton_SaveImages_clicked()
{
    const QDir dir(ui->comboBox_Dirs->currentText());
    if (dir.isRelative() || !dir.exists() || QDir::toNativeSeparators(dir.path()) != chosenDirectory) {
        on_pushButton_Change_clicked();
        if (chosenDirectory.isNull())
            return;
    }
    chosenSizes.clear();
    for (QCheckBox* box : qAsConst(sizeCheckBoxes)) {
        if (box->isChecked())
            chosenSizes.append(box->text().toInt());
    }
    if (ui->checkBox_CustomSize->isChecked() && !chosenSizes.contains(ui->spinBox_CustomSize->value()))
        chosenSizes.append(ui->spinBox_CustomSize->value());
    saveDirsList();
    accept();
}

void SaveDialog::on_checkBox_CustomSize_clicked(bool checked)
{
    ui->label->setEnabled(checked);
    ui->spinBox_CustomSize->setEnabled(checked);
}

void SaveDialog::RefreshToolTipOf_comboBox_Dirs()
{
    ui->comboBox_Dirs->setToolTip(ui->comboBox_Dirs->currentText());
}

void SaveDialog::RefreshEnableSaveButton()
{
    int n = 0;
    for (QCheckBox* box : qAsConst(sizeCheckBoxes))
        n += box->isChecked() ? 1 : 0;
    if (ui->checkBox_CustomSize->isChecked())
        ++n;
    ui->pushButton_SaveImages->setEnabled(n != 0);
    if (n == 0) {
        ui->pushButton_SaveImages->setText(QStringLiteral("Save Icons"));
        return;
    }
    const int files = (getFormat() == QLatin1String("ico") ? 1 : n) * (symbolsCount ? symbolsCount : 1);
    ui->pushButton_SaveImages->setText(files < 2 ? QStringLiteral("Save Icon")
                                                 : QStringLiteral("Save %1 Icons").arg(files));
}

void SaveDialog::RefreshEnableSizes()
{
    const bool ico = getFormat() == QLatin1String("ico");
    for (QCheckBox* box : {ui->checkBox_Size512, ui->checkBox_Size1024}) {
        box->setEnabled(!ico);
        if (ico)
            box->setChecked(false);
    }
    ui->spinBox_CustomSize->setMaximum(ico ? 256 : 99999999);
}

void SaveDialog::RefreshCheckedSizes()
{
    for (QCheckBox* box : qAsConst(sizeCheckBoxes)) {
        if (box->text().toInt() == ui->spinBox_CustomSize->value())
            box->setChecked(false);
    }
}
