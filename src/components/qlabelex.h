#pragma once

#include <QLabel>

// A label that reports clicks and double clicks.
class QLabelEx : public QLabel {
    Q_OBJECT
public:
    explicit QLabelEx(QWidget* parent = nullptr);

signals:
    void dblclicked();
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
