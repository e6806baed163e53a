#include "qlabelex.h"

QLabelEx::QLabelEx(QWidget* parent)
    : QLabel(parent)
{
}

void QLabelEx::mouseReleaseEvent(QMouseEvent*)
{
    emit clicked();
}

void QLabelEx::mouseDoubleClickEvent(QMouseEvent*)
{
    emit dblclicked();
}
