#include "mainwindow.h"

#include "constants.h"
#include "qtjson.h"
#include "textfile.h"
#include "ui_mainwindow.h"

#include <QCursor>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QListWidgetItem>
#include <QScriptEngine>
#include <QScriptValue>
#include <QToolTip>

namespace {

const QString TEMPLATES_ROOT = QStringLiteral(":/templates");

}

void MainWindow::LoadTemplates()
{
    QFile catalogue(TEMPLATES_ROOT + QDir::separator() + TEMPLATES_FILE_NAME);
    if (!catalogue.open(QIODevice::ReadOnly)) {
        qDebug() << "Error open file" << catalogue.fileName();
        return;
    }
    // A child of the window, it lives as long as the window does.
    auto* engine = new QScriptEngine(this);
    engine->evaluate(readTextUpToNul(catalogue), QString(), 1);
    if (engine->hasUncaughtException())
        qDebug().noquote() << QStringLiteral("Script error: %1 at line %2")
                        .arg(engine->uncaughtException().toString())
                        .arg(engine->uncaughtExceptionLineNumber());

    const QScriptValue global = engine->globalObject();
    if (global.isError())
        return;
    const QScriptValue list = global.property(VAR_NAME_TEMPLATES);
    const qint32 count = list.property(QStringLiteral("length")).toInt32();
    for (qint32 i = 0; i < count; ++i) {
        const QScriptValue entry = list.property(static_cast<quint32>(i));
        CssTemplate tmpl;
        tmpl.name = entry.property(PROPERTY_NAME).toString();
        tmpl.alias = entry.property(PROPERTY_ALIAS).toString();

        const QString pixmapPath = TEMPLATES_ROOT + QLatin1Char('/') + entry.property(PROPERTY_PIXMAP).toString();
        if (!tmpl.pixmap.load(pixmapPath))
            qDebug() << "can't load:" << pixmapPath;

        const QString cfg = entry.property(PROPERTY_CFG).toString();
        if (!cfg.isEmpty()) {
            QFile params(TEMPLATES_ROOT + QLatin1Char('/') + cfg);
            if (params.open(QIODevice::ReadOnly))
                parsingJson(params, tmpl);
            else
                qDebug() << "Error open file" << params.fileName();
        }

        const QScriptValue addon = entry.property(PROPERTY_ADDON);
        if (addon.isString()) {
            QFile addonFile(TEMPLATES_ROOT + QDir::separator() + addon.toString());
            if (addonFile.open(QIODevice::ReadOnly))
                tmpl.addon = readTextUpToNul(addonFile);
            else
                qDebug() << "Error open file " << addonFile.fileName();
        }

        const QString tooltip = entry.property(PROPERTY_TOOLTIP).toString();
        if (!tooltip.isEmpty())
            tmpl.tooltip = tooltip;

        builtinTemplates.append(tmpl);
    }
}

void MainWindow::parsingJson(QFile& file, CssTemplate& tmpl)
{
    tmpl.params = QtJson::parse(readTextUpToNul(file)).toMap();
}

void MainWindow::FillTemplateList()
{
    for (int i = 0; i < builtinTemplates.size(); ++i) {
        const CssTemplate& tmpl = builtinTemplates.at(i);
        auto* item = new QListWidgetItem;
        item->setData(Qt::UserRole, i);
        item->setData(Qt::DecorationRole, QIcon(tmpl.pixmap));
        if (!tmpl.tooltip.isEmpty())
            item->setData(Qt::ToolTipRole,
                          TOOLTIP_HTML.arg(tmpl.name, TEMPLATES_ROOT + QDir::separator() + tmpl.tooltip));
        ui->listWidget_Templates->addItem(item);
    }
}

// Applies a built-in template or a recent style to the editor and the preview.
// The applied map of a built-in template is the baseline an export compares
// with; a recent style applied as it is still counts as a new style.
void MainWindow::ApplyTemplate(CssTemplate* tmpl, bool builtin)
{
    disconnect(ui->widgetBkgColor, SIGNAL(changeColor(QString)), this, SLOT(changedBkgColor()));
    disconnect(ui->widgetIconColor, SIGNAL(changeColor(QString)), this, SLOT(changedIconColor()));

    currentTemplate = tmpl;
    ApplyCssPropertysToWidgets(currentTemplate->params, currentTemplate->addon);
    refreshHTML();
    appliedParams = builtin ? styleParams : QMap<QString, QVariant>();

    connect(ui->widgetBkgColor, SIGNAL(changeColor(QString)), this, SLOT(changedBkgColor()));
    connect(ui->widgetIconColor, SIGNAL(changeColor(QString)), this, SLOT(changedIconColor()));

    changedColor(BackgroundProperty);
    changedColor(IconProperty);
}

void MainWindow::on_listWidget_Templates_pressed(const QModelIndex& index)
{
    if (index.row() >= 0 && index.row() < builtinTemplates.size())
        ApplyTemplate(&builtinTemplates[index.row()], true);
}

void MainWindow::on_listWidget_Templates_itemClicked(QListWidgetItem* item)
{
    QToolTip::showText(QCursor::pos(), item ? item->data(Qt::ToolTipRole).toString() : QString(), nullptr);
}
