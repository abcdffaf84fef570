#pragma once

#include "render/Canvas.h"
#include "render/DeviceMapping.h"

#include <QColor>
#include <QFont>

class QPainter;
class QPainterPath;
class QPen;

// The QPainter back-end of Canvas, for SVG (QSvgGenerator) and images
// (QImage), which need no OpenGL and no display: every strip or loop is one
// path with round joins and caps, antialiased; dots are discs, squares
// squares; text is Helvetica. Colours go to 8 bits as PostScript's writer
// takes them (truncated), so that every output names the same colour.
class PainterCanvas : public Canvas
{
public:
    // Draws with painter (not owned, active) through mapping.
    PainterCanvas(QPainter &painter, const DeviceMapping &mapping);

    void setColour(const Colour &colour) override;
    void setLineWidth(float width) override;
    void setPointSize(float size) override;
    void setSmooth(bool) override {}
    void draw(Shape shape, const Vertices &vertices) override;
    void text(double x, double y, const std::string &text) override;
    void picture(const QImage &image, int deviceMargin) override;

    // colour in 8 bits per channel, truncated.
    static QColor qColour(const float *rgb);

private:
    QPointF at(const Vertices &vertices, std::size_t i) const;
    void stroke(Shape shape, const Vertices &vertices);
    void points(bool round, const Vertices &vertices);
    void fill(const Vertices &vertices);
    void strokeWith(const QPen &pen, const QPainterPath &path);

    QPainter &painter;
    DeviceMapping mapping;
    QColor colour = Qt::black;
    float lineWidth = 1.0f;
    float pointSize = 1.0f;
    QFont font;
};
