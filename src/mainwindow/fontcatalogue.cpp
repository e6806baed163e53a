#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

void MainWindow::LoadIconList()
{
}

void MainWindow::ParseFontConfigFile(const QString path, const bool isUser)
{
    Q_UNUSED(path)
    Q_UNUSED(isUser)
}

void MainWindow::insertNewItemForSymbolsList(QListWidget* list, QFont font, unsigned int code)
{
    Q_UNUSED(list)
    Q_UNUSED(font)
    Q_UNUSED(code)
}

void MainWindow::onOpenFontList()
{
}
