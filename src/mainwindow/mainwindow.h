#pragma once

#include <QFont>
#include <QMainWindow>
#include <QMap>
#include <QModelIndex>
#include <QPixmap>
#include <QTimer>
#include <QVariant>

#include <ft2build.h>
#include FT_FREETYPE_H

class QFile;
class QGroupBox;
class QHBoxLayout;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QWebElement;
class QWebView;
class SaveDialog;
class Ui_MainWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // One style: a built-in template or a recent style.
    struct CssTemplate {
        QString name;
        QString alias;
        QMap<QString, QVariant> params;
        QPixmap pixmap;
        QString addon;
        QString tooltip;
    };

    // The side a gradient list or colour change belongs to.
    enum TypePropertys {
        IconProperty = 0,
        BackgroundProperty = 1
    };

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void changedColor(TypePropertys type);
    void changedIconColor();
    void changedBkgColor();
    void GenerateUserParams();
    void refreshHTML_Deferred();
    void refreshHTML();
    void PushCloseButton();
    void SelectLabel();
    void Symbols_itemClicked(QListWidgetItem* item);
    void RefreshButtonSaveIcons();
    void webLoadFinished(bool ok);
    void colorSchemesButtonPush();
    void onOpenFontList();
    void removeUserFont();

private slots:
    void on_pushButton_SaveImages_clicked();
    void on_checkBoxIconGradient_stateChanged(int state);
    void on_checkBoxIconShadow_stateChanged(int state);
    void on_checkBoxIconStroke_stateChanged(int state);
    void on_checkBoxBkgGradient_stateChanged(int state);
    void on_checkBoxBkgShadow_stateChanged(int state);
    void on_checkBoxBkgBorder_stateChanged(int state);
    void on_listWidget_Templates_pressed(const QModelIndex& index);
    void on_groupBox_fonts_clicked(bool checked);
    void on_groupBox_Preview_clicked(bool checked);
    void on_groupBox_AddStyle_clicked(bool checked);
    void on_pushButton_AddFont_clicked();
    void on_listWidget_UserTemplates_pressed(const QModelIndex& index);
    void on_listWidget_Templates_itemClicked(QListWidgetItem* item);

public:
    // Wiring of the style controls (constructor only).
    void ConnectWidgets();

    // Style controls and the parameter map.
    void resetTemplate();
    void ApplyCssPropertysToWidgets(QMap<QString, QVariant>& params, QString addon);

    // Page assembly.
    void ReplaceLess(QString text, QString fontFamily, QWebView* view, int fontSize);

    // Gradient catalogue and swatches.
    void LoadGradients();
    int addGradient(QString gradient, QString color, TypePropertys type);
    QIcon CreateIcon(QString gradient, QString bgColor);

    // Built-in templates and recent styles.
    void LoadTemplates();
    void parsingJson(QFile& file, CssTemplate& tmpl);
    void ApplyTemplate(CssTemplate* tmpl, bool builtin);
    void FillTemplateList();
    void LoadRecentTemplates();
    void saveUserTemplate();

    // Offscreen rendering and export.
    void GetWebImage(QImage& image, int size, int width, int height, QString text, QString fontFamily,
                     QString format);
    QSize CalcRealIconSize(QWebElement& element);
    QRect getGeometry(QWebElement& element);
    void SaveImages(QList<int>& sizes, QString format, QString directory);
    void SaveWebImageToFile(QList<int>& sizes, int width, int height, QString text, QString fontFamily,
                            QString format, QString fileName, bool appendSize, QProgressBar* progress);

    // Icon-font catalogue.
    void LoadIconList();
    void ParseFontConfigFile(const QString path, const bool isUser);
    void insertNewItemForSymbolsList(QListWidget* list, QFont font, unsigned int code);

    // State shared by the style engine and the glyph catalogue.
    QString maketHtml;
    QString defaultLess;
    QString addonLess;
    QString userParamsLess;
    QString engineLess;
    QMap<QString, QVariant> styleParams;
    QMap<QString, QVariant> defaultParams;
    QMap<QString, QVariant> appliedParams;
    Ui_MainWindow* ui;
    QString currentSymbol;
    QFont currentFont;
    QString lastBkgColor;
    QStringList bkgGradients;
    QString lastIconColor;
    QStringList iconGradients;
    QGroupBox* selectedIconsBox = nullptr;
    QHBoxLayout* selectedIconsLayout = nullptr;
    QList<CssTemplate> builtinTemplates;
    QList<CssTemplate> userTemplates;
    SaveDialog* saveDialog = nullptr;
    QTimer refreshTimer;
    FT_Library ftLibrary = nullptr;
    bool refreshEnabled = true;
    bool webLoaded = false;
    CssTemplate* currentTemplate = nullptr;
    bool defaultSymbolInUse = true;
};
