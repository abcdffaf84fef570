#pragma once

#include <QScrollArea>

class QVBoxLayout;

// The control panel's column: a vertical scroll area around the panel's
// group boxes, so that a short window (a laptop screen, a projector at a
// large scale factor) keeps every control within reach instead of
// squeezing them over each other. Its size hints are the whole panel's,
// not QScrollArea's capped ones, so that a window with room shows the
// panel without a scroll bar; its width is the panel's, with room for the
// scroll bar kept, and does not follow the window's width.
class PanelScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    // Creates the panel widget (object name "panel") inside, with a
    // vertical stack (panelStack()) that the window fills with its boxes.
    explicit PanelScrollArea(QWidget *parent);

    // The panel that scrolls; owned by the scroll area.
    QWidget *panel() const { return widget(); }
    // The panel's vertical stack, spacing 20, no margins.
    QVBoxLayout *panelStack() const { return stack; }

    // The whole panel, plus the scroll bar's width.
    QSize sizeHint() const override;
    // The panel's width as in sizeHint; the height of a few controls.
    QSize minimumSizeHint() const override;

protected:
    // The hints follow the panel: a change of its layout (a box added, a
    // text that grew) reaches the column.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int scrollBarRoom() const;

    QVBoxLayout *stack;
};
