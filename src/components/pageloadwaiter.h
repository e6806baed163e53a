#pragma once

#include <QObject>

class QWebView;

// Follows the page loads of one web view, so that a caller can wait, bounded,
// for the page it set itself. QtWebKit often reports a load from inside
// setHtml(): call expectLoad() before setHtml(), wait() after it.
class PageLoadWaiter : public QObject {
    Q_OBJECT
public:
    enum { DefaultTimeoutMs = 15000 };

    explicit PageLoadWaiter(QWebView* view);

    void expectLoad();
    // Processes events until the view reports the expected load or the time
    // is up; true when the page loaded successfully.
    bool wait(int timeoutMs = DefaultTimeoutMs);
    bool isFinished() const { return finished; }

signals:
    void done();

private slots:
    void loadFinished(bool ok);

private:
    bool finished = false;
    bool succeeded = false;
};
