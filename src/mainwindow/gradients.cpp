#include "mainwindow.h"

#include "constants.h"
#include "folders.h"
#include "pageloadwaiter.h"
#include "textfile.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QScriptEngine>
#include <QScriptValue>
#include <QUrl>
#include <QWebFrame>
#include <QWebView>

#include <memory>

namespace {

const QString CATALOGUE_SWATCH_COLOR = QStringLiteral("#FACE8D");
const QString ICON_COLOR_VARIABLE = QStringLiteral("@color");
const QString BOX_COLOR_VARIABLE = QStringLiteral("@bgColor");
const QString TRANSPARENT = QStringLiteral("transparent");
const int SWATCH_SIDE = 100;
const int EVENT_SLICE_MS = 50;
// A swatch page loads in a few tens of milliseconds; this only ends a load
// that never reports.
const int SWATCH_LOAD_TIMEOUT_MS = 5000;

// An icon gradient drawn as the page draws it on the glyph: in the icon
// colour (white for a transparent glyph), whichever colour variable it names.
QString iconSwatchGradient(QString gradient, const QString& iconColor)
{
    const QString color = iconColor == TRANSPARENT ? QStringLiteral("#FFF") : iconColor;
    gradient.replace(BOX_COLOR_VARIABLE, color);
    gradient.replace(ICON_COLOR_VARIABLE, color);
    return gradient;
}

QIcon blankSwatch()
{
    QPixmap blank(SWATCH_SIDE, SWATCH_SIDE);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

// The side's gradient list, last colour, picker and combo box.
struct GradientSide {
    QStringList* gradients;
    QString* lastColor;
    QWebColorPicker* picker;
    QComboBox* combo;
};

}

void MainWindow::LoadGradients()
{
    // Without a resources folder there is no catalogue (and no path at the root).
    const QString resources = getResourcesPath();
    const QString folder = resources + QDir::separator() + QStringLiteral("config") + QDir::separator() + GRADIENT_DIR;
    const QStringList files = resources.isEmpty() ? QStringList()
                                                  : QDir(folder).entryList({QStringLiteral("*.qs")}, QDir::Files,
                                                                           QDir::Name | QDir::IgnoreCase);
    for (const QString& name : files) {
        const QString path = folder + QLatin1Char('/') + name;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            qDebug() << "Error open file" << path;
            continue;
        }
        const QString script = readTextUpToNul(file);
        auto* engine = new QScriptEngine(this);
        engine->evaluate(script, QString(), 1);
        const QScriptValue global = engine->globalObject();
        if (global.isError()) {
            qDebug() << "Error create global object";
        } else {
            const QScriptValue list = global.property(VAR_NAME_GRADIENTS);
            const qint32 count = list.property(QStringLiteral("length")).toInt32();
            for (qint32 i = 0; i < count; ++i)
                addGradient(list.property(static_cast<quint32>(i)).property(QStringLiteral("value")).toString(),
                            CATALOGUE_SWATCH_COLOR, BackgroundProperty);
        }
        delete engine;
    }
    ui->tabWidget->setStyleSheet(QStringLiteral("QComboBox::item {min-height: 50px;}"));
}

int MainWindow::addGradient(QString gradient, QString color, TypePropertys type)
{
    if (type == IconProperty) {
        iconGradients.append(gradient);
        const int index = iconGradients.size() - 1;
        ui->comboBoxIconGradient->insertItem(
            index, CreateIcon(iconSwatchGradient(gradient, color), ui->widgetBkgColor->color()), QString(), gradient);
        return index;
    }
    bkgGradients.append(gradient);
    const int index = bkgGradients.size() - 1;
    ui->comboBoxBkgGradient->insertItem(index, CreateIcon(gradient, color), QString(), gradient);
    return index;
}

QIcon MainWindow::CreateIcon(QString gradient, QString bgColor)
{
    // A box without a colour has no gradient of its colour: the page leaves
    // such a gradient out, and the swatch stays blank.
    if (bgColor == TRANSPARENT && gradient.contains(BOX_COLOR_VARIABLE))
        return blankSwatch();

    // Deleted at the end of the call, whatever happens during the wait.
    std::unique_ptr<QWebView> view(new QWebView);
    view->setFixedSize(SWATCH_SIDE, SWATCH_SIDE);
    QWebFrame* frame = view->page()->mainFrame();
    frame->setScrollBarPolicy(Qt::Vertical, Qt::ScrollBarAlwaysOff);
    frame->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    connect(view.get(), SIGNAL(loadFinished(bool)), this, SLOT(webLoadFinished(bool)));
    auto* waiter = new PageLoadWaiter(view.get());

    const QString variables = QStringLiteral("@bgColor:%1;").arg(bgColor)
        + QStringLiteral("@width:%1px;").arg(view->width()) + QStringLiteral("@height:%1px;").arg(view->height())
        + QStringLiteral("@gradient:%1;").arg(gradient);
    QString page = GRADIENT_HTML;
    page.replace(QStringLiteral("@less"), variables);

    webLoaded = false;
    waiter->expectLoad();
    view->setHtml(page, QUrl::fromLocalFile(QDir::currentPath() + QDir::separator()));
    // Only this view's own report ends the wait: a render nested in it sets
    // the shared flag for its page, not for this one.
    const bool loaded = waiter->wait(SWATCH_LOAD_TIMEOUT_MS);

    // A successful compile turns the LESS block into plain CSS; a block still
    // waiting to be compiled means the gradient's LESS failed.
    const bool compiled = loaded
        && frame->evaluateJavaScript(QStringLiteral("document.querySelectorAll('style[type=\"text/less\"]').length"))
                   .toInt()
            == 0;

    if (!compiled) {
        qDebug() << "can't render gradient:" << gradient << "on" << bgColor << (loaded ? "(LESS error)" : "(no load)");
        return blankSwatch();
    }
    QPixmap pixmap(view->size());
    QPainter painter(&pixmap);
    painter.eraseRect(pixmap.rect());
    frame->render(&painter, QWebFrame::ContentsLayer);
    painter.end();
    return QIcon(pixmap);
}

void MainWindow::changedColor(TypePropertys type)
{
    const GradientSide side = type == IconProperty
        ? GradientSide{&iconGradients, &lastIconColor, ui->widgetIconColor, ui->comboBoxIconGradient}
        : GradientSide{&bkgGradients, &lastBkgColor, ui->widgetBkgColor, ui->comboBoxBkgGradient};

    if (side.gradients->isEmpty())
        return;
    const QString color = side.picker->color();
    if (color == *side.lastColor)
        return;
    *side.lastColor = color;
    const QString passColor = color;

    // Renders item i for this pass; false when a newer colour of this side
    // arrived meanwhile (the newer pass then owns the swatches).
    auto render = [&](int i) {
        const QString text = type == IconProperty ? iconSwatchGradient(side.gradients->at(i), lastIconColor)
                                                  : side.gradients->at(i);
        const QIcon swatch = CreateIcon(text, lastBkgColor);
        if (*side.lastColor != passColor)
            return false;
        if (i < side.combo->count())
            side.combo->setItemIcon(i, swatch);
        return true;
    };

    // The swatch shown in the closed box first.
    const int cur = side.combo->currentIndex();
    QCoreApplication::processEvents(QEventLoop::AllEvents, EVENT_SLICE_MS);
    if (*side.lastColor != passColor)
        return;
    if (cur >= 0 && cur < side.gradients->size() && !render(cur))
        return;

    for (int i = 0; i < side.gradients->size(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, EVENT_SLICE_MS);
        if (*side.lastColor != passColor)
            return;
        if (i == cur)
            continue;
        if (!render(i))
            return;
    }
}

void MainWindow::changedIconColor()
{
    changedColor(IconProperty);
}

void MainWindow::changedBkgColor()
{
    changedColor(BackgroundProperty);
}
