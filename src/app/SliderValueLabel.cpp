#include "SliderValueLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QSlider>

#include <algorithm>
#include <utility>

SliderValueLabel::SliderValueLabel(QSlider *slider, Format format, QWidget *parent)
    : QLabel(parent), slider(slider), format(std::move(format))
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setText(this->format(slider->value()));
    setEnabled(slider->isEnabled());
    reserveWidth();
    connect(slider, &QSlider::valueChanged, this, &SliderValueLabel::showValue);
    // The window disables a slider that the selected scheme does not use;
    // its value should not look live beside it.
    slider->installEventFilter(this);
}

void SliderValueLabel::showValue()
{
    setText(format(slider->value()));
}

bool SliderValueLabel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == slider && event->type() == QEvent::EnabledChange)
        setEnabled(slider->isEnabled());
    return QLabel::eventFilter(watched, event);
}

void SliderValueLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        reserveWidth();
}

void SliderValueLabel::reserveWidth()
{
    // An explicit minimum width overrides the text's own size hint in the
    // layout, which is what keeps the window's width steady.
    // At least as wide as a signed two-decimal number, so that sliders of
    // different ranges end at one line down the panel.
    const QFontMetrics metrics(font());
    int widest = metrics.horizontalAdvance("-10.00");
    for (int value = slider->minimum(); value <= slider->maximum(); ++value)
        widest = std::max(widest, metrics.horizontalAdvance(format(value)));
    setMinimumWidth(widest + contentsMargins().left() + contentsMargins().right() + 2 * margin());
}
