#include "userfonts.h"

#include "mainwindow.h"

#include "constants.h"
#include "folders.h"
#include "qtjson.h"
#include "textfile.h"
#include "ui_mainwindow.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>

namespace {

QString jsonEscaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + QString(c);
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

bool configNamesFont(const QString& path, const QString& fontFileName)
{
    if (!QFileInfo(path).isFile())
        return false;
    bool parsed = false;
    const QVariant json = QtJson::parse(readTextFile(path), parsed);
    return parsed && json.type() == QVariant::Map
           && json.toMap().value(VAR_NAME_FONT).toString() == fontFileName;
}

}

namespace userfonts {

QString installFontFile(const QString& source, const QString& folder)
{
    const QFileInfo from(source);
    if (!from.isFile())
        return QString();
    const QString target = folder + QDir::separator() + from.fileName();
    const QFileInfo to(target);
    if (to.isFile() && to.canonicalFilePath() == from.canonicalFilePath())
        return target;

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly) || !QDir().mkpath(folder))
        return QString();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return QString();
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(buffer.data(), buffer.size());
        if (read == 0)
            break;
        if (read < 0 || out.write(buffer.constData(), read) != read) {
            out.cancelWriting();
            return QString();
        }
    }
    return out.commit() ? target : QString();
}

QByteArray configText(const QString& fontFileName)
{
    const QString text = QStringLiteral("{\n\"author\":    \"\",\n\"link\":  \"\",\n\"font\":  \"")
                         + jsonEscaped(fontFileName) + QStringLiteral("\",\n\"name\": \"")
                         + jsonEscaped(QFileInfo(fontFileName).baseName()) + QStringLiteral("\"\n}");
    return text.toUtf8();
}

QString fontConfigFor(const QString& folder, const QString& fontFileName)
{
    const QString base = folder + QDir::separator() + QFileInfo(fontFileName).baseName();
    const QByteArray text = configText(fontFileName);
    for (int n = 1; n <= 1000; ++n) {
        const QString path = base + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + QStringLiteral(".json");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const bool written = file.write(text) == text.size() && file.flush();
            file.close();
            if (written)
                return path;
            file.remove();
            return QString();
        }
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return QString();
        if (configNamesFont(path, fontFileName))
            return path;
    }
    return QString();
}

}

void MainWindow::on_pushButton_AddFont_clicked()
{
    const QString chosen =
        QFileDialog::getOpenFileName(this, tr("Open font file"), QDir::homePath(), tr("Fonts (*.ttf)"));
    if (chosen.isEmpty())
        return;

    // With no data folder the copy fails like any other.
    const QString folder = getApplicationSettingsPath();
    const QString installed = folder.isEmpty() ? QString() : userfonts::installFontFile(chosen, folder);
    if (installed.isEmpty()) {
        QMessageBox::warning(this, QCoreApplication::applicationName(), tr("Can't copy file"), QMessageBox::Ok);
        return;
    }
    QFontDatabase::addApplicationFont(installed);

    const QString fileName = QFileInfo(installed).fileName();
    const QString config = userfonts::fontConfigFor(folder, fileName);
    if (config.isEmpty()) {
        qDebug() << "Error open file" << folder + QDir::separator() + QFileInfo(fileName).baseName() + ".json";
        return;
    }
    ParseFontConfigFile(config, true);
}

void MainWindow::removeUserFont()
{
    auto* button = qobject_cast<QPushButton*>(sender());
    if (!button)
        return;
    QFile::remove(button->property("file").toString());
    if (QWidget* panel = button->parentWidget())
        panel->deleteLater();
}
