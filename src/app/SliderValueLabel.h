#pragma once

#include <QLabel>

#include <functional>

class QSlider;

// The value of a slider as text, for a label beside it: it follows every
// change of the slider's value and greys out with the slider. Its width
// fits the widest text of the slider's whole range, so moving the slider or
// loading a scheme's settings never changes the width of the panel.
class SliderValueLabel : public QLabel
{
    Q_OBJECT

public:
    // Turns a slider position into the text shown.
    using Format = std::function<QString(int)>;

    // slider is watched, not owned, and must live as long as the label
    // (siblings in one group box do); parent owns the label as usual.
    SliderValueLabel(QSlider *slider, Format format, QWidget *parent);

    // Shows the slider's value now: for a value set while the slider's
    // signals were blocked, which the label cannot have seen.
    void showValue();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Reserves the width of the widest text over the slider's range.
    void reserveWidth();

    QSlider *slider;
    Format format;
};
