#include "GLBox.h"

#include "analysis/MaskAnalysis.h"
#include "curves/Curve.h"
#include "geometry/ControlPoints.h"
#include "model/Document.h"
#include "model/PolygonEditor.h"
#include "model/Scene.h"
#include "view/SceneUpdater.h"

namespace {

// Check boxes deliver 0 (off), 1 (undecided) or 2 (on): sets flag for 0
// and 2, leaves it for 1. True when flag changed.
bool applyCheckState(bool &flag, int state)
{
    const bool before = flag;
    if (state == Qt::Checked)
        flag = true;
    else if (state == Qt::Unchecked)
        flag = false;
    return flag != before;
}

} // namespace

Document GLBox::snapshot() const
{
    return model->document();
}

void GLBox::apply(const Document &document)
{
    gestures.cancel();
    editor->restore(std::make_shared<const PolygonSnapshot>(PolygonSnapshot{document.points, document.closed}));
    model->applySettings(document);
    changed();
}

void GLBox::restorePolygon(const PolygonSnapshot::Shared &polygon)
{
    gestures.cancel();
    editor->restore(polygon);
    changed();
}

void GLBox::commitDrag()
{
    editor->commitDrag();
}

void GLBox::setGridSpace(int spacing)
{
    const bool edited = spacing != gridSpace;
    gridSpace = spacing;
    if (edited)
        emit documentEdited();
    showStatus(spacing <= 0 ? QString("Grid is off.") : QString::asprintf("Set grid spacing to %i.", spacing));
    update();
}

void GLBox::setOpenCloseCurve(int state)
{
    bool closed = controlPoints->closed;
    applyCheckState(closed, state);
    editor->setClosed(closed);
    changed();
}

void GLBox::changeScene(const std::function<bool(Scene &)> &change)
{
    if (change(*model))
        emit documentEdited();
    changed();
}

void GLBox::setU(int hundredths)
{
    if (!selectedCurve())
        return;
    const double u = Document::uFromSlider(hundredths);
    if (model->setU(u))
        emit documentEdited();
    showStatus(QString::asprintf("u = %2.2f", u));
    changed();
}

void GLBox::setPrecision(int tenths)
{
    if (!selectedCurve())
        return;
    if (model->setPrecision(Document::precisionFromSlider(tenths)))
        emit documentEdited();
    showStatus(QString::asprintf("Precision = %2.2f", selectedCurve()->precision));
    changed();
}

void GLBox::setLevel(int level)
{
    if (!selectedCurve())
        return;
    const Scene::LevelChange change = model->setLevel(level);
    if (change.changed)
        emit documentEdited();
    showStatus(QString::asprintf("Level = %d", selectedCurve()->level));
    // A result that the new level would give again is kept: say where the
    // subdivision stopped.
    if (change.kept) {
        if (const std::string limit = model->limitMessage(); !limit.empty())
            showStatus(QString::fromStdString(limit));
        // Nothing to subdivide: the update only tells the read-outs.
        changed();
        return;
    }
    changed();
}

void GLBox::setDrawAxis(int state)
{
    if (applyCheckState(drawAxis, state))
        emit documentEdited();
    update();
}

void GLBox::setDrawCurvePoints(int state)
{
    // Only how the cached result is drawn changes: no new subdivision.
    if (Curve *curve = selectedCurve()) {
        if (applyCheckState(curve->curvePoints, state))
            emit documentEdited();
        update();
    }
}

void GLBox::setDrawDepthColour(int state)
{
    if (Curve *curve = selectedCurve()) {
        if (applyCheckState(curve->depthColour, state))
            emit documentEdited();
        update();
    }
}

void GLBox::deleteControlPoints()
{
    editor->removeAll();
    changed();
}

void GLBox::deleteSelectedPoints()
{
    gestures.deleteSelected();
    changed();
}

void GLBox::setCurrentCurve(int index)
{
    const int before = currentCurve;
    if (!model->select(index))
        return;
    if (index != before)
        emit documentEdited();
    // The panel loads the curve's settings now; the slots its widgets call
    // show their own messages, which the selection message then replaces.
    emit setWidgetValues();
    showStatus(Schemes::row(index).selected);
    changed();
}

void GLBox::setCompare(int scheme, int state)
{
    if (!Schemes::isScheme(scheme))
        return;
    bool on = model->study().compared[static_cast<std::size_t>(scheme)];
    if (!applyCheckState(on, state))
        return;
    model->setCompared(scheme, on);
    changed();
}

void GLBox::setShowPasses(int state)
{
    bool on = model->study().passes;
    applyCheckState(on, state);
    model->setShowPasses(on);
    changed();
}

void GLBox::setShowLimit(int state)
{
    bool on = model->study().limit;
    applyCheckState(on, state);
    model->setShowLimit(on);
    updater->limitShown(on);
    if (const Curve *curve = selectedCurve(); on && curve) {
        const SchemeSetup setup = SchemeSetup::of(*curve);
        // Without a closed form there is no limit line to draw; the
        // read-out still measures against the exact limit points wherever
        // the scheme's mask proves that it converges.
        const std::optional<Mask> mask = setup.mask();
        if (!setup.limitKnown())
            showStatus(QString::asprintf(mask && MaskAnalysis::provesConvergence(*mask)
                                             ? "No closed-form limit to draw at u = %.2f: the read-out measures the "
                                               "distance to the exact limit points"
                                             : "No closed-form limit at u = %.2f, and no proof that the scheme "
                                               "converges: the read-out compares consecutive levels",
                                         setup.u));
    }
    changed();
}

void GLBox::setShowCurvature(int state)
{
    bool on = model->study().curvature;
    applyCheckState(on, state);
    model->setShowCurvature(on);
    changed();
}

void GLBox::setPresentationWidths(bool on)
{
    wide = on;
    update();
}
