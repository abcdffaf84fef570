#include "GLMainWindow.h"

#include "view/ConvergencePlot.h"
#include "view/GLBox.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &text)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

QGroupBox *GLMainWindow::buildStudyBox(QWidget *frame)
{
    auto *box = new QGroupBox(tr("Study"), frame);
    box->setObjectName("studyBox");
    auto *stack = new QVBoxLayout(box);

    auto *resetViewButton = new QPushButton(tr("Reset View"), box);
    resetViewButton->setObjectName("resetViewButton");
    connect(resetViewButton, &QPushButton::clicked, glbox, &GLBox::resetView);
    stack->addWidget(resetViewButton);

    // Compare: one box per scheme, in the scheme box's order.
    stack->addWidget(new QLabel(tr("Compare"), box));
    auto *grid = new QGridLayout();
    stack->addLayout(grid);
    const struct
    {
        const char *name;
        const char *text;
    } schemes[] = {{"compareBezierCheckBox", QT_TR_NOOP("Bezier")},
                   {"compareChaikinCheckBox", QT_TR_NOOP("Chaikin")},
                   {"compareBSplineCheckBox", QT_TR_NOOP("Cubic B-Spline")},
                   {"compareProposedCheckBox", QT_TR_NOOP("Vantrell Proposed")}};
    for (int i = 0; i < 4; ++i) {
        QCheckBox *compare = checkBox(box, schemes[i].name, tr(schemes[i].text));
        grid->addWidget(compare, i / 2, i % 2);
        connect(compare, &QCheckBox::stateChanged, glbox, [this, i](int state) { glbox->setCompare(i + 1, state); });
    }

    auto *line = new QFrame(box);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    stack->addWidget(line);
    auto *row = new QHBoxLayout();
    stack->addLayout(row);
    showPassesCheckBox = checkBox(box, "showPassesCheckBox", tr("Show Passes"));
    row->addWidget(showPassesCheckBox);
    connect(showPassesCheckBox, &QCheckBox::stateChanged, glbox, &GLBox::setShowPasses);
    QCheckBox *limit = checkBox(box, "showLimitCheckBox", tr("Show Limit"));
    row->addWidget(limit);
    connect(limit, &QCheckBox::stateChanged, glbox, &GLBox::setShowLimit);
    QCheckBox *curvature = checkBox(box, "curvatureCheckBox", tr("Curvature"));
    stack->addWidget(curvature);
    connect(curvature, &QCheckBox::stateChanged, glbox, &GLBox::setShowCurvature);

    // The selected scheme's distance to its limit and the plot of the
    // series; the label's text must not widen the panel.
    distanceLabel = new QLabel(ConvergencePlot::readout({}, 0), box);
    distanceLabel->setObjectName("distanceLabel");
    distanceLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    stack->addWidget(distanceLabel);
    convergencePlot = new ConvergencePlot(box);
    convergencePlot->setObjectName("convergencePlot");
    stack->addWidget(convergencePlot);
    connect(glbox, &GLBox::setConvergence, this, [this](const ConvergenceSeries &series, int scheme, bool current) {
        distanceLabel->setText(ConvergencePlot::readout(series, scheme));
        distanceLabel->setEnabled(current);
        convergencePlot->setSeries(series, scheme, current);
    });
    return box;
}
