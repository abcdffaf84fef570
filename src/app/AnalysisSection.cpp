#include "AnalysisSection.h"

#include "analysis/BasisCurve.h"
#include "analysis/MaskAnalysis.h"
#include "curves/BSplineCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/MaskPresets.h"
#include "curves/ProposedCurve.h"
#include "model/Document.h"
#include "model/Scene.h"
#include "view/LabPlot.h"

#include <QGroupBox>
#include <QLabel>
#include <QMetaObject>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QColor lowerColour(30, 90, 200), upperColour(220, 120, 0);

struct FamilyRow
{
    Mask (*maskAt)(double);
    double low, high;
    const char *weight;
};

FamilyRow rowOf(AnalysisSection::Family family)
{
    using F = AnalysisSection::Family;
    switch (family) {
    case F::Chaikin: return {&ChaikinCurve::maskAt, Document::minU, Document::maxU, "u"};
    case F::BSpline: return {&BSplineCurve::maskAt, Document::minU, Document::maxU, "u"};
    case F::Proposed: return {&ProposedCurve::maskAt, Document::minU, Document::maxU, "u"};
    case F::FourPoint:
        return {&MaskPresets::fourPoint, MaskPresets::smallestTension, MaskPresets::largestTension, "w"};
    default: return {nullptr, 0, 1, ""};
    }
}

// The smoothness line: "C1, regularity 2.00", or the bounds where they
// part.
QString smoothnessText(const MaskAnalysis &a)
{
    if (!a.regularity)
        return QObject::tr("Does not converge");
    const QString c = a.smoothness >= 0 ? QString("C%1").arg(a.smoothness) : QObject::tr("continuity not proven");
    const double low = a.regularity->lower, high = a.regularity->upper;
    if (std::abs(high - low) < 0.005)
        return QObject::tr("%1, regularity %2").arg(c).arg(high, 0, 'f', 2);
    return QObject::tr("%1, regularity %2 to %3").arg(c).arg(low, 0, 'f', 2).arg(high, 0, 'f', 2);
}

} // namespace

AnalysisSection::AnalysisSection(QGroupBox *box, QVBoxLayout *column) : QObject(box)
{
    analysisToggle = new QToolButton(box);
    analysisToggle->setObjectName("analysisToggle");
    analysisToggle->setText(tr("Analysis"));
    analysisToggle->setCheckable(true);
    analysisToggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    analysisToggle->setArrowType(Qt::RightArrow);
    analysisToggle->setAutoRaise(true);
    analysisToggle->setToolTip(tr("Shows or hides the selected scheme's analysis: smoothness, regularity, phi, "
                                  "and the regularity against its weight"));
    column->addWidget(analysisToggle);

    analysisSection = new QWidget(box);
    analysisSection->setObjectName("analysisSection");
    auto *inner = new QVBoxLayout(analysisSection);
    inner->setContentsMargins(0, 0, 0, 0);
    analysisLabel = new QLabel(analysisSection);
    analysisLabel->setObjectName("analysisLabel");
    analysisLabel->setWordWrap(true);
    analysisLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    analysisLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    inner->addWidget(analysisLabel);
    basisPlot = new LabPlot(analysisSection);
    basisPlot->setObjectName("basisPlot");
    inner->addWidget(basisPlot);
    regularityPlot = new LabPlot(analysisSection);
    regularityPlot->setObjectName("regularityPlot");
    regularityPlot->setFixedHeight(150);
    regularityPlot->setGuides({1.0, 2.0});
    regularityPlot->setWhatsThis(
        tr("<p>The Hoelder regularity of the selected scheme's limit curves at every value of its weight (u, or "
           "the four-point scheme's w), a lower bound in blue and an upper bound in orange; the dashed red line "
           "is the value set now. Above the dotted line at 1 the curves are C1 (tangents turn smoothly) wherever "
           "the lower bound lies above it; above 2 their curvature is continuous too. Where the lines end, the "
           "scheme does not converge. Right-click to export the plot as PNG or SVG.</p>"));
    inner->addWidget(regularityPlot);
    column->addWidget(analysisSection);
    analysisSection->setVisible(false);
    connect(analysisToggle, &QToolButton::toggled, this, [this](bool on) {
        analysisToggle->setArrowType(on ? Qt::DownArrow : Qt::RightArrow);
        analysisSection->setVisible(on);
    });
}

AnalysisSection::~AnalysisSection()
{
    // The worker posts to this object: it must be gone first.
    if (worker.joinable()) {
        worker.request_stop();
        worker.join();
    }
}

void AnalysisSection::show(const Scene &scene, double w)
{
    const Curve *curve = scene.selectedCurve();
    const std::optional<Mask> mask = curve ? curve->mask() : std::nullopt;
    Family family = Family::None;
    std::optional<double> weight;
    if (curve && mask) {
        switch (curve->scheme()) {
        case Schemes::Chaikin: family = Family::Chaikin; break;
        case Schemes::BSpline: family = Family::BSpline; break;
        case Schemes::Proposed: family = Family::Proposed; break;
        default: family = *mask == MaskPresets::fourPoint(w) ? Family::FourPoint : Family::None; break;
        }
        weight = family == Family::FourPoint ? w : curve->u();
    }
    if (mask != analysed) {
        analysed = mask;
        if (mask)
            analyse(*mask);
        else {
            analysisLabel->setText(tr("Select a refining scheme to see its analysis."));
            basisPlot->setLines({});
        }
    }
    if (family != swept)
        startSweep(family);
    regularityPlot->setMarker(family == Family::None ? std::nullopt : weight);
}

void AnalysisSection::analyse(const Mask &mask)
{
    const MaskAnalysis a = MaskAnalysis::of(mask);
    QStringList lines;
    // Six digits read better than the shortest exact ones (a u of 0.9
    // gives 0.024999999999999994); the mask box keeps the exact text.
    QStringList coefficients;
    for (const double c : mask.coefficients())
        coefficients << QString::number(c, 'g', 6);
    lines << tr("Mask %1: %2").arg(mask.arity()).arg(coefficients.join(' '));
    lines << smoothnessText(a);
    if (a.regularity)
        lines << tr("Bounds %1 .. %2").arg(a.regularity->lower, 0, 'f', 4).arg(a.regularity->upper, 0, 'f', 4);
    lines << tr("Sum rules %1, support [0, %2], %3")
                 .arg(a.sumRules)
                 .arg(a.support, 0, 'g', 4)
                 .arg(a.interpolatory ? tr("interpolatory") : tr("approximating"));
    analysisLabel->setText(lines.join('\n'));

    std::vector<LabPlot::Line> lines2;
    double low = 0, high = 1;
    if (a.regularity) {
        const BasisCurve::Samples s = BasisCurve::of(mask);
        LabPlot::Line phi{{}, Qt::black}, slope{{}, QColor(0, 140, 60)};
        for (std::size_t i = 0; i < s.x.size(); ++i) {
            phi.points.emplace_back(s.x[i], s.phi[i]);
            low = std::min(low, s.phi[i]);
            high = std::max(high, s.phi[i]);
        }
        lines2.push_back(std::move(phi));
        if (a.smoothness >= 1) {
            for (std::size_t i = 0; i < s.slopeX.size(); ++i) {
                slope.points.emplace_back(s.slopeX[i], s.slope[i]);
                low = std::min(low, s.slope[i]);
                high = std::max(high, s.slope[i]);
            }
            lines2.push_back(std::move(slope));
        }
    }
    basisPlot->setTitle(a.regularity ? (a.smoothness >= 1 ? tr("phi (black) and phi' (green)") : tr("phi"))
                                     : tr("phi: the scheme does not converge"));
    basisPlot->setRange(0, std::max(a.support, 1.0), low, high);
    basisPlot->setLines(std::move(lines2));
}

void AnalysisSection::startSweep(Family family)
{
    if (worker.joinable()) {
        worker.request_stop();
        worker.join();
    }
    swept = family;
    received.clear();
    ++generation;
    const FamilyRow row = rowOf(family);
    finished = row.maskAt == nullptr;
    regularityPlot->setTitle(row.maskAt ? tr("Regularity against %1 (lower blue, upper orange)").arg(row.weight)
                                        : tr("Regularity: no weight to sweep"));
    regularityPlot->setRange(row.low, row.high, 0, 3);
    drawSweep();
    if (!row.maskAt)
        return;
    worker = std::jthread([this, row, generation = generation](std::stop_token stop) {
        const RegularitySweep sweep(row.maskAt, row.low, row.high);
        for (int i = 0; i < sweep.count() && !stop.stop_requested(); ++i) {
            const RegularitySweep::Sample sample = sweep.at(i);
            QMetaObject::invokeMethod(this, [this, generation, sample] { receive(generation, sample); },
                                      Qt::QueuedConnection);
        }
    });
}

void AnalysisSection::receive(unsigned from, const RegularitySweep::Sample &sample)
{
    if (from != generation)
        return;
    received.push_back(sample);
    finished = int(received.size()) == RegularitySweep::defaultCount;
    drawSweep();
}

void AnalysisSection::drawSweep()
{
    LabPlot::Line lower{{}, lowerColour}, upper{{}, upperColour};
    // Room for the guides at 1 and 2 always.
    double top = 2.5;
    for (const RegularitySweep::Sample &s : received) {
        lower.points.emplace_back(s.weight, s.lower.value_or(NAN));
        upper.points.emplace_back(s.weight, s.upper.value_or(NAN));
        if (s.upper)
            top = std::max(top, std::min(std::ceil(*s.upper), 6.0));
    }
    const FamilyRow row = rowOf(swept);
    regularityPlot->setRange(row.low, row.high, 0, top);
    regularityPlot->setLines({std::move(lower), std::move(upper)});
}
