#include "GLBox.h"

#include "curves/Curve.h"
#include "document/Document.h"
#include "geometry/ControlPoints.h"

Document GLBox::snapshot() const
{
    Document document;
    document.points.reserve(controlPoints->points.count);
    for (const Node<Point> *n = controlPoints->points.head; n; n = n->next)
        document.points.emplace_back(n->item->position.x(), n->item->position.y());
    document.closed = controlPoints->closed;
    document.scheme = currentCurve;
    int scheme = 1;
    for (const Node<Curve> *n = curves.head; n && scheme <= Document::schemeCount; n = n->next, ++scheme) {
        const Curve &curve = *n->item;
        document.settings(scheme) = {curve.u(), curve.precision, curve.level, curve.depthColour, curve.curvePoints};
    }
    document.axis = drawAxis;
    document.gridSpacing = gridSpace;
    return document;
}

void GLBox::apply(const Document &document)
{
    // The points of a drag under way are about to be freed.
    movingPoint = nullptr;
    mouseMode = None;
    for (Node<Curve> *n = curves.head; n; n = n->next)
        n->item->clearResult();
    controlPoints->clear();
    for (const Vector &p : document.points)
        controlPoints->insertPoint(p);
    controlPoints->closed = document.closed;
    controlPoints->dirty = true;

    int scheme = 1;
    for (Node<Curve> *n = curves.head; n && scheme <= Document::schemeCount; n = n->next, ++scheme) {
        const Document::SchemeSettings &settings = document.settings(scheme);
        Curve &curve = *n->item;
        curve.setU(settings.u);
        curve.precision = settings.precision;
        curve.level = settings.level;
        curve.depthColour = settings.depthColour;
        curve.curvePoints = settings.curvePoints;
    }
    currentCurve = document.scheme;
    drawAxis = document.axis;
    gridSpace = document.gridSpacing;
    // A limit reached by the old polygon says nothing about the new one.
    shownLimit = {};
    updateGL();
}
