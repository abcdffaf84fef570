#include "curves/Curve.h"

#include <GL/gl.h>

#include <algorithm>
#include <iostream>

namespace {

void vertex(const Vector &v)
{
    glVertex2d(v.x(), v.y());
}

// The closed loop as both drawGhost() and drawCurve() issue it: every inner
// vertex twice (p1, p2, p2, p3, ..., tail, head), closing edge included.
template <typename VertexOf>
void emitLoop(const List<Point> &points, VertexOf vertexOf)
{
    if (!points.head)
        return;
    for (const Node<Point> *n = points.head; n != points.tail; n = n->next) {
        vertex(vertexOf(*n->item));
        vertex(vertexOf(*n->next->item));
    }
    vertex(vertexOf(*points.tail->item));
    vertex(vertexOf(*points.head->item));
}

} // namespace

Curve::Curve(ControlPoints *controlPoints) : controlPoints(controlPoints) {}

Curve::~Curve()
{
    clearResult();
}

void Curve::render()
{
    if (!controlPoints || controlPoints->points.count <= 2)
        return;
    if (controlPoints->dirty) {
        rebuildResult();
        subdivide();
        result->trimStorage();
        points.trim();
    }
    draw();
}

void Curve::clearResult()
{
    if (!result)
        return;
    points.clear();
    points.trim();
    delete result; // the list frees its nodes
    result = nullptr;
}

void Curve::rebuildResult()
{
    if (!controlPoints || !controlPoints->dirty)
        return;
    if (result)
        result->releaseNodes();
    else
        result = new List<Point>;
    points.clear();
    for (const Node<Point> *n = controlPoints->points.head; n; n = n->next) {
        if (!result->append(makePoint(*n->item), 0))
            std::cerr << "> List::append: thisitem is NULL." << std::endl;
    }
    controlPoints->dirty = false;
}

void Curve::beginFrame()
{
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Curve::endFrame()
{
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
}

void Curve::drawClosed()
{
    if (!controlPoints || !controlPoints->closed || !result)
        return;
    beginFrame();
    drawGhost();
    drawCurve();
    endFrame();
}

void Curve::drawGhost()
{
    // Without a drag the ghost coincides with the curve and hides under it;
    // during a drag it shows the curve as it was before.
    glLineWidth(3.0f);
    glColor3d(0.6, 0.6, 0.6);
    glBegin(GL_LINE_LOOP);
    emitLoop(*result, &Curve::ghostOf);
    glEnd();
}

void Curve::drawCurve()
{
    glLineWidth(3.0f);
    glColor3f(0.65f, 0.53f, 1.0f);
    glBegin(GL_LINE_LOOP);
    emitLoop(*result, [](const Point &p) -> const Vector & { return p.position; });
    glEnd();
    glLineWidth(1.0f);
    drawCurvePoints();
}

void Curve::drawCurvePoints()
{
    if (!curvePoints)
        return;
    glPointSize(2.0f);
    glColor3d(1.0, 1.0, 1.0);
    glBegin(GL_POINTS);
    for (const Node<Point> *n = result->head; n; n = n->next)
        vertex(n->item->position);
    glEnd();
}

bool Curve::refineClosed(std::uint32_t growth, const std::function<void()> &pass)
{
    if (!result || result->count < 3 || !controlPoints || !controlPoints->closed)
        return false;
    deltaArea = 0.0;
    // Every level that fits is run exactly; the first that would not fit
    // is where the subdivision stops.
    const int wanted = std::max(level, 0);
    std::uint64_t size = result->count;
    int passes = 0;
    while (passes < wanted && size * growth <= pointBudget) {
        size *= growth;
        ++passes;
    }
    limited = passes < wanted;
    reachedLevel = limited ? passes : level;
    for (int i = 0; i < passes; ++i)
        pass();
    return true;
}

void Curve::insertAfter(Node<Point> *node, Point *item)
{
    Node<Point> *n = result->makeNode(item);
    n->prev = node;
    n->next = node->next;
    if (node->next)
        node->next->prev = n;
    else
        result->tail = n;
    node->next = n;
    result->cacheValid = false;
    ++result->count;
}

void Curve::insertBefore(Node<Point> *node, Point *item)
{
    Node<Point> *n = result->makeNode(item);
    n->next = node;
    n->prev = node->prev;
    if (node->prev)
        node->prev->next = n;
    else
        result->head = n;
    node->prev = n;
    result->cacheValid = false;
    ++result->count;
}

double Curve::fanArea(const List<Point> &points)
{
    if (points.count < 3)
        return 0.0;
    // Fan from the first point, the two later points in descending order:
    // positive for clockwise polygons, as ControlPoints::area().
    const Point &first = *points.head->item;
    double sum = 0.0;
    for (const Node<Point> *n = points.head->next; n->next; n = n->next)
        sum += first.signedArea(*n->next->item, *n->item);
    return sum;
}
