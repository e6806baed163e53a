#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

#include <QWebElement>

void MainWindow::GetWebImage(QImage& image, int size, int width, int height, QString text, QString fontFamily,
                             QString format)
{
    Q_UNUSED(image)
    Q_UNUSED(size)
    Q_UNUSED(width)
    Q_UNUSED(height)
    Q_UNUSED(text)
    Q_UNUSED(fontFamily)
    Q_UNUSED(format)
}

QSize MainWindow::CalcRealIconSize(QWebElement& element)
{
    Q_UNUSED(element)
    return QSize();
}

QRect MainWindow::getGeometry(QWebElement& element)
{
    Q_UNUSED(element)
    return QRect();
}
