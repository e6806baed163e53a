#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class Ui_SaveDialog;

// The modal "Save Icons" dialog: sizes, output folder and format.
class SaveDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveDialog(QWidget* parent = nullptr);
    ~SaveDialog() override;

    void SetSymbolsCount(int count);
    QString getFormat();

    Ui_SaveDialog* ui;
    QList<QCheckBox*> sizeCheckBoxes;
    QList<int> chosenSizes;
    int symbolsCount = 0;
    QString chosenDirectory;

private slots:
    void on_pushButton_Change_clicked();
    void on_pushButton_SaveImages_clicked();
    void on_checkBox_CustomSize_clicked(bool checked);

public slots:
    void loadDirsList();
    void saveDirsList();
    void RefreshToolTipOf_comboBox_Dirs();
    void RefreshEnableSaveButton();
    void RefreshEnableSizes();
    void RefreshCheckedSizes();
};
