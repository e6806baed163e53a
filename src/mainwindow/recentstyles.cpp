#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

void MainWindow::LoadRecentTemplates()
{
}

void MainWindow::saveUserTemplate()
{
}

void MainWindow::on_listWidget_UserTemplates_pressed(const QModelIndex& index)
{
    Q_UNUSED(index)
}
