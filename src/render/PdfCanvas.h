#pragma once

#include "render/Canvas.h"
#include "render/DeviceMapping.h"

#include <QByteArray>
#include <QString>

// The PDF back-end of Canvas: one page written directly as PDF operators,
// uncompressed, so that a page's colours and widths read as they were
// given ("0.15 0.15 0.15 RG", "3 w"): every strip or loop is one path with
// round joins and caps, dots are discs, squares squares, text is the
// standard Helvetica (nothing embedded). No Qt painting and no display.
class PdfCanvas : public Canvas
{
public:
    // A page of width x height points; vertices go through mapping (y up).
    PdfCanvas(int width, int height, const DeviceMapping &mapping);

    void setColour(const Colour &colour) override;
    void setLineWidth(float width) override;
    void setPointSize(float size) override;
    void setSmooth(bool) override {}
    void draw(Shape shape, const Vertices &vertices) override;
    void text(double x, double y, const std::string &text) override;
    void picture(const QImage &, int) override {}

    // The whole file: the page with what was drawn, titled title, with
    // creator as the program that made it.
    QByteArray document(const QString &title, const QString &creator) const;

private:
    void point(double x, double y);
    void vertex(const Vertices &vertices, std::size_t i, const char *op);
    void strokeColour(const float *rgb);
    void fillColour(const float *rgb);

    int width, height;
    DeviceMapping mapping;
    QByteArray content;
    Colour colour{0.0f, 0.0f, 0.0f};
    float pointSize = 1.0f;
};
