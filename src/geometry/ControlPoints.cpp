#include "geometry/ControlPoints.h"

namespace {

ControlPoints::Drawer installedDrawer = nullptr;

} // namespace

void ControlPoints::setDrawer(Drawer drawer)
{
    installedDrawer = drawer;
}

void ControlPoints::draw() const
{
    if (installedDrawer)
        installedDrawer(*this);
}

ControlPoints::~ControlPoints()
{
    for (auto *n = points.head; n; n = n->next)
        delete n->item;
}

bool ControlPoints::isUnder(const Point &point, const Vector &p)
{
    return distance(point.position, p) <= pickRadius;
}

int ControlPoints::edgeCount() const
{
    const int n = static_cast<int>(points.count);
    return closed ? n : n - 1;
}

bool ControlPoints::insertPoint(const Vector &p)
{
    auto *point = new Point(p);
    if (!points.appendNode(points.makeNode(point), 0)) {
        delete point;
        return false;
    }
    dirty = true;
    return true;
}

Point *ControlPoints::pickPoint(const Vector &p)
{
    for (std::uint32_t i = 1; i <= points.count; ++i) {
        Point *point = points.indexNode(i)->item;
        if (isUnder(*point, p))
            return point;
    }
    return nullptr;
}

Point *ControlPoints::insertMidpoint(const Vector &p)
{
    Point *q = pickPoint(p);
    if (!q)
        return nullptr;
    Node<Point> *qNode = points.node(q);
    const bool wraps = qNode->next == nullptr;
    if (wraps && !closed)
        return nullptr; // no edge starts at the last point of an open polygon
    const Point *r = wraps ? points.head->item : qNode->next->item;
    auto *m = new Point((q->position + r->position) / 2.0);
    // At the closing edge the midpoint goes after q by item, becoming the
    // new last point; elsewhere directly after q's node.
    const bool added = wraps ? points.addAfter(m, q, 0) : points.addAfterNode(m, qNode, 0);
    if (!added) {
        delete m;
        m = nullptr;
    }
    dirty = true;
    return m;
}

bool ControlPoints::deletePoint(const Vector &p)
{
    Point *q = pickPoint(p);
    if (!q)
        return false;
    auto *n = points.head;
    while (n && n->item != q)
        n = n->next;
    points.removeNode(n);
    delete q;
    dirty = true;
    return true;
}

std::uint32_t ControlPoints::deleteSelected()
{
    std::uint32_t removed = 0;
    for (auto *n = points.head; n;) {
        auto *next = n->next;
        if (n->item->selected) {
            delete n->item;
            points.removeNode(n);
            ++removed;
        }
        n = next;
    }
    if (removed > 0)
        dirty = true;
    return removed;
}

Point *ControlPoints::selectPoint(const Vector &p)
{
    Point *last = nullptr;
    for (std::uint32_t i = 1; i <= points.count; ++i) {
        Point *point = points.indexNode(i)->item;
        point->selected = isUnder(*point, p);
        if (point->selected)
            last = point;
    }
    return last;
}

bool ControlPoints::highlightEdge(const Vector &p)
{
    const int edges = edgeCount();
    for (int i = 1; i <= edges; ++i) {
        Point *point = points.indexNode(static_cast<std::uint32_t>(i))->item;
        point->edgeHighlighted = false;
        if (isUnder(*point, p)) {
            point->edgeHighlighted = true;
            highlighted = true;
            return true;
        }
    }
    return false;
}

bool ControlPoints::highlightPoint(const Vector &p)
{
    for (std::uint32_t i = 1; i <= points.count; ++i) {
        Point *point = points.indexNode(i)->item;
        point->highlighted = false;
        if (isUnder(*point, p)) {
            point->highlighted = true;
            highlighted = true;
            return true;
        }
    }
    return false;
}

void ControlPoints::clearHighlight()
{
    for (std::uint32_t i = 1; i <= points.count; ++i) {
        Point *point = points.indexNode(i)->item;
        point->edgeHighlighted = false;
        point->highlighted = false;
    }
    highlighted = false;
}

void ControlPoints::clear()
{
    highlighted = false;
    dirty = true;
    for (auto *n = points.head; n; n = n->next)
        delete n->item;
    points.releaseNodes();
}

double ControlPoints::area()
{
    if (!closed || points.count <= 2)
        return 0.0;
    if (dirty)
        cachedArea = fanArea(points);
    return cachedArea;
}

double fanArea(const List<Point> &points)
{
    if (points.count < 3)
        return 0.0;
    const Point &first = *points.head->item;
    double sum = 0.0;
    for (const Node<Point> *n = points.head->next; n->next; n = n->next)
        sum += first.signedArea(*n->next->item, *n->item);
    return sum;
}
