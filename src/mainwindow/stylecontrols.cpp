#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

void MainWindow::resetTemplate()
{
}

void MainWindow::ApplyCssPropertysToWidgets(QMap<QString, QVariant>& params, QString addon)
{
    Q_UNUSED(params)
    Q_UNUSED(addon)
}

void MainWindow::GenerateUserParams()
{
}

void MainWindow::colorSchemesButtonPush()
{
}

void MainWindow::on_checkBoxIconGradient_stateChanged(int)
{
}

void MainWindow::on_checkBoxIconShadow_stateChanged(int)
{
}

void MainWindow::on_checkBoxIconStroke_stateChanged(int)
{
}

void MainWindow::on_checkBoxBkgGradient_stateChanged(int)
{
}

void MainWindow::on_checkBoxBkgShadow_stateChanged(int)
{
}

void MainWindow::on_checkBoxBkgBorder_stateChanged(int)
{
}
