#include "ControlPanel.h"

#include "PanelHelp.h"
#include "SliderValueLabel.h"
#include "model/Scene.h"
#include "view/ConvergencePlot.h"
#include "view/GLBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <utility>
#include <vector>

namespace {

// A group box that stacks its widgets top to bottom.
QVBoxLayout *stackedGroup(const QString &title, const char *name, QWidget *parent, QGroupBox *&box)
{
    box = new QGroupBox(title, parent);
    box->setObjectName(name);
    return new QVBoxLayout(box);
}

template <typename W>
W *add(QVBoxLayout *stack, W *widget)
{
    stack->addWidget(widget);
    return widget;
}

void addSeparator(QVBoxLayout *stack, const char *name)
{
    auto *line = add(stack, new QFrame(stack->parentWidget()));
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(10);
}

QCheckBox *addCheckBox(QVBoxLayout *stack, const char *name, const QString &text)
{
    auto *box = add(stack, new QCheckBox(text, stack->parentWidget()));
    box->setObjectName(name);
    return box;
}

// A horizontal slider with ticks below; it reports every position while
// dragged (tracking is on by default). Beside it a label (object name:
// the slider's with "Value" appended) shows its value through format.
QSlider *addSlider(QVBoxLayout *stack, const char *name, int minimum, int maximum, int tickInterval, int singleStep,
                   SliderValueLabel::Format format)
{
    auto *row = new QHBoxLayout();
    stack->addLayout(row);
    auto *slider = new QSlider(Qt::Horizontal, stack->parentWidget());
    row->addWidget(slider, 1);
    slider->setObjectName(name);
    slider->setRange(minimum, maximum);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(tickInterval);
    slider->setSingleStep(singleStep);
    auto *value = new SliderValueLabel(slider, std::move(format), stack->parentWidget());
    value->setObjectName(QString::fromLatin1(name) + "Value");
    row->addWidget(value);
    return slider;
}

// A label whose words wrap within the width the panel's other widgets give
// it, instead of widening the panel.
void wrapWithinPanel(QLabel *label)
{
    label->setWordWrap(true);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void addLabel(QVBoxLayout *stack, const QString &text)
{
    add(stack, new QLabel(text, stack->parentWidget()));
}

// Keeps an area label as wide as its text with the widest area it is meant
// to show, four digits and a sign, instead of the text it shows: its size
// would otherwise follow each new area and widen the window, from the first
// areas on. Larger areas need a polygon that winds many times round the
// view; they may be cut short, but never move the window's edge.
void reserveAreaWidth(QLabel *label)
{
    QString widest = label->text();
    widest.replace(QRegularExpression("[-0-9.]+$"), "-8888.88");
    const QMargins margins = label->contentsMargins();
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + margins.left() + margins.right() +
                           2 * label->margin());
}

// label = value with two decimals; a value that rounds to zero reads 0.00,
// never -0.00.
void showArea(QLabel *label, const char *format, double value)
{
    QString text = QString::asprintf(format, value);
    if (text.endsWith("-0.00"))
        text = QString::asprintf(format, 0.0);
    label->setText(text);
    label->update();
}

} // namespace

ControlPanel::ControlPanel(GLBox *view, QWidget *panel, QVBoxLayout *stack, QObject *parent)
    : QObject(parent), view(view), scene(view->scene()), panel(panel), stack(stack)
{
    stack->addWidget(buildControlBox(), 1);
    stack->addWidget(buildViewBox(), 0);
}

void ControlPanel::addReadouts()
{
    stack->addWidget(buildAreaBox(), 0);
    // Under the read-out, why the curve's areas read 0 (nothing drawn) or
    // mean little (the scheme diverges), while that holds.
    curveHintLabel = new QLabel(panel);
    curveHintLabel->setObjectName("curveHintLabel");
    wrapWithinPanel(curveHintLabel);
    curveHintLabel->setContentsMargins(8, 0, 8, 0);
    curveHintLabel->hide();
    stack->addWidget(curveHintLabel, 0);
    stack->addWidget(buildStudyBox(), 0);
}

QGroupBox *ControlPanel::buildControlBox()
{
    QGroupBox *box = nullptr;
    QVBoxLayout *column = stackedGroup(tr("Control"), "controlBox", panel, box);

    curveComboBox = add(column, new QComboBox(box));
    curveComboBox->setObjectName("curveComboBox");
    for (int scheme = Schemes::None; scheme <= Schemes::count; ++scheme)
        curveComboBox->addItem(tr(Schemes::row(scheme).name));
    connect(curveComboBox, &QComboBox::activated, view, &GLBox::setCurrentCurve);
    addSeparator(column, "Line2");

    openCloseCurveCheckBox = addCheckBox(column, "openCloseCurveCheckBox", tr("Closed Curve"));
    connect(openCloseCurveCheckBox, &QCheckBox::stateChanged, view, &GLBox::setOpenCloseCurve);
    addLabel(column, tr("u Parameter"));
    uparameter = addSlider(column, "uparameter", -100, 100, 10, 10, uText);
    uparameter->setValue(0);
    connect(uparameter, &QSlider::valueChanged, view, &GLBox::setU);
    addSeparator(column, "Line1");

    addLabel(column, tr("Precision"));
    precision = addSlider(column, "precision", 0, 100, 10, 10, precisionText);
    precision->setValue(0);
    connect(precision, &QSlider::valueChanged, view, &GLBox::setPrecision);
    addSeparator(column, "Line4");

    // The spin box's own defaults, 0 to 99 in steps of 1, are the levels.
    // Beside it, where the subdivision stopped when that is short of it.
    addLabel(column, tr("Subdivision Level"));
    auto *levelRow = new QHBoxLayout();
    column->addLayout(levelRow);
    level = new QSpinBox(box);
    level->setObjectName("level");
    levelRow->addWidget(level);
    levelReachedLabel = new QLabel(box);
    levelReachedLabel->setObjectName("levelReachedLabel");
    wrapWithinPanel(levelReachedLabel);
    levelRow->addWidget(levelReachedLabel, 1);
    connect(level, &QSpinBox::valueChanged, view, &GLBox::setLevel);
    addSeparator(column, "Line3");

    auto *deleteButton = add(column, new QPushButton(tr("Delete Control Points"), box));
    deleteButton->setObjectName("deleteControlPointsButton");
    connect(deleteButton, &QPushButton::clicked, view, &GLBox::deleteControlPoints);
    return box;
}

QGroupBox *ControlPanel::buildViewBox()
{
    QGroupBox *box = nullptr;
    QVBoxLayout *column = stackedGroup(tr("View"), "viewBox", panel, box);

    drawCurvePointsCheckBox = addCheckBox(column, "drawCurvePointsCheckBox", tr("Curve Points"));
    connect(drawCurvePointsCheckBox, &QCheckBox::stateChanged, view, &GLBox::setDrawCurvePoints);
    depthColourCheckBox = addCheckBox(column, "depthColourCheckBox", tr("Depth Colour"));
    connect(depthColourCheckBox, &QCheckBox::stateChanged, view, &GLBox::setDrawDepthColour);

    // The scene's own settings are copied in before connecting, so that
    // showing them does not echo back into the view.
    axisCheckBox = addCheckBox(column, "axisCheckBox", tr("Axis"));
    axisCheckBox->setChecked(scene.backdrop.drawAxis);
    connect(axisCheckBox, &QCheckBox::stateChanged, view, &GLBox::setDrawAxis);
    addLabel(column, tr("Grid Spacing"));
    gridSlider = addSlider(column, "grid space", 0, 10, 1, 2, gridText);
    gridSlider->setValue(scene.backdrop.gridSpace);
    connect(gridSlider, &QSlider::valueChanged, view, &GLBox::setGridSpace);
    return box;
}

QGroupBox *ControlPanel::buildAreaBox()
{
    QGroupBox *box = nullptr;
    QVBoxLayout *column = stackedGroup(tr("Convex Volume/Area"), "areaBox", panel, box);
    polygonAreaLabel = add(column, new QLabel(tr("Control Points = 0"), box));
    deltaAreaLabel = add(column, new QLabel(tr("Delta = 0"), box));
    finalAreaLabel = add(column, new QLabel(tr("Final = 0"), box));
    for (QLabel *label : {polygonAreaLabel, deltaAreaLabel, finalAreaLabel})
        reserveAreaWidth(label);
    return box;
}

QGroupBox *ControlPanel::buildStudyBox()
{
    QGroupBox *box = nullptr;
    QVBoxLayout *column = stackedGroup(tr("Study"), "studyBox", panel, box);

    auto *resetViewButton = add(column, new QPushButton(tr("Reset View"), box));
    resetViewButton->setObjectName("resetViewButton");
    connect(resetViewButton, &QPushButton::clicked, view, &GLBox::resetView);

    // Compare: one box per scheme, in the scheme box's order.
    addLabel(column, tr("Compare"));
    auto *grid = new QGridLayout();
    column->addLayout(grid);
    for (int scheme = 1; scheme <= Schemes::count; ++scheme) {
        auto *compare = new QCheckBox(tr(Schemes::row(scheme).name), box);
        compare->setObjectName(Schemes::row(scheme).compareBox);
        grid->addWidget(compare, (scheme - 1) / 2, (scheme - 1) % 2);
        connect(compare, &QCheckBox::stateChanged, view, [this, scheme](int state) { view->setCompare(scheme, state); });
    }

    auto *line = add(column, new QFrame(box));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto *row = new QHBoxLayout();
    column->addLayout(row);
    showPassesCheckBox = new QCheckBox(tr("Show Passes"), box);
    showPassesCheckBox->setObjectName("showPassesCheckBox");
    row->addWidget(showPassesCheckBox);
    connect(showPassesCheckBox, &QCheckBox::stateChanged, view, &GLBox::setShowPasses);
    auto *limit = new QCheckBox(tr("Show Limit"), box);
    limit->setObjectName("showLimitCheckBox");
    row->addWidget(limit);
    connect(limit, &QCheckBox::stateChanged, view, &GLBox::setShowLimit);
    QCheckBox *curvature = addCheckBox(column, "curvatureCheckBox", tr("Curvature"));
    connect(curvature, &QCheckBox::stateChanged, view, &GLBox::setShowCurvature);

    // The selected scheme's distance to its limit and the plot of the
    // series; the label's text must not widen the panel.
    distanceLabel = add(column, new QLabel(ConvergencePlot::readout({}, 0), box));
    distanceLabel->setObjectName("distanceLabel");
    // The second line names where a capped subdivision stopped, which can
    // be longer than the panel is wide.
    wrapWithinPanel(distanceLabel);
    convergencePlot = add(column, new ConvergencePlot(box));
    convergencePlot->setObjectName("convergencePlot");
    connect(view, &GLBox::setConvergence, this, &ControlPanel::showConvergence);
    connect(view, &GLBox::curveNotes, this, &ControlPanel::showNotes);
    return box;
}

void ControlPanel::showNotes(const QString &hint, const QString &reached)
{
    curveHintLabel->setText(hint);
    curveHintLabel->setVisible(!hint.isEmpty());
    levelReachedLabel->setText(reached);
    reachedWords = reached;
}

void ControlPanel::showConvergence(const ConvergenceSeries &series, int scheme, bool current)
{
    const Curve *curve = scene.selectedCurve();
    const int asked = curve && curve->usesLevel ? curve->level : -1;
    distanceLabel->setText(ConvergencePlot::readout(series, scheme, asked, reachedWords));
    distanceLabel->setEnabled(current);
    convergencePlot->setSeries(series, scheme, current);
}

void ControlPanel::loadSchemeSettings()
{
    const Curve *curve = scene.selectedCurve();
    if (!curve)
        return;
    // Every setter below that changes a value emits the widget's change
    // signal, so the view's slot stores the value derived from the new
    // position before the setter returns.
    openCloseCurveCheckBox->setChecked(scene.polygon().closed);
    // u was stored as position x 0.01, which x 100 can land just below the
    // position (0.29 x 100 = 28.999...): rounding brings every position
    // back unchanged. The precision is read back truncated: its position
    // 0 stands for 0.05, which must not come back as 1.
    uparameter->setValue(static_cast<int>(std::lround(curve->u() * 100)));
    drawCurvePointsCheckBox->setChecked(curve->curvePoints);

    // A control that does not apply to the scheme is disabled and keeps
    // whatever it showed.
    precision->setDisabled(!curve->usesPrecision);
    if (curve->usesPrecision)
        precision->setValue(static_cast<int>(curve->precision * 10));
    level->setDisabled(!curve->usesLevel);
    if (curve->usesLevel)
        level->setValue(curve->level);
    depthColourCheckBox->setDisabled(!curve->supportsDepthColour);
    if (curve->supportsDepthColour)
        depthColourCheckBox->setChecked(curve->depthColour);
    showPassesCheckBox->setDisabled(!curve->usesLevel);
}

void ControlPanel::showApplied()
{
    // The scene already holds every value. A signal from a widget would run
    // a view slot, which writes the selected curve with the value the
    // widget can show instead of the one loaded.
    std::vector<QSignalBlocker> quiet;
    for (QObject *widget : std::initializer_list<QObject *>{curveComboBox, axisCheckBox, gridSlider,
                                                            openCloseCurveCheckBox, uparameter, precision,
                                                            drawCurvePointsCheckBox, depthColourCheckBox, level})
        quiet.emplace_back(widget);

    curveComboBox->setCurrentIndex(scene.selected());
    axisCheckBox->setChecked(scene.backdrop.drawAxis);
    gridSlider->setValue(scene.backdrop.gridSpace);
    openCloseCurveCheckBox->setChecked(scene.polygon().closed);
    if (const Curve *curve = scene.selectedCurve()) {
        loadSchemeSettings();
        // loadSchemeSettings truncates, which shows a stored 0.29 (just
        // below 29 hundredths) as 28; a loaded value is always a position.
        uparameter->setValue(qRound(curve->u() * 100));
        if (curve->usesPrecision)
            precision->setValue(qRound(curve->precision * 10));
    } else {
        // No scheme: the widgets as they are at start-up.
        for (QWidget *widget : std::initializer_list<QWidget *>{precision, level, depthColourCheckBox})
            widget->setEnabled(true);
        uparameter->setValue(0);
        precision->setValue(0);
        level->setValue(0);
        drawCurvePointsCheckBox->setChecked(false);
        depthColourCheckBox->setChecked(false);
    }
    // The value labels beside the sliders saw none of the blocked changes.
    quiet.clear();
    for (SliderValueLabel *label : panel->findChildren<SliderValueLabel *>())
        label->showValue();
    // The next update reports the new polygon's areas while a scheme is
    // selected; until then, and without a scheme, nothing is measured.
    polygonAreaLabel->setText(tr("Control Points = 0"));
    deltaAreaLabel->setText(tr("Delta = 0"));
    finalAreaLabel->setText(tr("Final = 0"));
}

void ControlPanel::showAreas(double polygonArea, double deltaArea)
{
    showArea(polygonAreaLabel, "Control Points = %.2f", polygonArea);
    showArea(deltaAreaLabel, "Delta = %.2f", deltaArea);
    showArea(finalAreaLabel, "Final = %.2f", polygonArea - deltaArea);
}

void ControlPanel::showClosed()
{
    const QSignalBlocker quiet(openCloseCurveCheckBox);
    openCloseCurveCheckBox->setChecked(scene.polygon().closed);
}
