#include "mainwindow.h"

#include "constants.h"
#include "qlistwidgetdclicked.h"
#include "ui_mainwindow.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

const char* const SPEC_FIELD = "SpecField";

QString currentButtonStyle()
{
    return QStringLiteral("QPushButton[") + QLatin1String(SPEC_FIELD)
           + QStringLiteral("=\"true\"]{border: 2px solid #37a9cb;border-radius: 10px;}");
}

QString otherButtonStyle()
{
    return QStringLiteral("QPushButton::hover[") + QLatin1String(SPEC_FIELD)
           + QStringLiteral("=\"true\"]{border: 1px solid #37a9cb;border-radius: 10px;}");
}

QLabel* cellLabel(QListWidgetItem* item)
{
    QListWidget* list = item->listWidget();
    if (auto* glyphList = qobject_cast<QListWidgetDClicked*>(list))
        return qobject_cast<QLabel*>(glyphList->madeItemWidget(item));
    return list ? qobject_cast<QLabel*>(list->itemWidget(item)) : nullptr;
}

QPushButton* buttonOfCell(QListWidgetItem* item)
{
    return reinterpret_cast<QPushButton*>(static_cast<quintptr>(item->data(Qt::UserRole).toULongLong()));
}

void markUnselected(QListWidgetItem* item)
{
    item->setData(Qt::UserRole, quint64(0));
    if (QLabel* label = cellLabel(item))
        label->setStyleSheet(ORANGE_BORDER_1PX);
}

// The earliest-added selected-icon button still in the strip, or none.
QPushButton* earliestButton(QGroupBox* box)
{
    const QList<QPushButton*> buttons = box->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
    return buttons.isEmpty() ? nullptr : buttons.first();
}

// Takes a selected-icon button out of the strip at once; it is deleted once
// the event that may be running in its close button has been delivered.
void takeOutOfStrip(QHBoxLayout* layout, QPushButton* button)
{
    layout->removeWidget(button);
    button->hide();
    button->setParent(nullptr);
    button->deleteLater();
}

}

void MainWindow::Symbols_itemClicked(QListWidgetItem* item)
{
    if (!item)
        return;
    QLabel* label = cellLabel(item);
    if (!label)
        return;

    if (QPushButton* selected = buttonOfCell(item)) {
        takeOutOfStrip(selectedIconsLayout, selected);
        markUnselected(item);
        RefreshButtonSaveIcons();
        if (QPushButton* next = earliestButton(selectedIconsBox))
            next->click();
        return;
    }

    const QFont cellFont = item->data(Qt::FontRole).value<QFont>();

    auto* button = new QPushButton(label->text());
    button->setProperty(SPEC_FIELD, true);
    button->setCursor(Qt::PointingHandCursor);
    button->setMaximumWidth(60);
    button->setMaximumHeight(40);
    button->setMinimumSize(60, 40);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto* close = new QPushButton(button);
    close->setCursor(Qt::PointingHandCursor);
    close->setFont(cellFont);
    close->setFixedSize(16, 16);
    close->setIcon(QIcon(QStringLiteral(":/close_16.png")));
    close->setFlat(true);
    close->setProperty("item", quint64(reinterpret_cast<quintptr>(item)));
    // A user font panel may go while its glyphs stay in the strip: the close
    // button then no longer points at the destroyed cell.
    connect(item->listWidget(), &QObject::destroyed, close, [close] { close->setProperty("item", quint64(0)); });

    connect(button, SIGNAL(clicked()), this, SLOT(SelectLabel()));
    connect(close, SIGNAL(clicked()), this, SLOT(PushCloseButton()));

    auto* layout = new QBoxLayout(QBoxLayout::LeftToRight, button);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(close, 0, Qt::AlignRight | Qt::AlignTop);
    button->setFlat(true);
    QFont buttonFont;
    buttonFont.setPixelSize(cellFont.pixelSize());
    buttonFont.setFamily(cellFont.family());
    button->setFont(buttonFont);

    selectedIconsLayout->insertWidget(0, button);

    item->setData(Qt::UserRole, quint64(reinterpret_cast<quintptr>(button)));
    label->setStyleSheet(ORANGE_BORDER_2PX);

    currentSymbol = label->text();
    defaultSymbolInUse = false;
    currentFont = cellFont;

    button->click();
}

void MainWindow::SelectLabel()
{
    auto* current = qobject_cast<QPushButton*>(sender());
    if (!current)
        return;
    const QString others = otherButtonStyle();
    for (QPushButton* button : selectedIconsBox->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
        button->setStyleSheet(others);
    current->setStyleSheet(currentButtonStyle());
    current->setProperty(SPEC_FIELD, true);

    currentSymbol = current->text();
    defaultSymbolInUse = false;
    currentFont = current->font();

    refreshHTML();
}

void MainWindow::PushCloseButton()
{
    auto* close = qobject_cast<QPushButton*>(sender());
    if (!close)
        return;
    auto* item = reinterpret_cast<QListWidgetItem*>(static_cast<quintptr>(close->property("item").toULongLong()));
    if (auto* button = qobject_cast<QPushButton*>(close->parentWidget()))
        takeOutOfStrip(selectedIconsLayout, button);

    // A glyph whose cell is gone was still selected.
    if (!item || item->data(Qt::UserRole).toULongLong() != 0) {
        if (QPushButton* next = earliestButton(selectedIconsBox))
            next->click();
    }
    if (item)
        markUnselected(item);
    RefreshButtonSaveIcons();
}

void MainWindow::RefreshButtonSaveIcons()
{
    QPushButton* save = ui->pushButton_SaveImages;
    const int n = selectedIconsLayout->count();
    save->setEnabled(defaultSymbolInUse || n != 1);
    const QString text = n > 2 ? tr("Save %1 Icons").arg(n - 1) : tr("Save Icon");
    if (save->text() != text) {
        // setText() replaces the shortcut by the text's mnemonic: keep the Save key.
        const QKeySequence shortcut = save->shortcut();
        save->setText(text);
        save->setShortcut(shortcut);
    }
}
