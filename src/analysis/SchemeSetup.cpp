#include "analysis/SchemeSetup.h"

#include "analysis/BernsteinCurve.h"
#include "analysis/ClosedBSpline.h"
#include "curves/BSplineCurve.h"
#include "curves/BezierCurve.h"
#include "curves/ChaikinCurve.h"
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
    default: return std::nullopt;
    }
}

SchemeSetup SchemeSetup::of(const Curve &curve)
{
    SchemeSetup setup;
    setup.scheme = curve.scheme();
    setup.u = curve.u();
    setup.precision = curve.precision;
    setup.level = curve.level;
    setup.pointLimit = curve.pointLimit;
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
    default: curve = std::make_unique<BezierCurve>(controlPoints); break;
    }
    curve->setU(u);
    curve->precision = precision;
    curve->level = level;
    curve->pointLimit = pointLimit;
    return curve;
}

bool SchemeSetup::draws() const
{
    return polygon.size() >= 3 && (closed || !refines());
}

bool SchemeSetup::limitKnown() const
{
    switch (scheme) {
    case Chaikin: return sameWeight(u, 0.75);
    case BSpline: return sameWeight(u, 0.5);
    case Proposed: return false;
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
    std::uint64_t size = polygon.size();
    int passes = 0;
    while (passes < level && size * growth() <= pointLimit) {
        size *= growth();
        ++passes;
    }
    return passes;
}
