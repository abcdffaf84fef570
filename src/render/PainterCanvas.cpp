#include "render/PainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

PainterCanvas::PainterCanvas(QPainter &painter, const DeviceMapping &mapping)
    : painter(painter), mapping(mapping), font("Helvetica")
{
    font.setPixelSize(12);
    painter.setRenderHint(QPainter::Antialiasing);
}

QColor PainterCanvas::qColour(const float *rgb)
{
    return QColor(int(rgb[0] * 255), int(rgb[1] * 255), int(rgb[2] * 255));
}

void PainterCanvas::setColour(const Colour &rgb)
{
    colour = qColour(rgb.data());
}

void PainterCanvas::setLineWidth(float width)
{
    lineWidth = width;
}

void PainterCanvas::setPointSize(float size)
{
    pointSize = size;
}

QPointF PainterCanvas::at(const Vertices &vertices, std::size_t i) const
{
    const float *xy = vertices.xy + 2 * vertices.stride * i;
    return mapping.map(xy[0], xy[1]);
}

void PainterCanvas::draw(Shape shape, const Vertices &vertices)
{
    if (vertices.count == 0)
        return;
    if (shape == Shape::Dots || shape == Shape::Squares)
        points(shape == Shape::Dots, vertices);
    else if (shape == Shape::Band)
        fill(vertices);
    else
        stroke(shape, vertices);
}

void PainterCanvas::fill(const Vertices &vertices)
{
    // One path of all the quadrilaterals, each turned the same way round,
    // so that the winding rule fills their union however the two
    // polylines cross.
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (std::size_t i = 0; i + 3 < vertices.count; i += 2) {
        QPolygonF quad{at(vertices, i), at(vertices, i + 1), at(vertices, i + 3), at(vertices, i + 2)};
        double twice = 0.0;
        for (qsizetype k = 0; k < 4; ++k)
            twice += quad[k].x() * quad[(k + 1) % 4].y() - quad[(k + 1) % 4].x() * quad[k].y();
        if (twice < 0)
            std::reverse(quad.begin(), quad.end());
        path.addPolygon(quad);
        path.closeSubpath();
    }
    painter.drawPath(path);
}

void PainterCanvas::stroke(Shape shape, const Vertices &vertices)
{
    QPen pen(colour, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const std::size_t n = vertices.count;
    auto colourAt = [&](std::size_t i) { return qColour(vertices.rgb + 3 * vertices.stride * i); };
    if (shape == Shape::Pairs) {
        // Each pair its own segment; pairs of one colour in one path.
        QPainterPath path;
        QColor pathColour = vertices.rgb ? colourAt(0) : colour;
        for (std::size_t i = 0; i + 1 < n; i += 2) {
            if (vertices.rgb && colourAt(i) != pathColour) {
                pen.setColor(pathColour);
                strokeWith(pen, path);
                path = QPainterPath();
                pathColour = colourAt(i);
            }
            path.moveTo(at(vertices, i));
            path.lineTo(at(vertices, i + 1));
        }
        pen.setColor(pathColour);
        strokeWith(pen, path);
        return;
    }
    // A strip or loop is one path; one with colours per vertex is cut into
    // runs of one colour (the depth shading changes in steps).
    QPainterPath path(at(vertices, 0));
    QColor pathColour = vertices.rgb ? colourAt(0) : colour;
    for (std::size_t i = 1; i < n; ++i) {
        path.lineTo(at(vertices, i));
        if (vertices.rgb && colourAt(i) != pathColour) {
            pen.setColor(pathColour);
            strokeWith(pen, path);
            path = QPainterPath(at(vertices, i));
            pathColour = colourAt(i);
        }
    }
    if (shape == Shape::Loop)
        path.closeSubpath();
    pen.setColor(pathColour);
    strokeWith(pen, path);
}

void PainterCanvas::strokeWith(const QPen &pen, const QPainterPath &path)
{
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void PainterCanvas::points(bool round, const Vertices &vertices)
{
    painter.setPen(Qt::NoPen);
    const double half = pointSize / 2.0;
    for (std::size_t i = 0; i < vertices.count; ++i) {
        painter.setBrush(vertices.rgb ? qColour(vertices.rgb + 3 * vertices.stride * i) : colour);
        const QPointF centre = at(vertices, i);
        const QRectF square(centre.x() - half, centre.y() - half, pointSize, pointSize);
        if (round)
            painter.drawEllipse(square);
        else
            painter.drawRect(square);
    }
}

void PainterCanvas::text(double x, double y, const std::string &text)
{
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(mapping.map(x, y), QString::fromStdString(text));
}

void PainterCanvas::picture(const QImage &image, int deviceMargin)
{
    // The picture keeps its device pixels: it was made for this output.
    QImage pixels = image;
    pixels.setDevicePixelRatio(1.0);
    painter.drawImage(QPointF(deviceMargin, deviceMargin), pixels);
}
