#include "mainwindow.h"

#include "constants.h"
#include "exportsupport.h"
#include "pageloadwaiter.h"
#include "qicohandler/qicohandler.h"
#include "savedialog.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDebug>
#include <QDesktopWidget>
#include <QDir>
#include <QImageWriter>
#include <QLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QWebElement>
#include <QWebFrame>

#include <algorithm>

namespace {

const QString SizePlaceholder = QStringLiteral("%1");
const int MaxIcoSide = 256;
const int MaxListedFailures = 10;

exportsupport::WarningHandler warningHandler;

// What one export has done so far; failures are gathered into one message.
struct ExportSession {
    QString folder;
    QString styleLess;
    QMap<QString, QVariant> style;
    QString addon;
    QStringList failures;
    int written = 0;
    bool folderLost = false;
};

ExportSession* session = nullptr;
bool exportRunning = false;

// A family name goes into a file name: nothing in it may lead out of the
// folder or hide characters.
QString fileNameSafe(QString text)
{
    for (QChar& c : text) {
        const QChar::Category category = c.category();
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || category == QChar::Other_Control
            || category == QChar::Other_Format || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph)
            c = QLatin1Char('_');
    }
    return text;
}

// The glyph's full code point in lower-case hexadecimal.
QString glyphCode(const QString& text)
{
    return QString::number(text.toUcs4().value(0), 16);
}

// The file's path: the size goes where the name's placeholder is, the last
// "%1" of the path; a "%1" in the folder is left alone.
QString sizedPath(const QString& fileName, bool appendSize, const QString& sizeText)
{
    const int at = appendSize ? fileName.lastIndexOf(SizePlaceholder) : -1;
    if (at < 0)
        return fileName;
    return fileName.left(at) + sizeText + fileName.mid(at + SizePlaceholder.size());
}

// True when a file can be created in the folder right now.
bool folderWritable(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".pictavo-XXXXXX")));
    return probe.open();
}

bool writeImageFile(const QImage& image, const QString& path, const QString& format, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, format.toLatin1());
    writer.setQuality(100);
    if (!writer.write(image)) {
        *error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

}

namespace exportsupport {

void setWarningHandler(WarningHandler handler)
{
    warningHandler = std::move(handler);
}

void warn(QWidget* parent, const QString& text)
{
    if (warningHandler) {
        warningHandler(parent, text);
        return;
    }
    QMessageBox::warning(parent, QCoreApplication::applicationName(), text, QMessageBox::Ok);
}

}

void MainWindow::on_pushButton_SaveImages_clicked()
{
    if (exportRunning)
        return;
    if (!saveDialog)
        saveDialog = new SaveDialog(this);
    saveDialog->SetSymbolsCount(selectedIconsBox->layout()->count() - 1);
    if (saveDialog->exec() != QDialog::Accepted)
        return;
    QList<int> sizes = saveDialog->chosenSizes;
    if (!sizes.isEmpty())
        SaveImages(sizes, saveDialog->getFormat(), saveDialog->chosenDirectory);
}

void MainWindow::SaveImages(QList<int>& sizes, QString format, QString directory)
{
    if (exportRunning || sizes.isEmpty())
        return;
    for (int size : qAsConst(sizes)) {
        if (size < 1 || size > exportsupport::MaxIconSide) {
            exportsupport::warn(this, tr("Icons are saved at sizes from 1 to %1 px; %2 px cannot be saved.")
                                          .arg(exportsupport::MaxIconSide)
                                          .arg(size));
            return;
        }
    }
    if (!directory.isEmpty() && !directory.endsWith(QDir::separator()))
        directory += QDir::separator();
    if (!folderWritable(directory)) {
        exportsupport::warn(this, tr("The folder %1 does not exist or cannot be written to.")
                                      .arg(QDir::toNativeSeparators(directory)));
        return;
    }
    // From here on a second Save is ignored, also while the preview catches up.
    struct Running {
        Running() { exportRunning = true; }
        ~Running() { exportRunning = false; }
    } running;

    // A change made just before Save reaches the preview first.
    if (refreshTimer.isActive()) {
        PageLoadWaiter waiter(ui->webView);
        waiter.expectLoad();
        refreshHTML();
        waiter.wait(exportsupport::pageLoadTimeoutMs());
    }

    QWebElement bg = ui->webView->page()->mainFrame()->findFirstElement(QStringLiteral("#bg"));
    if (bg.isNull()) {
        qDebug() << "bla";
        return;
    }
    const QSize box = CalcRealIconSize(bg);
    const int width = int(float(box.width()) * 1.15f);
    const int height = int(float(box.height()) * 1.15f);

    // The glyphs and the style are taken now: nothing done while the export
    // runs can change what it saves.
    struct Glyph {
        QString text;
        QString family;
        QString name;
    };
    QList<Glyph> glyphs;
    const QString suffix = SizePlaceholder + QLatin1Char('.') + format;
    if (defaultSymbolInUse) {
        const QString text = QString::fromUcs4(&DEFAULT_CODE, 1);
        glyphs.append({text, DEFAULT_FONT_NAME, DEFAULT_FONT_NAME + QLatin1Char('_') + glyphCode(text) + suffix});
    } else {
        QLayout* layout = selectedIconsBox->layout();
        int position = 0;
        for (int i = 0; i < layout->count() - 1; ++i) {
            QWidget* widget = layout->itemAt(i)->widget();
            if (!widget)
                continue;
            const int at = position++;
            auto* button = qobject_cast<QPushButton*>(widget);
            if (!button || button->text().isEmpty())
                continue;
            const QString family = button->font().family();
            glyphs.append({button->text(), family,
                           fileNameSafe(family) + QLatin1Char('_') + glyphCode(button->text()) + QLatin1Char('(')
                               + QString::number(at) + QLatin1Char(')') + suffix});
        }
    }
    if (glyphs.isEmpty())
        return;
    // Glyphs of one font share their pages: render them one after another.
    std::stable_sort(glyphs.begin(), glyphs.end(),
                     [](const Glyph& a, const Glyph& b) { return a.family < b.family; });
    ExportSession exportSession;
    exportSession.folder = directory;
    exportSession.styleLess = userParamsLess;
    exportSession.style = styleParams;
    exportSession.addon = addonLess;
    refreshTimer.stop();

    const bool ico = format == QLatin1String("ico");
    int imagesPerGlyph = 0;
    for (int size : qAsConst(sizes))
        imagesPerGlyph += !ico || size <= MaxIcoSide ? 1 : 0;

    // The bar is modal: the window takes no input until the export ends.
    auto* bar = new QProgressBar;
    bar->setMaximum(glyphs.size() * imagesPerGlyph);
    bar->setValue(0);
    QDesktopWidget* desktop = QApplication::desktop();
    bar->move(desktop->width() / 2 - bar->width() / 2, desktop->height() / 2 - bar->height() / 2);
    bar->setWindowModality(Qt::ApplicationModal);
    bar->show();

    {
        exportsupport::RenderBatch batch;
        session = &exportSession;
        for (const Glyph& glyph : qAsConst(glyphs)) {
            if (exportSession.folderLost)
                break;
            SaveWebImageToFile(sizes, width, height, glyph.text, glyph.family, format, directory + glyph.name, true,
                               bar);
        }
        session = nullptr;
        // Only an export that wrote something leaves a recent style.
        if (exportSession.written > 0)
            saveUserTemplate();
    }
    bar->hide();
    delete bar;

    if (exportSession.folderLost) {
        exportsupport::warn(this, tr("Save error") + QStringLiteral("\n\n")
                                      + tr("The folder %1 can no longer be written to; the export stopped.")
                                            .arg(QDir::toNativeSeparators(directory)));
    } else if (!exportSession.failures.isEmpty()) {
        QStringList lines = exportSession.failures.mid(0, MaxListedFailures);
        if (exportSession.failures.size() > MaxListedFailures)
            lines.append(tr("and %1 more").arg(exportSession.failures.size() - MaxListedFailures));
        exportsupport::warn(this, tr("Save error") + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n')));
    }
}

void MainWindow::SaveWebImageToFile(QList<int>& sizes, int width, int height, QString text, QString fontFamily,
                                    QString format, QString fileName, bool appendSize, QProgressBar* progress)
{
    // Outside an export every failure is shown at once; during one they are
    // gathered, and a folder that can no longer be written stops the export.
    auto failed = [this](const QString& boxText, const QString& detail, bool writing) {
        if (!session) {
            exportsupport::warn(this, boxText);
            return;
        }
        session->failures.append(detail);
        if (writing && !folderWritable(session->folder))
            session->folderLost = true;
    };

    const bool ico = format == QLatin1String("ico");
    const QList<int> chosen = sizes;
    QList<QImage> icoImages;
    bool icoIncomplete = false;
    for (int size : chosen) {
        if (session && session->folderLost)
            return;
        if (ico && size > MaxIcoSide)
            continue;
        if (session) {
            userParamsLess = session->styleLess;
            styleParams = session->style;
            addonLess = session->addon;
        }
        QImage image;
        GetWebImage(image, size, width, height, text, fontFamily, format);
        const QString path = sizedPath(fileName, appendSize, ico ? QString() : QLatin1Char('_') + QString::number(size));
        const QString name = QFileInfo(path).fileName();
        if (image.isNull()) {
            const QString detail = ico ? tr("%1 (%2 px): %3").arg(name).arg(size).arg(exportsupport::lastRenderError())
                                       : tr("%1: %2").arg(name, exportsupport::lastRenderError());
            failed(tr("Save error") + QStringLiteral("\n\n") + detail, detail, false);
            icoIncomplete = true;
        } else if (ico) {
            icoImages.append(image);
        } else {
            QString error;
            if (writeImageFile(image, path, format, &error)) {
                if (session)
                    ++session->written;
            } else {
                const QString detail = tr("%1: %2").arg(name, error);
                failed(tr("Save error") + QStringLiteral("\n\n") + detail, detail, true);
            }
        }
        if (progress)
            progress->setValue(progress->value() + 1);
        QCoreApplication::processEvents();
    }
    if (!ico || icoIncomplete)
        return;

    // An ICO file is written whole or not at all.
    const QString path = sizedPath(fileName, appendSize, QString());
    const QString name = QFileInfo(path).fileName();
    if (icoImages.isEmpty()) {
        const QString detail = tr("%1: %2").arg(name, tr("Can not create ico data"));
        failed(tr("Can not create ico data"), detail, false);
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const QString message = tr("Can not open %1 for writing").arg(path);
        failed(message, message, true);
        return;
    }
    bool written = false;
    {
        QtIcoHandler handler(&file);
        written = handler.write(icoImages);
    }
    if (!written) {
        file.cancelWriting();
        const QString detail = tr("%1: %2").arg(name, tr("Can not create ico data"));
        failed(tr("Can not create ico data"), detail, true);
        return;
    }
    if (!file.commit()) {
        const QString detail = tr("%1: %2").arg(name, file.errorString());
        failed(tr("Can not create ico data"), detail, true);
        return;
    }
    if (session)
        ++session->written;
}
