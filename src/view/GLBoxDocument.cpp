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
    restorePolygon(std::make_shared<const PolygonSnapshot>(PolygonSnapshot{document.points, document.closed}));

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
    updateGL();
}
