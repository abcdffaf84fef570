#include "render/PolygonVertices.h"

#include "geometry/ControlPoints.h"
#include "render/Canvas.h"
#include "render/Frame.h"
#include "render/Palette.h"

#include <cmath>

namespace {

using Colour = Canvas::Colour;

using Palette::ghostGrey;
using Palette::printDark;
constexpr Colour blue{0.0f, 0.0f, 1.0f};
constexpr Colour red{1.0f, 0.0f, 0.0f};

void put(std::vector<float> &out, double x, double y)
{
    out.push_back(static_cast<float>(x));
    out.push_back(static_cast<float>(y));
}

void put(std::vector<float> &out, const Vector &v)
{
    put(out, v.x(), v.y());
}

void put(std::vector<float> &out, const Colour &colour)
{
    out.insert(out.end(), colour.begin(), colour.end());
}

void drawArray(Canvas &canvas, Canvas::Shape shape, const std::vector<float> &xy, const std::vector<float> *rgb = nullptr)
{
    if (!xy.empty())
        canvas.draw(shape, {xy.data(), xy.size() / 2, 1, rgb ? rgb->data() : nullptr});
}

// The control points' colours on screen: selected, dragged, under the
// pointer, plain; a page shows the plain colour only.
Colour pointColour(const Point &p, bool page)
{
    if (page)
        return red;
    return p.selected ? blue : p.hasGhost ? Colour{0.0f, 1.0f, 0.0f} : p.highlighted ? Colour{0.0f, 1.0f, 1.0f} : red;
}

bool plain(const Point &p)
{
    return !p.selected && !p.hasGhost && !p.highlighted;
}

} // namespace

void PolygonVertices::fill(const ControlPoints &polygon, const Frame &frame)
{
    for (std::vector<float> *v : {&ghostEdges, &dots, &dotColours, &line, &highlighted, &rings})
        v->clear();
    const List<Point> &points = polygon.points;
    closed = polygon.closed;
    simplified = frame.tolerance > 0 && frame.wholeUpTo == 0;
    if (simplified)
        shape.begin(frame.tolerance, false, false);
    // A plain point this close to the last plain point drawn adds nothing
    // to the picture (squared world units; a device pixel).
    const double hidden = simplified ? frame.worldPerUnit * frame.worldPerUnit : -1.0;
    double lastX = INFINITY, lastY = INFINITY;
    const std::uint32_t n = points.count;
    std::uint32_t i = 1;
    for (const Node<Point> *node = points.head; node; node = node->next, ++i) {
        const Point &p = *node->item;
        simplified ? shape.add(p.position.x(), p.position.y()) : put(line, p.position);
        const bool isPlain = plain(p) || frame.printPage;
        const double dx = p.position.x() - lastX, dy = p.position.y() - lastY;
        if (!isPlain || dx * dx + dy * dy > hidden) {
            put(dots, p.position);
            put(dotColours, pointColour(p, frame.printPage));
            if (isPlain) {
                lastX = p.position.x();
                lastY = p.position.y();
            }
        }
        if (p.selected && !frame.printPage && frame.worldPerUnit > 0)
            addRing(p.position.x(), p.position.y(), ringRadius * frame.widthScale * frame.worldPerUnit);
        if (!p.hasGhost)
            continue;
        // The polygon as it was before the drag, around the dragged point.
        put(dots, p.ghost);
        put(dotColours, ghostGrey);
        const Vector *before = node->prev ? &node->prev->item->position : nullptr;
        const Vector *after = node->next ? &node->next->item->position : nullptr;
        if (i == 1) {
            if (closed) {
                put(ghostEdges, p.ghost);
                put(ghostEdges, points.tail->item->position);
            }
            if (after) {
                put(ghostEdges, p.ghost);
                put(ghostEdges, *after);
            }
        } else if (i == n) {
            if (closed) {
                put(ghostEdges, p.ghost);
                put(ghostEdges, points.head->item->position);
            }
            put(ghostEdges, *before);
            put(ghostEdges, p.ghost);
        } else {
            put(ghostEdges, *before);
            put(ghostEdges, p.ghost);
            put(ghostEdges, p.ghost);
            put(ghostEdges, *after);
        }
    }
    if (simplified)
        shape.finish(closed);
    if (!frame.printPage) {
        const int edges = polygon.edgeCount();
        i = 1;
        for (const Node<Point> *node = points.head; node && int(i) <= edges; node = node->next, ++i) {
            if (!node->item->edgeHighlighted)
                continue;
            put(highlighted, node->item->position);
            put(highlighted, (node->next ? node->next : points.head)->item->position);
        }
    }
}

void PolygonVertices::addRing(double x, double y, double radius)
{
    for (int k = 0; k < ringSides; ++k) {
        for (int end = k; end <= k + 1; ++end) {
            const double angle = 2 * M_PI * end / ringSides;
            put(rings, x + radius * std::cos(angle), y + radius * std::sin(angle));
        }
    }
}

void PolygonVertices::draw(Canvas &canvas, const Frame &frame) const
{
    canvas.setSmooth(true);
    canvas.setPointSize(5.0f * frame.widthScale);
    canvas.setColour(ghostGrey);
    drawArray(canvas, Canvas::Shape::Pairs, ghostEdges);
    drawArray(canvas, Canvas::Shape::Dots, dots, &dotColours);
    // Yellow stands out on the grey view; on paper it would all but vanish.
    canvas.setColour(frame.printColours ? printDark : Colour{1.0f, 1.0f, 0.0f});
    drawArray(canvas, closed ? Canvas::Shape::Loop : Canvas::Shape::Strip, simplified ? shape.vertices() : line);
    canvas.setColour(blue);
    drawArray(canvas, Canvas::Shape::Pairs, highlighted);
    if (!rings.empty()) {
        canvas.setLineWidth(2.0f * frame.widthScale);
        drawArray(canvas, Canvas::Shape::Pairs, rings);
        canvas.setLineWidth(frame.widthScale);
    }
    canvas.setSmooth(false);
    canvas.setPointSize(frame.widthScale);
}
