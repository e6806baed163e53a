#include "qwebpagewithoutjswarning.h"

#include <QMessageBox>

QWebPageWithoutJsWarning::QWebPageWithoutJsWarning(QObject* parent, const QString& title)
    : QWebPage(parent)
    , title(title)
{
}

QWebPageWithoutJsWarning::~QWebPageWithoutJsWarning() = default;

bool QWebPageWithoutJsWarning::shouldInterruptJavaScript()
{
    QMessageBox::critical(nullptr, title, tr("The generation script to have a problem. "),
                          QMessageBox::Ok, QMessageBox::NoButton);
    return true;
}
