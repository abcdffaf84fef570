#include "geometry/ControlPoints.h"

#include "geometry/DrawStyle.h"

#include <GL/gl.h>

namespace {

void vertex(const Vector &v)
{
    glVertex2d(v.x(), v.y());
}

} // namespace

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

void ControlPoints::draw()
{
    glEnable(GL_POINT_SMOOTH);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawStyle::pointSize(5.0f);

    drawGhostEdges();
    drawPoints();
    drawPolygon();
    drawHighlightedEdges();

    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
    DrawStyle::pointSize(1.0f);
}

void ControlPoints::drawGhostEdges()
{
    // The polygon as it was before the drag, around the dragged point.
    glColor3d(0.6, 0.6, 0.6);
    const std::uint32_t n = points.count;
    for (std::uint32_t i = 1; i <= n; ++i) {
        const Point &pi = *points.indexNode(i)->item;
        if (!pi.hasGhost)
            continue;
        glBegin(GL_LINES);
        if (i == 1) {
            if (closed) {
                vertex(pi.ghost);
                vertex(points.indexNode(n)->item->position);
            }
            if (n >= 2) {
                vertex(pi.ghost);
                vertex(points.indexNode(2)->item->position);
            }
        } else if (i == n) {
            if (closed) {
                vertex(pi.ghost);
                vertex(points.indexNode(1)->item->position);
            }
            vertex(points.indexNode(n - 1)->item->position);
            vertex(pi.ghost);
        } else {
            vertex(points.indexNode(i - 1)->item->position);
            vertex(pi.ghost);
            vertex(pi.ghost);
            vertex(points.indexNode(i + 1)->item->position);
        }
        glEnd();
    }
}

void ControlPoints::drawPoints()
{
    glBegin(GL_POINTS);
    for (std::uint32_t i = 1; i <= points.count; ++i) {
        const Point &p = *points.indexNode(i)->item;
        if (p.selected)
            glColor3d(0.0, 0.0, 1.0);
        else if (p.hasGhost)
            glColor3d(0.0, 1.0, 0.0);
        else if (p.highlighted)
            glColor3d(0.0, 1.0, 1.0);
        else
            glColor3d(1.0, 0.0, 0.0);
        vertex(p.position);
        if (p.hasGhost) {
            glColor3d(0.6, 0.6, 0.6);
            vertex(p.ghost);
        }
    }
    glEnd();
}

void ControlPoints::drawPolygon()
{
    // Yellow stands out on the grey view; on paper it would all but vanish.
    if (DrawStyle::current().printColours)
        glColor3d(0.15, 0.15, 0.15);
    else
        glColor3d(1.0, 1.0, 0.0);
    glBegin(closed ? GL_LINE_LOOP : GL_LINE_STRIP);
    for (std::uint32_t i = 1; i <= points.count; ++i)
        vertex(points.indexNode(i)->item->position);
    glEnd();
}

void ControlPoints::drawHighlightedEdges()
{
    glColor3d(0.0, 0.0, 1.0);
    const int edges = edgeCount();
    for (int i = 1; i <= edges; ++i) {
        const auto index = static_cast<std::uint32_t>(i);
        const Point &p = *points.indexNode(index)->item;
        if (!p.edgeHighlighted)
            continue;
        const std::uint32_t nextIndex = (closed && i == edges) ? 1 : index + 1;
        glBegin(GL_LINES);
        vertex(p.position);
        vertex(points.indexNode(nextIndex)->item->position);
        glEnd();
    }
}
