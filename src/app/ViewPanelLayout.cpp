#include "ViewPanelLayout.h"

#include <QWidget>

#include <algorithm>

ViewPanelLayout::ViewPanelLayout(QWidget *parent) : QHBoxLayout(parent) {}

int ViewPanelLayout::viewWidth(const QRect &rect) const
{
    const QRect inner = rect.marginsRemoved(contentsMargins());
    QLayoutItem *view = itemAt(0);
    QLayoutItem *column = itemAt(1);
    int room = inner.width();
    if (column && !column->isEmpty())
        room -= column->minimumSize().width() + spacing();
    const int minimum = view ? view->minimumSize().width() : 0;
    return std::max(minimum, std::min(inner.height(), room));
}

void ViewPanelLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    QLayoutItem *view = itemAt(0);
    if (!view)
        return;
    const QRect inner = rect.marginsRemoved(contentsMargins());
    const int width = viewWidth(rect);
    view->setGeometry(QRect(inner.left(), inner.top(), width, inner.height()));
    QLayoutItem *column = itemAt(1);
    if (column && !column->isEmpty()) {
        const int left = inner.left() + width + spacing();
        column->setGeometry(QRect(left, inner.top(), std::max(0, inner.right() + 1 - left), inner.height()));
    }
}
