#include "model/Scene.h"

#include "curves/BSplineCurve.h"
#include "curves/BezierCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/CustomCurve.h"
#include "curves/ProposedCurve.h"
#include "curves/MaskSubdivision.h"
#include "model/Document.h"
#include "model/TextFormat.h"

#include <algorithm>

#include <cstdio>
#include <new>

static_assert(Scene::compareShare == Curve::pointBudget / 4, "the legend's words count the budget in quarters");

Scene::Scene()
{
    // The order fixes the scheme numbers (Schemes::Id).
    curveList.append(new BezierCurve(&control), 0);
    curveList.append(new ChaikinCurve(&control), 0);
    curveList.append(new BSplineCurve(&control), 0);
    curveList.append(new ProposedCurve(&control), 0);
    curveList.append(new CustomCurve(&control), 0);
}

Scene::~Scene()
{
    for (Node<Curve> *n = curveList.head; n; n = n->next)
        delete n->item;
}

Curve &Scene::curve(int scheme)
{
    return *curveList.indexNode(static_cast<std::uint32_t>(scheme))->item;
}

const Curve &Scene::curve(int scheme) const
{
    // The list's index is a cache that lookups fill in.
    return const_cast<Scene *>(this)->curve(scheme);
}

Curve *Scene::selectedCurve()
{
    return Schemes::isScheme(current) ? &curve(current) : nullptr;
}

const Curve *Scene::selectedCurve() const
{
    return Schemes::isScheme(current) ? &curve(current) : nullptr;
}

CustomCurve &Scene::customCurve()
{
    return static_cast<CustomCurve &>(curve(Schemes::Custom));
}

const CustomCurve &Scene::customCurve() const
{
    return static_cast<const CustomCurve &>(curve(Schemes::Custom));
}

bool Scene::select(int scheme)
{
    if (scheme < Schemes::None || scheme > Schemes::count)
        return false;
    stopPlaying();
    current = scheme;
    // The newly selected curve was last made from an older polygon, or with
    // settings about to be written back; a compared curve that was selected
    // gets a compared curve's share again.
    markChanged();
    shareBudget();
    return true;
}

bool Scene::setU(double u)
{
    stopPlaying();
    Curve *curve = selectedCurve();
    if (!curve)
        return false;
    const bool changed = u != curve->u();
    curve->setU(u);
    markChanged();
    return changed;
}

bool Scene::setPrecision(double precision)
{
    stopPlaying();
    Curve *curve = selectedCurve();
    if (!curve)
        return false;
    const bool changed = precision != curve->precision;
    curve->precision = precision;
    markChanged();
    return changed;
}

Scene::LevelChange Scene::setLevel(int level)
{
    stopPlaying();
    Curve *curve = selectedCurve();
    if (!curve)
        return {};
    const int newLevel = level < 0 ? 0 : level;
    LevelChange change{newLevel != curve->level, false};
    // A subdivision cut short by the point budget stops at the same level
    // for every level from the one it reached: keep the result (and its
    // memory) instead of subdividing again.
    if (!control.dirty && curve->keepsCappedResult(newLevel)) {
        curve->level = newLevel;
        curve->limited = newLevel > curve->reachedLevel;
        change.kept = true;
        return change;
    }
    curve->level = newLevel;
    markChanged();
    return change;
}

bool Scene::setOpenEnds(bool on)
{
    stopPlaying();
    Curve *curve = selectedCurve();
    if (!curve || !curve->usesLevel || curve->openEnds == on)
        return false;
    curve->openEnds = on;
    markChanged();
    return true;
}

bool Scene::setCustomMask(const Mask &mask)
{
    stopPlaying();
    CustomCurve &custom = customCurve();
    if (custom.customMask() == mask)
        return false;
    custom.setMask(mask);
    if (current == Schemes::Custom)
        markChanged();
    else if (switches.compared[Schemes::Custom])
        compareStale[Schemes::Custom] = true;
    return true;
}

int Scene::comparedCount() const
{
    int count = 0;
    for (int i = 1; i <= Schemes::count; ++i)
        count += switches.compared[static_cast<std::size_t>(i)] && i != current;
    return count;
}

std::uint32_t Scene::comparedShare() const
{
    // A quarter each while four curves or fewer are drawn; all five drawn
    // get a fifth each.
    const int drawn = comparedCount() + (selectedCurve() ? 1 : 0);
    return drawn > 4 ? Curve::pointBudget / static_cast<std::uint32_t>(drawn) : compareShare;
}

void Scene::shareBudget()
{
    const std::uint32_t share = comparedShare();
    const std::uint32_t selectedShare = Curve::pointBudget - static_cast<std::uint32_t>(comparedCount()) * share;
    for (int i = 1; i <= Schemes::count; ++i) {
        Curve &each = curve(i);
        const bool selected = i == current;
        const std::uint32_t limit = selected                                        ? selectedShare
                                    : switches.compared[static_cast<std::size_t>(i)] ? share
                                                                                    : Curve::pointBudget;
        if (limit == each.pointLimit)
            continue;
        // Only a result that was cut short, or that the new share cannot
        // hold, comes out differently.
        const bool tooLarge = each.result && each.result->count > limit;
        const bool changes = each.limited || tooLarge;
        each.pointLimit = limit;
        if (!changes)
            continue;
        // A result larger than the new share is freed now, before the
        // other curves' shares are filled at the next update: otherwise it
        // would stay beside them until its own turn to be made again.
        if (tooLarge)
            each.clearResult();
        if (selected)
            markChanged();
        else
            compareStale[static_cast<std::size_t>(i)] = true;
    }
}

void Scene::setCompared(int scheme, bool on)
{
    if (!Schemes::isScheme(scheme))
        return;
    const auto at = static_cast<std::size_t>(scheme);
    if (switches.compared[at] == on)
        return;
    switches.compared[at] = on;
    if (on)
        compareStale[at] = true;
    else if (scheme != current)
        curve(scheme).clearResult();
    shareBudget();
    ++changes;
}

void Scene::setShowPasses(bool on)
{
    stopPlaying();
    switches.passes = on;
    measures.showPasses(on);
    ++changes;
}

void Scene::setShowLimit(bool on)
{
    switches.limit = on;
    measures.showLimit(on);
    ++changes;
}

void Scene::setShowCurvature(bool on)
{
    switches.curvature = on;
    ++changes;
}

void Scene::dropUndrawn()
{
    for (int i = 1; i <= Schemes::count; ++i)
        if (i != current && !switches.compared[static_cast<std::size_t>(i)])
            curve(i).clearResult();
}

void Scene::setShowInfluence(bool on)
{
    switches.influence = on;
    ++changes;
}

bool Scene::startPlaying()
{
    stopPlaying();
    Curve *curve = selectedCurve();
    if (!curve || !curve->usesLevel || curve->level < 1)
        return false;
    play = {true, curve->level, switches.passes};
    switches.passes = true;
    measures.showPasses(true);
    showPlayedLevel(0);
    return true;
}

void Scene::showPlayedLevel(int level)
{
    Curve *curve = selectedCurve();
    if (!play.active || !curve)
        return;
    curve->level = std::clamp(level, 0, play.level);
    markChanged();
}

void Scene::stopPlaying()
{
    if (!play.active)
        return;
    play.active = false;
    if (Curve *curve = selectedCurve())
        curve->level = play.level;
    switches.passes = play.passes;
    measures.showPasses(play.passes);
    markChanged();
    ++changes;
}

void Scene::clearCurves()
{
    for (Node<Curve> *n = curveList.head; n; n = n->next)
        n->item->clearResult();
}

void Scene::replacePolygon(const std::vector<Vector> &points, bool closed)
{
    stopPlaying();
    // The curves that are drawn keep their storage: the next update makes
    // them again in the same memory, as a drag step does, instead of
    // giving hundreds of megabytes back and taking them again.
    dropUndrawn();
    control.clear();
    for (const Vector &p : points)
        control.insertPoint(p);
    control.closed = closed;
    markChanged();
    // A limit reached by the old polygon says nothing about this one.
    limitScheme = 0;
    limitText.clear();
}

Document Scene::document() const
{
    Document document;
    document.points.reserve(control.points.count);
    for (const Node<Point> *n = control.points.head; n; n = n->next)
        document.points.emplace_back(n->item->position.x(), n->item->position.y());
    document.closed = control.closed;
    document.scheme = current;
    for (int scheme = 1; scheme <= Schemes::count; ++scheme) {
        const Curve &c = curve(scheme);
        const int level = play.active && scheme == current ? play.level : c.level;
        document.settings(scheme) = {c.u(), c.precision, level, c.depthColour, c.curvePoints, c.openEnds};
    }
    document.customMask = customCurve().customMask();
    document.axis = backdrop.drawAxis;
    document.gridSpacing = backdrop.gridSpace;
    return document;
}

void Scene::apply(const Document &document)
{
    replacePolygon(document.points, document.closed);
    applySettings(document);
}

void Scene::applySettings(const Document &document)
{
    stopPlaying();
    for (int scheme = 1; scheme <= Schemes::count; ++scheme) {
        const Document::SchemeSettings &settings = document.settings(scheme);
        Curve &c = curve(scheme);
        c.setU(settings.u);
        c.precision = settings.precision;
        c.level = settings.level;
        c.depthColour = settings.depthColour;
        c.curvePoints = settings.curvePoints;
        c.openEnds = c.usesLevel && settings.openEnds;
    }
    customCurve().setMask(document.customMask);
    current = Schemes::isScheme(document.scheme) ? document.scheme : Schemes::None;
    dropUndrawn();
    shareBudget();
    backdrop.drawAxis = document.axis;
    backdrop.gridSpace = document.gridSpacing;
    markChanged();
}

bool Scene::stale() const
{
    // A dirty polygon with nothing drawn from it stays dirty (nobody takes
    // the flag down), but an update still tells what it measures.
    if (control.dirty)
        return true;
    for (int i = 1; i <= Schemes::count; ++i)
        if (compareStale[static_cast<std::size_t>(i)] && switches.compared[static_cast<std::size_t>(i)] && i != current)
            return true;
    return measures.stale();
}

Scene::Readout Scene::update()
{
    Readout out;
    const bool polygonChanged = control.dirty;
    if (polygonChanged) {
        compareStale.fill(true);
        measures.outdated();
    }
    const std::uint64_t before = changes;
    updateCompared(out);
    updateSelected(out);
    if (measures.update(selectedCurve()))
        ++changes;
    if (const Curve *selected = selectedCurve()) {
        out.hint = notes.hint(*selected, control);
        out.reached = CurveNotes::reached(*selected, control);
    }
    // Without a selected curve nobody else takes the flag down: compared
    // curves would be made again at every update.
    if (polygonChanged && !selectedCurve() && comparedCount() > 0)
        control.dirty = false;
    if (polygonChanged || changes != before)
        ++changes;
    return out;
}

void Scene::updateCompared(Readout &out)
{
    for (int i = 1; i <= Schemes::count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!switches.compared[at] || i == current || !compareStale[at])
            continue;
        compareStale[at] = false;
        Curve &each = curve(i);
        try {
            each.resubdivide();
        } catch (const std::bad_alloc &) {
            each.clearResult();
            out.messages.push_back(textFormat("Not enough memory to compare the %s curve", Schemes::row(i).name));
        }
        ++changes;
    }
}

void Scene::updateSelected(Readout &out)
{
    Curve *selected = selectedCurve();
    if (!selected)
        return;
    out.measured = true;
    const double area = control.area();
    out.polygonArea = area;
    bool remade = false;
    try {
        remade = selected->refresh();
    } catch (const std::bad_alloc &) {
        // The level asked for more than the machine holds: drop what was
        // made of it and keep the polygon and the program going. dirty is
        // already clear, so the next update does not try again; the next
        // edit or setting does.
        selected->clearResult();
        out.messages.push_back(selected->usesPrecision
                                   ? textFormat("Not enough memory for precision %2.2f", selected->precision)
                                   : textFormat("Not enough memory for level %d", selected->level));
        out.deltaArea = area;
        ++changes;
        return;
    }
    // A curve that is not drawn has no area: the final area reads 0, and
    // not the difference of a curve that is no longer there.
    out.deltaArea = selected->drawsCurve() ? selected->deltaArea : area;
    if (remade) {
        ++changes;
        if (std::string text = limitMessage(); !text.empty())
            out.messages.push_back(std::move(text));
    }
}

std::string Scene::limitMessage()
{
    const Curve *selected = selectedCurve();
    std::string text = selected ? CurveNotes::stoppedShort(*selected, control) : std::string();
    if (text.empty()) {
        limitScheme = 0;
        limitText.clear();
        return {};
    }
    if (limitScheme == current && limitText == text)
        return {};
    limitScheme = current;
    limitText = text;
    return text;
}

std::vector<Scene::LegendLine> Scene::legend() const
{
    std::vector<LegendLine> lines;
    if (comparedCount() > 0) {
        if (selectedCurve())
            lines.push_back({CurveNotes::legendText(curve(current), control), curveColour, 3.0f});
        for (int i = 1; i <= Schemes::count; ++i)
            if (switches.compared[static_cast<std::size_t>(i)] && i != current)
                lines.push_back({CurveNotes::legendText(curve(i), control), Schemes::row(i).colour, compareWidth});
    }
    const Curve *selected = selectedCurve();
    if (selected && selected->depthColour && selected->supportsDepthColour && selected->drawsCurve())
        lines.push_back({"Depth Colour: split depth 0 (white) to 10 and deeper (black)", {0.0f, 0.0f, 0.0f}, 5.0f, true});
    return lines;
}
