#include "mainwindow.h"

#include "constants.h"
#include "folders.h"
#include "textfile.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QWebFrame>

namespace {

void registerFonts(const QString& folder)
{
    if (folder.isEmpty())
        return;
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.ttf"), QStringLiteral("*.otf")});
    for (const QString& name : dir.entryList())
        QFontDatabase::addApplicationFont(dir.absoluteFilePath(name));
}

}

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui_MainWindow)
{
    ui->setupUi(this);

    defaultParams.insert(PARAM_BG_COLOR, QStringLiteral("#FFFFFF"));
    defaultParams.insert(PARAM_BORDER_COLOR, QStringLiteral("#000000"));
    defaultParams.insert(PARAM_BG_SHADOW_COLOR, QStringLiteral("#000000"));
    defaultParams.insert(PARAM_COLOR, QStringLiteral("#000000"));
    defaultParams.insert(PARAM_SHADOW_COLOR, QStringLiteral("#555555"));
    defaultParams.insert(PARAM_STROKE_COLOR, QStringLiteral("#FFFFFF"));
    defaultParams.insert(PARAM_BG_OPACITY, 1);
    defaultParams.insert(PARAM_BG_SHADOW_X, 2);
    defaultParams.insert(PARAM_BG_SHADOW_Y, 2);
    defaultParams.insert(PARAM_BG_SHADOW_BLUR, 2);
    defaultParams.insert(PARAM_BORDER_WIDTH, 2);
    defaultParams.insert(PARAM_BORDER_RADIUS, 2);
    defaultParams.insert(PARAM_BG_ANGLE, 0);
    defaultParams.insert(PARAM_OPACITY, 1);
    defaultParams.insert(PARAM_SHADOW_BLUR, 2);
    defaultParams.insert(PARAM_SHADOW_X, 2);
    defaultParams.insert(PARAM_SHADOW_Y, 2);
    defaultParams.insert(PARAM_STROKE_WIDTH, 4);
    defaultParams.insert(PARAM_MOVE_X, 0);
    defaultParams.insert(PARAM_MOVE_Y, 0);
    defaultParams.insert(PARAM_ANGLE, 0);
    defaultParams.insert(PARAM_SCALE, 0);
    defaultParams.insert(PARAM_BG_LONG_SHADOW, false);
    defaultParams.insert(PARAM_LONG_SHADOW, false);

    refreshEnabled = true;
    refreshTimer.setSingleShot(true);
    connect(&refreshTimer, SIGNAL(timeout()), this, SLOT(refreshHTML()));

    ui->webView->settings()->setAttribute(QWebSettings::JavascriptEnabled, true);
    ui->webView->page()->mainFrame()->setScrollBarPolicy(Qt::Vertical, Qt::ScrollBarAlwaysOff);
    ui->webView->page()->mainFrame()->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);

    setWindowTitle(QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
    ui->pushButton_AddFont->setHidden(true);

    selectedIconsBox = new QGroupBox;
    selectedIconsLayout = new QHBoxLayout;
    selectedIconsLayout->setContentsMargins(0, 0, 0, 0);
    selectedIconsLayout->addStretch(1);
    selectedIconsBox->setLayout(selectedIconsLayout);
    ui->scrollArea_SelectedIcons->setWidget(selectedIconsBox);

    ui->widgetBkgColor->setColor(QStringLiteral("#FFFFFF"));

    currentFont.setPixelSize(50);
    currentFont.setFamily(DEFAULT_FONT_NAME);
    currentSymbol = QString::fromUcs4(&DEFAULT_CODE, 1);
    defaultSymbolInUse = true;
    saveDialog = nullptr;

    ui->webView->installEventFilter(this);
    ui->webView->setContextMenuPolicy(Qt::NoContextMenu);

    defaultLess = readTextFile(QStringLiteral(":/") + DEFAULT_LESS_NAME);
    maketHtml = readTextFile(QStringLiteral(":") + MAKET_FILE_NAME);
    engineLess = readTextFile(QStringLiteral(":") + ENGINE_LESS_NAME);

    LoadGradients();
    LoadTemplates();

    const QString resources = getResourcesPath();
    if (!resources.isEmpty())
        registerFonts(resources + QDir::separator() + FONTS_DIR);
    registerFonts(getApplicationSettingsPath());

    LoadIconList();
    FillTemplateList();
    LoadRecentTemplates();
    resetTemplate();

    ui->splitter->setSizes({400, 400, 100});

    ConnectWidgets();

    for (int i = 0; i < builtinTemplates.size(); ++i) {
        if (builtinTemplates.at(i).name == DEFAULT_TEMPLATE) {
            on_listWidget_Templates_pressed(ui->listWidget_Templates->model()->index(i, 0));
            break;
        }
    }

    ui->pushButton_SaveImages->setShortcut(QKeySequence::Save);

    const QString dataFolder = getApplicationSettingsPath();
    if (!dataFolder.isEmpty())
        QDir().mkpath(dataFolder);
}

MainWindow::~MainWindow()
{
    delete ui;
    if (ftLibrary)
        FT_Done_FreeType(ftLibrary);
}

void MainWindow::ConnectWidgets()
{
    connect(ui->widgetIconColor, SIGNAL(changeColor(QString)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->widgetIconColor, SIGNAL(changeColor(QString)), this, SLOT(changedIconColor()));
    connect(ui->checkBoxIconGradient, SIGNAL(toggled(bool)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->comboBoxIconGradient, SIGNAL(currentIndexChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxIconOpacity, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->checkBoxIconShadow, SIGNAL(toggled(bool)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->widgetIconShadowColor, SIGNAL(changeColor(QString)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxIconShadowX, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxIconShadowY, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxIconShadowBlur, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->checkBoxIconLongShadow, SIGNAL(toggled(bool)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxIconOffsetX, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxIconOffsetY, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxIconRotate, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxIconScale, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->checkBoxIconStroke, SIGNAL(toggled(bool)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->widgetIconStrokeColor, SIGNAL(changeColor(QString)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxIconStrokeWidth, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->groupBox_Background, SIGNAL(toggled(bool)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->widgetBkgColor, SIGNAL(changeColor(QString)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->widgetBkgColor, SIGNAL(changeColor(QString)), this, SLOT(changedBkgColor()));
    connect(ui->checkBoxBkgGradient, SIGNAL(toggled(bool)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->comboBoxBkgGradient, SIGNAL(currentIndexChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxBkgOpacity, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->checkBoxBkgShadow, SIGNAL(toggled(bool)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->widgetBkgShadowColor, SIGNAL(changeColor(QString)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxBkgShadowX, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxBkgShadowY, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxBkgShadowBlur, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->checkBoxBkgLongShadow, SIGNAL(toggled(bool)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->checkBoxBkgBorder, SIGNAL(toggled(bool)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->widgetBkgBorderColor, SIGNAL(changeColor(QString)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxBkgBorderWidth, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxBkgBorderRadius, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
    connect(ui->spinBoxBkgRotate, SIGNAL(valueChanged(int)), this, SLOT(refreshHTML_Deferred()));
}

void MainWindow::on_groupBox_fonts_clicked(bool)
{
    ui->groupBox_fonts->setChecked(true);
}

void MainWindow::on_groupBox_Preview_clicked(bool)
{
    ui->groupBox_Preview->setChecked(true);
}

void MainWindow::on_groupBox_AddStyle_clicked(bool)
{
    ui->groupBox_AddStyle->setChecked(true);
}
