#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

void MainWindow::on_pushButton_SaveImages_clicked()
{
}

void MainWindow::SaveImages(QList<int>& sizes, QString format, QString directory)
{
    Q_UNUSED(sizes)
    Q_UNUSED(format)
    Q_UNUSED(directory)
}

void MainWindow::SaveWebImageToFile(QList<int>& sizes, int width, int height, QString text, QString fontFamily,
                                    QString format, QString fileName, bool appendSize, QProgressBar* progress)
{
    Q_UNUSED(sizes)
    Q_UNUSED(width)
    Q_UNUSED(height)
    Q_UNUSED(text)
    Q_UNUSED(fontFamily)
    Q_UNUSED(format)
    Q_UNUSED(fileName)
    Q_UNUSED(appendSize)
    Q_UNUSED(progress)
}
