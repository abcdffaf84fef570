#include "PanelScrollArea.h"

#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The panel's group boxes are this far apart, as the column's spacing was
// before it scrolled.
constexpr int boxSpacing = 20;
// Rows of text that a scrolled panel shows at the least.
constexpr int minimumRows = 6;

} // namespace

PanelScrollArea::PanelScrollArea(QWidget *parent) : QScrollArea(parent)
{
    setObjectName("panelScrollArea");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(true);
    // The window gives the panel its own width, never a share of its
    // width: sliders stretched across half a large screen are hard to set.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    auto *content = new QWidget(this);
    content->setObjectName("panel");
    stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(boxSpacing);
    setWidget(content);
    content->installEventFilter(this);
}

bool PanelScrollArea::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

int PanelScrollArea::scrollBarRoom() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar()) +
           style()->pixelMetric(QStyle::PM_ScrollView_ScrollBarSpacing, nullptr, this);
}

QSize PanelScrollArea::sizeHint() const
{
    const int frame = 2 * frameWidth();
    const QSize whole = widget()->sizeHint();
    return {whole.width() + scrollBarRoom() + frame, whole.height() + frame};
}

QSize PanelScrollArea::minimumSizeHint() const
{
    return {sizeHint().width(), minimumRows * fontMetrics().height()};
}
