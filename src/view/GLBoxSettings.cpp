#include "GLBox.h"

#include "curves/Curve.h"
#include "document/Document.h"
#include "geometry/ControlPoints.h"

#include <array>

bool GLBox::applyCheckState(bool &flag, int state)
{
    // The undecided middle state leaves a setting as it was.
    const bool before = flag;
    if (state == Qt::Checked)
        flag = true;
    else if (state == Qt::Unchecked)
        flag = false;
    return flag != before;
}

Curve *GLBox::selectedCurve()
{
    if (currentCurve == 0)
        return nullptr;
    const Node<Curve> *node = curves.indexNode(static_cast<std::uint32_t>(currentCurve));
    return node ? node->item : nullptr;
}

void GLBox::curveShapeChanged(const QString &text)
{
    showStatus(text, actionMessageTime);
    controlPoints->dirty = true;
    updateGL();
}

void GLBox::setGridSpace(int spacing)
{
    const bool changed = spacing != gridSpace;
    gridSpace = spacing;
    if (changed)
        emit documentEdited();
    showStatus(spacing <= 0 ? QString("Grid is off.") : QString::asprintf("Set grid spacing to %i.", spacing),
               actionMessageTime);
    updateGL();
}

void GLBox::setOpenCloseCurve(int state)
{
    recordEdit(controlPoints->closed ? tr("Open Polygon") : tr("Close Polygon"),
               [&] { return applyCheckState(controlPoints->closed, state); });
    controlPoints->dirty = true;
    updateGL();
}

double GLBox::uFromHundredths(int hundredths)
{
    // The ends are nudged inwards because a weight of exactly 0 or 1 makes
    // new points coincide with old ones; values beyond them are kept.
    const double u = hundredths * 0.01;
    if (u == 0.0)
        return 0.01;
    if (u == 1.0)
        return 0.99;
    return u;
}

double GLBox::precisionFromTenths(int tenths)
{
    // A precision of 0 would ask the Bezier scheme to split forever.
    const double precision = tenths * 0.1;
    return precision == 0.0 ? 0.05 : precision;
}

void GLBox::setU(int hundredths)
{
    Curve *curve = selectedCurve();
    if (!curve)
        return;
    const double u = uFromHundredths(hundredths);
    const bool changed = u != curve->u();
    curve->setU(u);
    if (changed)
        emit documentEdited();
    curveShapeChanged(QString::asprintf("u = %2.2f", u));
}

void GLBox::setPrecision(int tenths)
{
    Curve *curve = selectedCurve();
    if (!curve)
        return;
    const double precision = precisionFromTenths(tenths);
    const bool changed = precision != curve->precision;
    curve->precision = precision;
    if (changed)
        emit documentEdited();
    curveShapeChanged(QString::asprintf("Precision = %2.2f", curve->precision));
}

void GLBox::setLevel(int level)
{
    Curve *curve = selectedCurve();
    if (!curve)
        return;
    const int newLevel = level < 0 ? 0 : level;
    if (newLevel != curve->level)
        emit documentEdited();
    // A subdivision cut short by the point budget stops at the same level
    // for every level from the one it reached: keep the result (and its
    // memory) instead of subdividing again, and say where it stopped.
    if (!controlPoints->dirty && curve->keepsCappedResult(newLevel)) {
        curve->level = newLevel;
        curve->limited = newLevel > curve->reachedLevel;
        showStatus(QString::asprintf("Level = %d", newLevel), actionMessageTime);
        reportLimit(*curve);
        updateGL();
        return;
    }
    curve->level = newLevel;
    curveShapeChanged(QString::asprintf("Level = %d", curve->level));
}

void GLBox::setDrawAxis(int state)
{
    if (applyCheckState(drawAxis, state))
        emit documentEdited();
    updateGL();
}

void GLBox::setDrawCurvePoints(int state)
{
    // Only how the cached result is drawn changes: no new subdivision.
    if (Curve *curve = selectedCurve()) {
        if (applyCheckState(curve->curvePoints, state))
            emit documentEdited();
        updateGL();
    }
}

void GLBox::setDrawDepthColour(int state)
{
    if (Curve *curve = selectedCurve()) {
        if (applyCheckState(curve->depthColour, state))
            emit documentEdited();
        updateGL();
    }
}

void GLBox::deleteControlPoints()
{
    for (Node<Curve> *n = curves.head; n; n = n->next)
        n->item->clearResult();
    // A drag under way loses its point: later moves must not touch it.
    movingPoint = nullptr;
    recordEdit(tr("Delete Control Points"), [this] {
        if (controlPoints->points.count == 0)
            return false;
        controlPoints->clear();
        return true;
    });
    updateGL();
}

void GLBox::setCurrentCurve(int index)
{
    static const std::array<const char *, 5> selected{
        "No curve selected",          "Bezier curve selected",           "Chaikin curve selected",
        "Cubic B-Spline curve selected", "Vantrell proposed curve selected",
    };
    if (index < 0 || index >= static_cast<int>(selected.size()))
        return;
    const bool changed = index != currentCurve;
    currentCurve = index;
    if (changed)
        emit documentEdited();
    // The newly selected curve was last subdivided from an older polygon,
    // or with settings the panel is about to write back; a compared curve
    // that was selected gets a compared curve's share again.
    controlPoints->dirty = true;
    shareBudget();
    // The panel loads the curve's settings now; the slots its widgets call
    // show their own messages, which the selection message then replaces.
    emit setWidgetValues();
    showStatus(selected[static_cast<std::size_t>(index)], actionMessageTime);
    updateGL();
}
