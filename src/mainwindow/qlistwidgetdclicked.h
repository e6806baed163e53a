#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QListWidget>
#include <QPoint>

#include <functional>

// The glyph list of a font panel. It drops the second release of a double
// click, so that a double click on an item emits itemClicked once. It can
// also make its item widgets only when it is first shown: thousands of styled
// widgets in closed panels would slow down start-up.
class QListWidgetDClicked : public QListWidget {
    Q_OBJECT
public:
    // Makes an item widget as a child of the given viewport.
    using WidgetMaker = std::function<QWidget*(QWidget* viewport)>;

    explicit QListWidgetDClicked(QWidget* parent = nullptr);

    // Sets the widget made by `make` as the item's widget: now when the list
    // is visible, otherwise when it is next shown.
    void setItemWidgetWhenShown(QListWidgetItem* item, const WidgetMaker& make);

    // The item's widget, made and set now when it was still to come; null
    // when the item has none.
    QWidget* madeItemWidget(QListWidgetItem* item);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Monotonic, so that a release just after midnight is not taken for the
    // second half of a double click.
    QElapsedTimer lastReleaseTime;
    QPoint lastReleasePos;
    QHash<QListWidgetItem*, WidgetMaker> pendingWidgets;
};
