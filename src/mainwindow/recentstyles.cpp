#include "mainwindow.h"

#include "constants.h"
#include "folders.h"
#include "qtjson.h"
#include "recentstyles.h"
#include "textfile.h"
#include "ui_mainwindow.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QListWidgetItem>
#include <QRegularExpression>
#include <QWebElement>
#include <QWebFrame>

#include <algorithm>

namespace {

const int MaxRecentStyles = 10;
const int ThumbnailSize = 128;

QString recentStylesFolder()
{
    const QString data = getApplicationSettingsPath();
    return data.isEmpty() ? QString() : data + QDir::separator() + USER_TEMPLATES_DIR;
}

// The numbered style folders, lowest number first; other entries are not ours.
QStringList styleFolders(const QString& root)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]+$"));
    QStringList names;
    for (const QString& name : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (number.match(name).hasMatch())
            names.append(name);
    }
    std::stable_sort(names.begin(), names.end(), compareForSort_QStringInt);
    return names;
}

// A style as compared with another: the font and the colour schemes do not count.
QMap<QString, QVariant> reduced(QMap<QString, QVariant> params)
{
    params.remove(PARAM_FONT_FAMILY);
    params.remove(PARAM_COLOR_SCHEMES);
    return params;
}

}

bool compareForSort_QStringInt(const QString& a, const QString& b)
{
    return a.toInt() < b.toInt();
}

void MainWindow::LoadRecentTemplates()
{
    const QString root = recentStylesFolder();
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return;

    // The reload replaces the elements a recent style pointer may still name.
    for (const CssTemplate& style : qAsConst(userTemplates)) {
        if (currentTemplate == &style)
            currentTemplate = nullptr;
    }
    userTemplates.clear();
    for (const QString& name : styleFolders(root)) {
        const QString folder = root + QDir::separator() + name + QDir::separator();
        CssTemplate style;
        style.name = name;
        if (!style.pixmap.load(folder + USER_THUMBNAIL_FILE_NAME))
            continue;
        QFile params(folder + USER_TEMPLATES_FILE_NAME);
        if (params.open(QIODevice::ReadOnly)) {
            parsingJson(params, style);
            params.close();
        }
        QFile addon(folder + USER_ADDON_FILE_NAME);
        if (addon.open(QIODevice::ReadOnly)) {
            style.addon = readTextUpToNul(addon);
            addon.close();
        }
        userTemplates.append(style);
    }

    ui->listWidget_UserTemplates->clear();
    const bool any = !userTemplates.isEmpty();
    ui->label_RecentStyles->setVisible(any);
    ui->listWidget_UserTemplates->setVisible(any);
    for (int i = 0; i < userTemplates.size(); ++i) {
        auto* item = new QListWidgetItem;
        item->setData(Qt::UserRole, i);
        item->setData(Qt::DecorationRole, QIcon(userTemplates.at(i).pixmap));
        ui->listWidget_UserTemplates->addItem(item);
    }
}

void MainWindow::saveUserTemplate()
{
    const QMap<QString, QVariant> style = reduced(styleParams);
    if (style == reduced(appliedParams))
        return;

    const QString root = recentStylesFolder();
    if (root.isEmpty())
        return;
    QDir().mkpath(root);
    const QStringList before = styleFolders(root);
    const QString name = QString::number(before.isEmpty() ? 1 : before.last().toInt() + 1);
    const QString folder = root + QDir::separator() + name + QDir::separator();
    removeDir(folder);
    QDir().mkdir(folder);

    QFile params(folder + USER_TEMPLATES_FILE_NAME);
    if (params.open(QIODevice::WriteOnly)) {
        GenerateUserParams();
        params.write(QtJson::serialize(styleParams));
        params.close();
    }
    QFile addon(folder + USER_ADDON_FILE_NAME);
    if (addon.open(QIODevice::WriteOnly)) {
        addon.write(addonLess.toUtf8());
        addon.close();
    }

    QWebElement bg = ui->webView->page()->mainFrame()->findFirstElement(QStringLiteral("#bg"));
    if (bg.isNull()) {
        qDebug() << "bla";
        return;
    }
    const QSize box = CalcRealIconSize(bg);
    QList<int> sizes = {ThumbnailSize};
    SaveWebImageToFile(sizes, int(float(box.width()) * 1.15f), int(float(box.height()) * 1.15f), currentSymbol,
                       styleParams.value(PARAM_FONT_FAMILY).toString(), QStringLiteral("png"),
                       folder + USER_THUMBNAIL_FILE_NAME, false, nullptr);

    // Older copies of this style give way to the new one.
    QStringList merged;
    for (const CssTemplate& older : qAsConst(userTemplates)) {
        if (older.name != name && reduced(older.params) == style && older.addon == addonLess) {
            removeDir(root + QDir::separator() + older.name);
            merged.append(older.name);
        }
    }
    if (before.size() - merged.size() >= MaxRecentStyles) {
        for (const QString& oldest : before) {
            if (!merged.contains(oldest)) {
                removeDir(root + QDir::separator() + oldest);
                break;
            }
        }
    }

    LoadRecentTemplates();
}

void MainWindow::on_listWidget_UserTemplates_pressed(const QModelIndex& index)
{
    if (index.row() >= 0 && index.row() < userTemplates.size())
        ApplyTemplate(&userTemplates[index.row()], false);
}
