#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

void MainWindow::on_pushButton_AddFont_clicked()
{
}

void MainWindow::removeUserFont()
{
}
