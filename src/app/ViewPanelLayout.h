#pragma once

#include <QHBoxLayout>

// The central frame's row: the square view on the left and the panel
// column on the right. The view draws a square as tall as it can be, so
// the row gives it that square's width and the panel the rest: the panel
// sits right beside the view at its own width, and whatever width the
// square cannot use stays empty at the window's right edge, never as a gap
// between the two. A window too narrow for the square gives the view all
// the width the panel leaves. The stretch factors (view 2, panel 1) stay
// recorded but only the size hints use them: the row's minimum and
// preferred sizes are QHBoxLayout's.
class ViewPanelLayout : public QHBoxLayout
{
    Q_OBJECT

public:
    // parent: the central frame, which the layout manages.
    explicit ViewPanelLayout(QWidget *parent);

    // Places item 0 (the view) and item 1 (the panel column) within rect.
    void setGeometry(const QRect &rect) override;

    // The width the view gets in a row of rect: as wide as the row is
    // tall, within what the panel column leaves (its minimum width and
    // the spacing, while it shows anything) and at least the view's
    // minimum width.
    int viewWidth(const QRect &rect) const;
};
