#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

#include <QIcon>

void MainWindow::LoadGradients()
{
}

int MainWindow::addGradient(QString gradient, QString color, TypePropertys type)
{
    Q_UNUSED(gradient)
    Q_UNUSED(color)
    Q_UNUSED(type)
    return -1;
}

QIcon MainWindow::CreateIcon(QString gradient, QString bgColor)
{
    Q_UNUSED(gradient)
    Q_UNUSED(bgColor)
    return QIcon();
}

void MainWindow::changedColor(TypePropertys type)
{
    Q_UNUSED(type)
}

void MainWindow::changedIconColor()
{
    changedColor(IconProperty);
}

void MainWindow::changedBkgColor()
{
    changedColor(BackgroundProperty);
}
