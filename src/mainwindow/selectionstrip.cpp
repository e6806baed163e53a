#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

void MainWindow::Symbols_itemClicked(QListWidgetItem* item)
{
    Q_UNUSED(item)
}

void MainWindow::SelectLabel()
{
}

void MainWindow::PushCloseButton()
{
}

void MainWindow::RefreshButtonSaveIcons()
{
}
