#include "mainwindow.h"

#include "exportsupport.h"
#include "pageloadwaiter.h"
#include "qtjson.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QMap>
#include <QPainter>
#include <QWebElement>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

const int MinViewSide = 64;
const double Pi = 3.141592653589793;
const QString GlyphPlaceholder = QStringLiteral("%1");

QString renderError;
int loadTimeoutMs = 30000;

// Offscreen pages stop a runaway script without asking anybody; the page
// then fails its style check and is reported.
class OffscreenPage : public QWebPage {
public:
    explicit OffscreenPage(QObject* parent)
        : QWebPage(parent)
    {
    }
    bool shouldInterruptJavaScript() override { return true; }
};

QWebView* newOffscreenView(MainWindow* window, int side)
{
    auto* view = new QWebView;
    view->setPage(new OffscreenPage(view));
    QObject::connect(view, SIGNAL(loadFinished(bool)), window, SLOT(webLoadFinished(bool)));
    view->setFixedSize(side, side);
    // A view that is never shown gets no resize event: size its page here.
    view->page()->setViewportSize(QSize(side, side));
    view->page()->mainFrame()->setScrollBarPolicy(Qt::Vertical, Qt::ScrollBarAlwaysOff);
    view->page()->mainFrame()->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    view->move(0, QApplication::desktop()->height() + 10);
    view->setRenderHint(QPainter::Antialiasing);
    view->setRenderHint(QPainter::TextAntialiasing);
    view->setRenderHint(QPainter::SmoothPixmapTransform);
    // High-quality antialiasing is obsolete: raster painting ignores it.
    return view;
}

// The LESS compiler leaves its error box in the page, or leaves the block
// uncompiled when its script was stopped.
bool styleCompiled(QWebFrame* frame)
{
    return frame->findFirstElement(QStringLiteral("[id^=\"less-error-message\"]")).isNull()
        && frame->findFirstElement(QStringLiteral("style[type=\"text/less\"]")).isNull();
}

}

namespace exportsupport {

QString lastRenderError()
{
    return renderError;
}

int pageLoadTimeoutMs()
{
    return loadTimeoutMs;
}

void setPageLoadTimeoutMs(int milliseconds)
{
    loadTimeoutMs = milliseconds;
}

struct RenderBatch::Private {
    struct Page {
        std::unique_ptr<QWebView> view;
        QString key;
        bool glyphSwappable = false;
        bool ready = false;
    };
    std::map<int, Page> pages; // by view side
    int loads = 0;
    int swaps = 0;
};

namespace {
RenderBatch::Private* activeBatch = nullptr;
}

RenderBatch::RenderBatch()
    : d(activeBatch ? nullptr : new Private)
{
    if (d)
        activeBatch = d;
}

RenderBatch::~RenderBatch()
{
    if (!d)
        return;
    activeBatch = nullptr;
    delete d;
}

int RenderBatch::pageLoads() const
{
    return d ? d->loads : 0;
}

int RenderBatch::glyphSwaps() const
{
    return d ? d->swaps : 0;
}

}

void MainWindow::GetWebImage(QImage& image, int size, int width, int height, QString text, QString fontFamily,
                             QString format)
{
    using exportsupport::activeBatch;
    renderError.clear();
    image = QImage();
    if (size < 1 || size > exportsupport::MaxIconSide) {
        renderError = tr("%1 px is not a size that can be rendered (1 to %2 px)")
                          .arg(size)
                          .arg(exportsupport::MaxIconSide);
        return;
    }
    const QVector<uint> codes = text.toUcs4();
    if (codes.isEmpty()) {
        renderError = tr("no glyph to render");
        return;
    }

    const int side = qMax(size, MinViewSide);
    const int box = qMax(width, height);
    // A box that measures nothing keeps the page's own font size.
    const int fontSize = box > 0 ? int(std::floor(float(side) * 100.0f / float(box))) : 0;
    const bool transparent = format == QLatin1String("png") || format == QLatin1String("ico");

    // Everything the page is made of but the glyph and the page parts, which
    // do not change after construction.
    const QByteArray json = QtJson::serialize(styleParams);
    const QString key = QStringList({fontFamily, QString::number(fontSize), transparent ? "t" : "w", userParamsLess,
                                     addonLess, QString::fromUtf8(json)})
                            .join(QChar(0x1F));

    std::unique_ptr<QWebView> ownView;
    QWebView* view = nullptr;
    exportsupport::RenderBatch::Private::Page* page = nullptr;
    bool loadPage = true;
    if (activeBatch) {
        page = &activeBatch->pages[side];
        if (!page->view)
            page->view.reset(newOffscreenView(this, side));
        view = page->view.get();
        if (page->ready && page->glyphSwappable && page->key == key) {
            QWebElement span = view->page()->mainFrame()->findFirstElement(QStringLiteral("#bg span"));
            if (!span.isNull()) {
                span.setPlainText(QString::fromUcs4(&codes.first(), 1));
                loadPage = false;
                ++activeBatch->swaps;
            }
        }
        page->ready = false;
    } else {
        ownView.reset(newOffscreenView(this, side));
        view = ownView.get();
    }
    QWebFrame* frame = view->page()->mainFrame();

    if (loadPage) {
        {
            PageLoadWaiter waiter(view);
            waiter.expectLoad();
            ReplaceLess(text, fontFamily, view, fontSize);
            if (!waiter.wait(loadTimeoutMs)) {
                view->stop();
                renderError = tr("the page did not load");
                return;
            }
        }
        if (activeBatch)
            ++activeBatch->loads;
        if (!styleCompiled(frame)) {
            renderError = tr("the style did not compile");
            return;
        }
        QWebElement body = frame->findFirstElement(QStringLiteral("body"));
        if (!body.isNull())
            body.setStyleProperty(QStringLiteral("background"), transparent ? QString() : QStringLiteral("white"));
        if (page) {
            page->key = key;
            // The page is filled in one pass, so the glyph stands only where
            // the template has its placeholder: in the span, when once.
            page->glyphSwappable = maketHtml.count(GlyphPlaceholder) == 1;
        }
    }

    QPalette palette = ui->webView->palette();
    palette.setBrush(QPalette::Base, QBrush(QColor(255, 255, 255, 0)));
    view->page()->setPalette(palette);

    QImage rendered(side, side, QImage::Format_ARGB32_Premultiplied);
    if (rendered.isNull()) {
        renderError = tr("not enough memory for a %1 px image").arg(side);
        return;
    }
    rendered.fill(Qt::transparent);
    {
        QPainter painter(&rendered);
        painter.setRenderHints(ui->webView->renderHints());
        frame->render(&painter, QWebFrame::ContentsLayer, QRegion());
    }
    image = rendered.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (page)
        page->ready = true;
}

QSize MainWindow::CalcRealIconSize(QWebElement& element)
{
    QString transform = element.styleProperty(QStringLiteral("-webkit-transform"), QWebElement::CascadedStyle);
    transform.remove(QStringLiteral("rotate("));
    transform.remove(QStringLiteral("deg)"));
    const int angle = transform.toInt();

    const QRect geometry = getGeometry(element);
    int w = geometry.width();
    int h = geometry.height();
    if (ui->checkBoxBkgBorder->isChecked()) {
        w += 2 * ui->spinBoxBkgBorderWidth->value();
        h += 2 * ui->spinBoxBkgBorderWidth->value();
    }

    const int a = angle % 360;
    const double r = double(float(a * Pi / 180.0));
    const double c = std::cos(r);
    const double s = std::sin(r);
    int width = std::abs(int(w * c)) + std::abs(int(h * s));
    int height = std::abs(int(w * s)) + std::abs(int(h * c));

    if (ui->checkBoxBkgShadow->isChecked()) {
        const int b = ui->spinBoxBkgShadowBlur->value() / 2;
        const int ax = std::abs(ui->spinBoxBkgShadowX->value()) + b;
        const int ay = std::abs(ui->spinBoxBkgShadowY->value()) + b;
        width += std::abs(int(ax * c)) + std::abs(int(ay * s));
        height += std::abs(int(ax * s)) + std::abs(int(ay * c));
    }
    return QSize(width, height);
}

QRect MainWindow::getGeometry(QWebElement& element)
{
    const int width = element.evaluateJavaScript(QStringLiteral("parseInt(this.offsetWidth);")).toInt();
    const int height = element.evaluateJavaScript(QStringLiteral("parseInt(this.offsetHeight);")).toInt();
    return QRect(0, 0, width, height);
}
