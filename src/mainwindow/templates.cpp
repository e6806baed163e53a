#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

#include <QFile>

void MainWindow::LoadTemplates()
{
}

void MainWindow::parsingJson(QFile& file, CssTemplate& tmpl)
{
    Q_UNUSED(file)
    Q_UNUSED(tmpl)
}

void MainWindow::FillTemplateList()
{
}

void MainWindow::on_listWidget_Templates_pressed(const QModelIndex& index)
{
    Q_UNUSED(index)
}

void MainWindow::on_listWidget_Templates_itemClicked(QListWidgetItem* item)
{
    Q_UNUSED(item)
}
