#include "GLBox.h"

#include "StudyLayers.h"
#include "analysis/CurvatureComb.h"
#include "analysis/SchemeSetup.h"
#include "analysis/SubdivisionPasses.h"
#include "curves/Curve.h"
#include "geometry/ControlPoints.h"

#include <QPainter>
#include <QTimer>

#include <GL/gl.h>

#include <new>

namespace {

// A compared curve may fill this much of the point budget.
constexpr std::uint32_t compareShare = Curve::pointBudget / 4;

// Most points that the pass polygons copy: some tens of milliseconds per
// drag step at most; deeper levels look like the curve itself anyway.
constexpr std::uint64_t passPointBound = std::uint64_t{1} << 18;

// A comb of more teeth than this would be a solid band in the view.
constexpr std::size_t combTeeth = 4096;

// Tooth length per unit of curvature, as a share of the visible side (in
// world units squared once multiplied by it): a circle of radius 5 at the
// reset view gets teeth of one grid unit. Teeth are cut at an eighth of
// the side, where corners of the early levels would cross the view.
constexpr double combScalePerSide = 0.25;
constexpr double longestToothPerSide = 0.125;

// The legend's distance from the view's corner, in logical pixels.
constexpr int legendMargin = 8;

constexpr const char *schemeNames[5] = {"", "Bezier", "Chaikin", "Cubic B-Spline", "Vantrell Proposed"};

// Distinct from the selected curve's lilac, the polygon's yellow and the
// greys of grid, ghost and passes, and readable on the grey background.
constexpr std::array<std::array<float, 3>, 5> compareColours{{
    {0.0f, 0.0f, 0.0f},
    {0.90f, 0.45f, 0.0f},  // Bezier: orange
    {0.0f, 0.50f, 0.10f},  // Chaikin: green
    {0.10f, 0.25f, 0.85f}, // cubic B-spline: blue
    {0.70f, 0.0f, 0.35f},  // Vantrell proposed: crimson
}};
constexpr std::array<float, 3> selectedColour{0.65f, 0.53f, 1.0f};

bool isScheme(int scheme)
{
    return scheme >= 1 && scheme <= 4;
}

} // namespace

std::array<float, 3> GLBox::compareColour(int scheme)
{
    return isScheme(scheme) ? compareColours[static_cast<std::size_t>(scheme)] : compareColours[0];
}

int GLBox::comparedCount() const
{
    int count = 0;
    for (int i = 1; i <= 4; ++i)
        count += compared[static_cast<std::size_t>(i)] && i != currentCurve;
    return count;
}

QString GLBox::budgetShare(const Curve &curve) const
{
    const std::uint32_t quarters = curve.pointLimit / compareShare;
    return quarters >= 3 ? QString("three quarters of the point budget")
           : quarters == 2 ? QString("half the point budget")
                           : QString("a quarter of the point budget");
}

void GLBox::shareBudget()
{
    const std::uint32_t selectedShare = Curve::pointBudget - static_cast<std::uint32_t>(comparedCount()) * compareShare;
    for (int i = 1; i <= 4; ++i) {
        Curve &curve = *curves.indexNode(static_cast<std::uint32_t>(i))->item;
        const bool selected = i == currentCurve;
        const std::uint32_t limit = selected                                    ? selectedShare
                                    : compared[static_cast<std::size_t>(i)] ? compareShare
                                                                              : Curve::pointBudget;
        if (limit == curve.pointLimit)
            continue;
        // Only a result that was cut short, or that the new share cannot
        // hold, comes out differently.
        const bool tooLarge = curve.result && curve.result->count > limit;
        const bool changes = curve.limited || tooLarge;
        curve.pointLimit = limit;
        if (!changes)
            continue;
        // A result larger than the new share is freed now, before the
        // other curves' shares are filled at the next paint: otherwise it
        // would stay beside them until its own turn to be made again.
        if (tooLarge)
            curve.clearResult();
        if (selected)
            controlPoints->dirty = true;
        else
            compareStale[static_cast<std::size_t>(i)] = true;
    }
}

void GLBox::setCompare(int scheme, int state)
{
    if (!isScheme(scheme))
        return;
    const auto at = static_cast<std::size_t>(scheme);
    const bool was = compared[at];
    applyCheckState(compared[at], state);
    if (compared[at] == was)
        return;
    if (compared[at])
        compareStale[at] = true;
    else if (scheme != currentCurve)
        curves.indexNode(static_cast<std::uint32_t>(scheme))->item->clearResult();
    shareBudget();
    updateGL();
}

void GLBox::setShowPasses(int state)
{
    applyCheckState(showPasses, state);
    study->passes.valid = study->marks.valid = false;
    updateGL();
}

void GLBox::setShowLimit(int state)
{
    applyCheckState(showLimit, state);
    study->limit.valid = false;
    convergenceStale = true;
    if (!showLimit) {
        convergenceTimer->stop();
        emit setConvergence({}, 0, true);
    } else if (const Curve *curve = selectedCurve()) {
        const SchemeSetup setup = SchemeSetup::of(*curve);
        if (!setup.limitKnown())
            showStatus(QString::asprintf("No closed-form limit at u = %.2f: the read-out compares consecutive levels",
                                         setup.u),
                       actionMessageTime);
    }
    updateGL();
}

void GLBox::setShowCurvature(int state)
{
    applyCheckState(showCurvature, state);
    study->comb.valid = false;
    updateGL();
}

QStringList GLBox::legendLines() const
{
    QStringList lines;
    for (const LegendLine &line : legend)
        lines << line.text;
    return lines;
}

bool GLBox::beginStudyFrame()
{
    if (!controlPoints->dirty)
        return false;
    study->invalidate();
    compareStale.fill(true);
    convergenceStale = true;
    return true;
}

void GLBox::endStudyFrame(bool polygonChanged)
{
    // Without a selected curve nobody else takes the flag down: compared
    // curves would subdivide again on every hover's repaint.
    if (polygonChanged && !selectedCurve() && comparedCount() > 0)
        controlPoints->dirty = false;
}

void GLBox::paintPasses()
{
    Curve *curve = selectedCurve();
    if (!showPasses || !curve)
        return;
    const double scale = curve->displayScale;
    if (!study->passes.holds(scale))
        study->setPasses(SubdivisionPasses::make(SchemeSetup::of(*curve), passPointBound),
                         scale * Curve::displayTolerance, scale);
    study->drawPasses();
}

void GLBox::paintComparedCurves()
{
    for (int i = 1; i <= 4; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!compared[at] || i == currentCurve)
            continue;
        Curve &curve = *curves.indexNode(static_cast<std::uint32_t>(i))->item;
        if (compareStale[at]) {
            compareStale[at] = false;
            try {
                curve.resubdivide();
            } catch (const std::bad_alloc &) {
                curve.clearResult();
                showStatus(QString("Not enough memory to compare the %1 curve").arg(schemeNames[at]),
                           actionMessageTime);
                continue;
            }
        }
        const std::array<float, 3> &c = compareColours[at];
        glColor3f(c[0], c[1], c[2]);
        curve.drawOutline(compareWidth);
    }
}

void GLBox::paintStudyOverlays()
{
    Curve *curve = selectedCurve();
    if (!curve || !curve->drawsCurve())
        return;
    const double scale = curve->displayScale;
    if (showLimit) {
        if (!study->limit.holds(scale)) {
            const SchemeSetup setup = SchemeSetup::of(*curve);
            const std::unique_ptr<LimitCurve> limit = setup.draws() ? setup.limit() : nullptr;
            study->setLimit(limit.get(), scale * Curve::displayTolerance, scale);
        }
        study->drawLimit();
    }
    if (showCurvature) {
        if (!study->comb.holds(scale)) {
            // Teeth sized to the visible square, so that zooming in on a
            // stretch of curve keeps its comb the same size on screen.
            const double side = scale * viewport[2];
            // The refining schemes draw closed loops; the Bezier curve is
            // an open polyline even on a closed polygon.
            study->setComb(CurvatureComb::along(*curve->result, curve->closedOnly, combScalePerSide * side,
                                                longestToothPerSide * side, combTeeth),
                           scale);
        }
        study->drawComb();
    }
    if (showPasses) {
        if (!study->marks.holds(scale))
            study->setMarks(*curve->result, SchemeSetup::of(*curve).scheme, curve->usesLevel ? curve->reachedLevel : 0,
                            scale);
        study->drawMarks();
    }
}

void GLBox::paintLegend()
{
    std::vector<LegendLine> lines;
    if (comparedCount() > 0) {
        if (selectedCurve())
            lines.push_back({schemeNames[currentCurve], selectedColour, 3.0f});
        for (int i = 1; i <= 4; ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (!compared[at] || i == currentCurve)
                continue;
            const Curve &curve = *curves.indexNode(static_cast<std::uint32_t>(i))->item;
            QString text = schemeNames[at];
            if (controlPoints->points.count > 2 && curve.closedOnly && !controlPoints->closed)
                text += " (needs a closed polygon)";
            else if (curve.limited && curve.usesLevel)
                text += QString(" (level %1 of %2: %3)").arg(curve.reachedLevel).arg(curve.level).arg(budgetShare(curve));
            else if (curve.limited)
                text += " (cut at " + budgetShare(curve) + ")";
            lines.push_back({text, compareColours[at], compareWidth});
        }
    }
    const double ratio = devicePixelRatioF();
    if (lines != legend || ratio != legendRatio) {
        legend = std::move(lines);
        legendRatio = ratio;
        if (legend.empty()) {
            study->setLegend(QImage());
        } else {
            // A swatch of the curve's colour and width before each name, on
            // a pale panel that keeps the names readable over the grid.
            const QFontMetrics metrics(font());
            const int swatch = 24, gap = 6, pad = 5, rowHeight = metrics.height();
            int textWidth = 0;
            for (const LegendLine &line : legend)
                textWidth = std::max(textWidth, metrics.horizontalAdvance(line.text));
            const QSize size(pad + swatch + gap + textWidth + pad, pad + rowHeight * int(legend.size()) + pad);
            QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 255, 255, 200));
            painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), 4, 4);
            painter.setFont(font());
            for (std::size_t k = 0; k < legend.size(); ++k) {
                const LegendLine &line = legend[k];
                const double y = pad + rowHeight * (double(k) + 0.5);
                painter.setPen(QPen(QColor::fromRgbF(line.colour[0], line.colour[1], line.colour[2]), line.width));
                painter.drawLine(QPointF(pad, y), QPointF(pad + swatch, y));
                painter.setPen(Qt::black);
                painter.drawText(QRectF(pad + swatch + gap, y - rowHeight / 2.0, textWidth + 1, rowHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter, line.text);
            }
            painter.end();
            study->setLegend(image);
        }
    }
    study->drawLegend(viewport[2], viewport[3], qRound(legendMargin * ratio));
}

void GLBox::measureConvergence(bool full)
{
    convergenceStale = false;
    const Curve *curve = selectedCurve();
    if (!curve) {
        convergenceTimer->stop();
        emit setConvergence({}, 0, true);
        return;
    }
    const SchemeSetup setup = SchemeSetup::of(*curve);
    if (full) {
        emit setConvergence(ConvergenceSeries::measure(setup), setup.scheme, true);
        return;
    }
    // A series that fits the quick budget is final at once; a longer one
    // shows its first levels now and is finished once the edits pause.
    const ConvergenceSeries quick = ConvergenceSeries::measure(setup, quickConvergenceWork);
    if (quick.bounded)
        convergenceTimer->start();
    else
        convergenceTimer->stop();
    emit setConvergence(quick, setup.scheme, !quick.bounded);
}
