#include "render/InfluenceLayer.h"

#include "curves/Curve.h"
#include "render/Canvas.h"

namespace {

constexpr Canvas::Colour haloColour{1.0f, 0.45f, 0.0f};
constexpr Canvas::Colour shadeColour{1.0f, 0.86f, 0.62f};

void put(std::vector<float> &out, const Vector &v)
{
    out.push_back(static_cast<float>(v.x()));
    out.push_back(static_cast<float>(v.y()));
}

} // namespace

void InfluenceLayer::setSupport(const Curve &curve, std::optional<std::size_t> point, double tolerance,
                                const Key &key)
{
    supportKey = key;
    line.begin(tolerance, false, false);
    const std::optional<Curve::Span> span = point ? curve.influence(*point) : std::nullopt;
    if (span && span->count > 0 && curve.result) {
        // A support that runs past a loop's last point goes on from its
        // first; one that holds the whole loop closes it.
        const List<Point> &points = *curve.result;
        const Node<Point> *n = points.head;
        for (std::uint64_t i = 0; n && i < span->first; ++i)
            n = n->next;
        const bool whole = span->count >= points.count && !curve.drawnOpen();
        for (std::uint64_t k = 0; n && k < span->count + (whole ? 1 : 0); ++k) {
            line.add(n->item->position.x(), n->item->position.y());
            n = n->next ? n->next : points.head;
        }
    }
    line.finish(false);
}

void InfluenceLayer::setDisplacement(const Curve &curve, std::uint64_t made)
{
    displacementMade = made;
    band.clear();
    const List<Point> *result = curve.result;
    if (!result)
        return;
    std::uint64_t ghosted = 0;
    for (const Node<Point> *n = result->head; n; n = n->next)
        ghosted += n->item->hasGhost;
    if (ghosted < 2)
        return;
    // Every step-th point with a ghost, and the last one, so that the band
    // reaches both ends of the moved stretch.
    const std::uint64_t step = (ghosted + maxQuads - 1) / maxQuads;
    std::uint64_t k = 0;
    const Point *last = nullptr;
    for (const Node<Point> *n = result->head; n; n = n->next) {
        const Point &p = *n->item;
        if (!p.hasGhost)
            continue;
        if (k++ % step == 0) {
            put(band, p.ghost);
            put(band, p.position);
            last = nullptr;
        } else {
            last = &p;
        }
    }
    if (last) {
        put(band, last->ghost);
        put(band, last->position);
    }
}

void InfluenceLayer::drawDisplacement(Canvas &canvas) const
{
    if (band.size() < 8)
        return;
    canvas.setColour(shadeColour);
    canvas.draw(Canvas::Shape::Band, {band.data(), band.size() / 2});
}

void InfluenceLayer::drawSupport(Canvas &canvas, float widthScale) const
{
    const std::vector<float> &xy = line.vertices();
    if (xy.empty())
        return;
    canvas.setSmooth(true);
    canvas.setColour(haloColour);
    canvas.setLineWidth(haloWidth * widthScale);
    canvas.setPointSize(haloWidth * widthScale);
    // A support of one point (an interpolating scheme's level 0) is a dot.
    canvas.draw(xy.size() >= 4 ? Canvas::Shape::Strip : Canvas::Shape::Dots, {xy.data(), xy.size() / 2});
    canvas.setLineWidth(widthScale);
    canvas.setPointSize(widthScale);
    canvas.setSmooth(false);
}
