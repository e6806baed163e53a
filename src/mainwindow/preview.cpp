#include "mainwindow.h"

#include "constants.h"
#include "qtjson.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QRegExp>
#include <QRegularExpression>
#include <QUrl>
#include <QWebView>

namespace {

// Fills the page template's placeholders in one pass, each at its own
// position, so that text a value brings is never substituted again.
QString fillPage(const QString& page, const QString& less, const QString& json, const QString& glyph)
{
    static const QRegularExpression placeholder(QStringLiteral("@less|@userParams|%1"));
    QString result;
    result.reserve(page.size() + less.size() + json.size());
    int last = 0;
    QRegularExpressionMatchIterator it = placeholder.globalMatch(page);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        result += page.midRef(last, match.capturedStart() - last);
        const QStringRef name = match.capturedRef();
        result += name == QLatin1String("@less") ? less : name == QLatin1String("@userParams") ? json : glyph;
        last = match.capturedEnd();
    }
    result += page.midRef(last);
    return result;
}

}

void MainWindow::ReplaceLess(QString text, QString fontFamily, QWebView* view, int fontSize)
{
    const QString page = maketHtml;
    // The family goes in as given: QString::replace() would take a backslash
    // and a digit in it for a back reference.
    QString variables;
    {
        const QRegExp familyLine(QStringLiteral("@fontFamily :([^;]*);"));
        const QString line = QStringLiteral("@fontFamily :") + fontFamily + QLatin1Char(';');
        int last = 0;
        for (int pos = familyLine.indexIn(userParamsLess); pos >= 0;
             pos = familyLine.indexIn(userParamsLess, pos + familyLine.matchedLength())) {
            variables += userParamsLess.midRef(last, pos - last) + line;
            last = pos + familyLine.matchedLength();
        }
        variables += userParamsLess.midRef(last);
    }

    QString less = defaultLess;
    if (fontSize != 0)
        less += QStringLiteral("\n@fontSize: %1px;\n").arg(fontSize);
    less += variables + addonLess + engineLess;

    const QByteArray json = QtJson::serialize(styleParams);
    const int nul = json.indexOf('\0');
    const QString params = QString::fromUtf8(nul < 0 ? json : json.left(nul));

    webLoaded = false;

    const QVector<uint> codes = text.toUcs4();
    const QString glyph = codes.isEmpty() ? QString()
                                          : QStringLiteral("&#x") + QString::number(codes.first(), 16) + QLatin1Char(';');

    view->setHtml(fillPage(page, less, params, glyph),
                  QUrl::fromLocalFile(QDir::currentPath() + QDir::separator()));
}

void MainWindow::refreshHTML()
{
    refreshTimer.stop();
    GenerateUserParams();
    ReplaceLess(currentSymbol, styleParams.value(PARAM_FONT_FAMILY).toString(), ui->webView, 0);
    RefreshButtonSaveIcons();
}

void MainWindow::refreshHTML_Deferred()
{
    if (refreshEnabled)
        refreshTimer.start(100);
}

void MainWindow::webLoadFinished(bool ok)
{
    webLoaded = ok;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    return QMainWindow::eventFilter(watched, event);
}
