#pragma once

#include <QString>
#include <QWebPage>

// A web page that stops long-running scripts without asking: it shows one
// critical message and always interrupts the script.
class QWebPageWithoutJsWarning : public QWebPage {
public:
    QWebPageWithoutJsWarning(QObject* parent, const QString& title);
    ~QWebPageWithoutJsWarning() override;

    bool shouldInterruptJavaScript() override;

private:
    QString title;
};
