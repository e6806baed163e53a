#include "mainwindow.h"

#include "constants.h"
#include "folders.h"
#include "qlistwidgetdclicked.h"
#include "qtjson.h"
#include "textfile.h"
#include "ui_mainwindow.h"

#include <QCheckBox>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegExp>
#include <QTextCodec>

#include FT_TYPES_H

namespace {

const uint LAST_CODE_POINT = 0x10FFFF;

const QString GLYPH_LIST_STYLE = QStringLiteral(
    "QListWidget { background-color: #f6ebcd }QListWidget QAbstractItemView::item{color:#FFFFFF;outline:0px;}");

// A font named by a config must be a plain file name of the font folder:
// no separators, no "." or "..", and a regular file (not a folder, FIFO or
// device, which FreeType would read from or block on).
bool isPlainFontFile(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
        return false;
    return QFileInfo(folder + QLatin1Char('/') + name).isFile();
}

// Codes of a "templates" list: single codes and inclusive ranges separated by
// commas. Ranges list only the codes the face maps; codes outside 1..U+10FFFF
// and tokens that are not numbers give nothing.
QVector<uint> codesFromList(FT_Face face, const QString& list)
{
    static const QRegExp range(QStringLiteral("([0x123456789abcdef]*)-([0x123456789abcdef]*)"));
    QVector<uint> codes;
    QRegExp rx = range;
    const QStringList tokens = list.split(QLatin1Char(','));
    for (const QString& raw : tokens) {
        const QString token = raw.trimmed();
        bool ok = false;
        if (rx.indexIn(token, 0) == 0) {
            bool okLast = false;
            const qint64 first = qMax<qint64>(rx.cap(1).toInt(&ok, 0), 1);
            const qint64 last = qMin<qint64>(rx.cap(2).toInt(&okLast, 0), LAST_CODE_POINT);
            if (!ok || !okLast)
                continue;
            for (qint64 code = first; code <= last; ++code) {
                if (FT_Get_Char_Index(face, static_cast<FT_ULong>(code)) != 0)
                    codes.append(static_cast<uint>(code));
            }
        } else {
            const int code = token.toInt(&ok, 0);
            if (ok && code > 0 && static_cast<uint>(code) <= LAST_CODE_POINT)
                codes.append(static_cast<uint>(code));
        }
    }
    return codes;
}

// Every mapped code of the face's character map, ascending, without the
// glyphs whose names are in ignoreGlyphNames.
QVector<uint> codesFromCharMap(FT_Face face)
{
    QVector<uint> codes;
    char name[64] = {};
    const bool hasNames = (face->face_flags & FT_FACE_FLAG_GLYPH_NAMES) != 0;
    QTextCodec* local = QTextCodec::codecForLocale();
    FT_UInt index = 0;
    FT_ULong code = FT_Get_First_Char(face, &index);
    while (index != 0) {
        if (code > 0 && code <= LAST_CODE_POINT && FT_Get_Char_Index(face, code) != 0) {
            bool skip = false;
            if (hasNames && FT_Get_Glyph_Name(face, index, name, 63) == 0) {
                const QString glyphName = local->toUnicode(name, static_cast<int>(qstrnlen(name, 63)));
                skip = ignoreGlyphNames.contains(glyphName, Qt::CaseInsensitive);
            }
            if (!skip)
                codes.append(static_cast<uint>(code));
        }
        const FT_ULong next = FT_Get_Next_Char(face, code, &index);
        if (next <= code)
            break;
        code = next;
    }
    return codes;
}

}

void MainWindow::LoadIconList()
{
    if (FT_Init_FreeType(&ftLibrary) != 0) {
        qDebug() << "ErrorInitFreeTypeLibrary";
        ftLibrary = nullptr;
    }

    const QStringList filter{QStringLiteral("*.json")};
    QDir dir;
    dir.setNameFilters(filter);
    dir.setFilter(QDir::Files);

    const QString resources = getResourcesPath();
    if (!resources.isEmpty()) {
        dir.setPath(resources + QDir::separator() + QStringLiteral("config") + QDir::separator() + ICONS_DIR);
        for (const QString& name : dir.entryList())
            ParseFontConfigFile(dir.path() + QLatin1Char('/') + name, false);
    }

    const QString dataFolder = getApplicationSettingsPath();
    if (!dataFolder.isEmpty()) {
        dir.setPath(dataFolder);
        for (const QString& name : dir.entryList())
            ParseFontConfigFile(dir.path() + QLatin1Char('/') + name, true);
    }
}

void MainWindow::ParseFontConfigFile(const QString path, const bool isUser)
{
    QFile file(path);
    // Only regular files are opened: a FIFO would block the open.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        qDebug() << "Error open file" << path;
        return;
    }
    bool parsed = false;
    const QVariant json = QtJson::parse(readTextUpToNul(file), parsed);
    file.close();
    if (!parsed || json.type() != QVariant::Map) {
        qDebug() << "ErrorParseConfig" << path;
        return;
    }
    const QVariantMap config = json.toMap();
    const auto text = [&config](const QString& key) {
        const QVariant value = config.value(key);
        return value.type() == QVariant::List || value.type() == QVariant::Map ? QString() : value.toString();
    };

    auto* frame = new QFrame(this);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(1, 1, 1, 1);
    grid->setVerticalSpacing(2);

    auto* checkBox = new QCheckBox(frame);
    checkBox->setCursor(Qt::PointingHandCursor);
    auto* caption = new QLabel(text(VAR_NAME_FONT_CAPTION), frame);
    auto* author = new QLabel(QStringLiteral("author"), frame);
    QFont labelFont = caption->font();
    labelFont.setFamily(QStringLiteral("Lato"));
    caption->setFont(labelFont);
    author->setFont(labelFont);
    author->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    author->setOpenExternalLinks(true);

    auto* list = new QListWidgetDClicked(frame);
    list->setCursor(Qt::PointingHandCursor);
    list->setAttribute(Qt::WA_MacShowFocusRect, false);
    list->setStyleSheet(GLYPH_LIST_STYLE);

    grid->addWidget(checkBox, 0, 0);
    grid->addWidget(caption, 0, 1);
    grid->addWidget(author, 0, 2);

    if (isUser) {
        auto* remove = new QPushButton(frame);
        remove->setIcon(QIcon(QStringLiteral(":/close_24.png")));
        remove->setFlat(true);
        remove->setCursor(Qt::PointingHandCursor);
        remove->setProperty("file", path);
        connect(remove, SIGNAL(clicked()), this, SLOT(removeUserFont()));
        grid->addWidget(remove, 0, 3, Qt::AlignRight);
    }

    grid->setColumnStretch(3, 1);
    grid->addWidget(list, 1, 0, 1, 4);

    const bool open = ui->verticalLayout_Fonts->count() == 2;
    checkBox->setChecked(open);
    list->setVisible(open);

    connect(checkBox, SIGNAL(clicked(bool)), list, SLOT(setVisible(bool)));
    connect(checkBox, SIGNAL(clicked()), this, SLOT(onOpenFontList()));
    connect(list, SIGNAL(itemClicked(QListWidgetItem*)), this, SLOT(Symbols_itemClicked(QListWidgetItem*)));
    connect(list, SIGNAL(itemDoubleClicked(QListWidgetItem*)), this, SLOT(Symbols_itemClicked(QListWidgetItem*)));

    list->setViewMode(QListView::IconMode);
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setSpacing(5);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::NoSelection);

    ui->verticalLayout_Fonts->insertWidget(ui->verticalLayout_Fonts->count() - 1, frame);

    const QString base = isUser ? getApplicationSettingsPath() : getResourcesPath();
    const QString fontFolder = base.isEmpty() ? QString() : isUser ? base : base + QDir::separator() + FONTS_DIR;
    const QString fontName = text(VAR_NAME_FONT);
    const QString fontPath = QFileInfo(fontFolder).absoluteFilePath() + QDir::separator() + fontName;
    FT_Face face = nullptr;
    if (!ftLibrary || !isPlainFontFile(fontFolder, fontName)
        || FT_New_Face(ftLibrary, fontPath.toUtf8().constData(), 0, &face) != 0) {
        qDebug() << "ErrorLoadFont " << fontPath;
        return;
    }

    QFont glyphFont;
    glyphFont.setFamily(face->family_name ? QString::fromUtf8(face->family_name) : QString());
    glyphFont.setPixelSize(32);

    const QVector<uint> codes = config.contains(VAR_NAME_TEMPLATES) ? codesFromList(face, text(VAR_NAME_TEMPLATES))
                                                                    : codesFromCharMap(face);
    list->setUpdatesEnabled(false);
    for (const uint code : codes)
        insertNewItemForSymbolsList(list, glyphFont, code);
    list->setUpdatesEnabled(true);

    // One pass, so that a "%2" in the author's text stays as it is.
    author->setText(QStringLiteral("<a href=\"%2\">%1</a>")
                        .arg(text(VAR_NAME_AUTHOR).toHtmlEscaped(), text(VAR_NAME_LINK).toHtmlEscaped()));
}

void MainWindow::insertNewItemForSymbolsList(QListWidget* list, QFont font, unsigned int code)
{
    auto* item = new QListWidgetItem;
    item->setFlags(Qt::NoItemFlags);
    item->setSizeHint(QSize(45, 45));
    // Set before the item is in the list, where every change makes the view
    // measure the item again.
    item->setData(Qt::FontRole, font);
    // Made in the viewport, where the list puts it anyway, so that it shares
    // the list's style sheet style instead of making one of its own.
    const auto makeLabel = [font, code](QWidget* viewport) {
        auto* label = new QLabel(QString::fromUcs4(&code, 1), viewport);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(font);
        label->setStyleSheet(ORANGE_BORDER_1PX);
        // Sized as its cell, so that showing it does not measure its text.
        label->resize(45, 45);
        return label;
    };
    list->insertItem(list->count(), item);
    if (auto* glyphList = qobject_cast<QListWidgetDClicked*>(list))
        glyphList->setItemWidgetWhenShown(item, makeLabel);
    else
        list->setItemWidget(item, makeLabel(list->viewport()));
}

void MainWindow::onOpenFontList()
{
    auto* sender = qobject_cast<QCheckBox*>(this->sender());
    if (!sender || !sender->parentWidget() || !sender->parentWidget()->parentWidget())
        return;
    QWidget* holder = sender->parentWidget()->parentWidget();
    const QList<QFrame*> panels = holder->findChildren<QFrame*>(QString(), Qt::FindDirectChildrenOnly);
    for (QFrame* panel : panels) {
        auto* list = panel->findChild<QListWidget*>();
        auto* checkBox = panel->findChild<QCheckBox*>();
        if (!list || !checkBox)
            break;
        if (checkBox != sender) {
            checkBox->setChecked(false);
            list->setVisible(false);
        }
    }
}
