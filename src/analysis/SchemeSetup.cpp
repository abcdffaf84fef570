#include "analysis/SchemeSetup.h"

#include "analysis/BernsteinCurve.h"
#include "analysis/ClosedBSpline.h"
#include "curves/BSplineCurve.h"
#include "curves/BezierCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/CustomCurve.h"
#include "curves/MaskSubdivision.h"
#include "curves/ProposedCurve.h"

#include <algorithm>
#include <cmath>

namespace {

// The view sets u in hundredths; a weight this close is the same setting.
bool sameWeight(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}

} // namespace

double SchemeSetup::defaultU(int scheme)
{
    // What each class's constructor sets.
    switch (scheme) {
    case Chaikin: return ChaikinCurve(nullptr).u();
    case BSpline: return BSplineCurve(nullptr).u();
    case Proposed: return ProposedCurve(nullptr).u();
    default: return BezierCurve(nullptr).u();
    }
}

std::optional<Mask> SchemeSetup::mask() const
{
    switch (scheme) {
    case Chaikin: return ChaikinCurve::maskAt(u);
    case BSpline: return BSplineCurve::maskAt(u);
    case Proposed: return ProposedCurve::maskAt(u);
    case Custom: return customMask;
    default: return std::nullopt;
    }
}

std::uint32_t SchemeSetup::growth() const
{
    return scheme == Proposed ? 3 : scheme == Custom ? std::uint32_t(customMask.arity()) : 2;
}

SchemeSetup SchemeSetup::of(const Curve &curve)
{
    SchemeSetup setup;
    setup.scheme = curve.scheme();
    setup.u = curve.u();
    setup.precision = curve.precision;
    setup.level = curve.level;
    setup.pointLimit = curve.pointLimit;
    setup.openEnds = curve.openEnds;
    if (const auto *custom = dynamic_cast<const CustomCurve *>(&curve))
        setup.customMask = custom->customMask();
    if (const ControlPoints *control = curve.controlPoints) {
        setup.closed = control->closed;
        for (const Node<Point> *n = control->points.head; n; n = n->next)
            setup.polygon.push_back(n->item->position);
    }
    return setup;
}

std::unique_ptr<Curve> SchemeSetup::makeCurve(ControlPoints *controlPoints) const
{
    std::unique_ptr<Curve> curve;
    switch (scheme) {
    case Chaikin: curve = std::make_unique<ChaikinCurve>(controlPoints); break;
    case BSpline: curve = std::make_unique<BSplineCurve>(controlPoints); break;
    case Proposed: curve = std::make_unique<ProposedCurve>(controlPoints); break;
    case Custom: {
        auto custom = std::make_unique<CustomCurve>(controlPoints);
        custom->setMask(customMask);
        curve = std::move(custom);
        break;
    }
    default: curve = std::make_unique<BezierCurve>(controlPoints); break;
    }
    curve->openEnds = openEnds;
    curve->setU(u);
    curve->precision = precision;
    curve->level = level;
    curve->pointLimit = pointLimit;
    return curve;
}

bool SchemeSetup::draws() const
{
    return polygon.size() >= 3 && (closed || !refines() || openEnds);
}

bool SchemeSetup::limitKnown() const
{
    if (refines() && !closed)
        return false;
    switch (scheme) {
    case Chaikin: return sameWeight(u, 0.75);
    case BSpline: return sameWeight(u, 0.5);
    case Proposed:
    case Custom: return false;
    default: return true;
    }
}

std::unique_ptr<LimitCurve> SchemeSetup::limit() const
{
    if (!limitKnown() || polygon.empty())
        return nullptr;
    if (!refines())
        return std::make_unique<BernsteinCurve>(polygon, closed);
    return std::make_unique<ClosedBSpline>(polygon, scheme == Chaikin ? 2 : 3);
}

int SchemeSetup::reachableLevel() const
{
    if (!refines() || !draws())
        return 0;
    return MaskSubdivision(*mask()).reachable(polygon.size(), level, closed, pointLimit);
}

std::uint64_t SchemeSetup::levelSize(int j) const
{
    if (!refines() || !draws())
        return polygon.size();
    return MaskSubdivision(*mask()).keptRange(polygon.size(), j, closed).size();
}
