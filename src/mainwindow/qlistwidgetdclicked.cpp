#include "qlistwidgetdclicked.h"

#include <QApplication>
#include <QMouseEvent>

QListWidgetDClicked::QListWidgetDClicked(QWidget* parent)
    : QListWidget(parent)
{
}

void QListWidgetDClicked::setItemWidgetWhenShown(QListWidgetItem* item, const WidgetMaker& make)
{
    if (isVisible())
        setItemWidget(item, make(viewport()));
    else
        pendingWidgets.insert(item, make);
}

QWidget* QListWidgetDClicked::madeItemWidget(QListWidgetItem* item)
{
    const auto pending = pendingWidgets.find(item);
    if (pending != pendingWidgets.end()) {
        const WidgetMaker make = pending.value();
        pendingWidgets.erase(pending);
        setItemWidget(item, make(viewport()));
    }
    return itemWidget(item);
}

void QListWidgetDClicked::showEvent(QShowEvent* event)
{
    QListWidget::showEvent(event);
    if (pendingWidgets.isEmpty())
        return;
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    for (int row = 0; row < count() && !pendingWidgets.isEmpty(); ++row)
        madeItemWidget(item(row));
    pendingWidgets.clear();
    setUpdatesEnabled(updates);
}

void QListWidgetDClicked::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->localPos().toPoint();
    if (lastReleaseTime.isValid() && (pos - lastReleasePos).manhattanLength() <= 5
        && lastReleaseTime.elapsed() <= QApplication::doubleClickInterval()) {
        event->ignore();
        return;
    }
    lastReleaseTime.start();
    QListWidget::mouseReleaseEvent(event);
    lastReleasePos = pos;
}
