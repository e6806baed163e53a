#include "pageloadwaiter.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebView>

PageLoadWaiter::PageLoadWaiter(QWebView* view)
    : QObject(view)
{
    connect(view, &QWebView::loadFinished, this, &PageLoadWaiter::loadFinished);
}

void PageLoadWaiter::expectLoad()
{
    finished = false;
    succeeded = false;
}

bool PageLoadWaiter::wait(int timeoutMs)
{
    if (!finished) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(this, &PageLoadWaiter::done, &loop, &QEventLoop::quit);
        timer.start(timeoutMs);
        loop.exec();
    }
    return finished && succeeded;
}

void PageLoadWaiter::loadFinished(bool ok)
{
    finished = true;
    succeeded = ok;
    emit done();
}
