#include "mainwindow.h"

#include "constants.h"
#include "ui_mainwindow.h"

void MainWindow::ReplaceLess(QString text, QString fontFamily, QWebView* view, int fontSize)
{
    Q_UNUSED(text)
    Q_UNUSED(fontFamily)
    Q_UNUSED(view)
    Q_UNUSED(fontSize)
}

void MainWindow::refreshHTML()
{
}

void MainWindow::refreshHTML_Deferred()
{
}

void MainWindow::webLoadFinished(bool ok)
{
    webLoaded = ok;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    return QMainWindow::eventFilter(watched, event);
}
