#include "render/PdfCanvas.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// A number as PDF writes it: at most four decimals, without trailing
// zeros ("0.15", "3", "-12.5").
QByteArray number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    QByteArray out(text);
    if (out.contains('.')) {
        while (out.endsWith('0'))
            out.chop(1);
        if (out.endsWith('.'))
            out.chop(1);
    }
    return out == "-0" ? QByteArray("0") : out;
}

// text as a PDF string of Latin-1 characters; others become '?'.
QByteArray literal(const QString &text)
{
    QByteArray out = "(";
    for (const QChar c : text) {
        const char byte = c.unicode() < 256 ? char(c.unicode()) : '?';
        if (byte == '(' || byte == ')' || byte == '\\')
            out += '\\';
        out += byte;
    }
    return out + ")";
}

// A circle is four cubic Bezier arcs; this is how far the control points
// stand from the ends, in radii.
constexpr double arc = 0.5522847498;

} // namespace

PdfCanvas::PdfCanvas(int width, int height, const DeviceMapping &mapping)
    : width(width), height(height), mapping(mapping)
{
    content = "1 J 1 j\n";
}

void PdfCanvas::setColour(const Colour &rgb)
{
    colour = rgb;
}

void PdfCanvas::setLineWidth(float w)
{
    content += number(w) + " w\n";
}

void PdfCanvas::setPointSize(float size)
{
    pointSize = size;
}

void PdfCanvas::point(double x, double y)
{
    const QPointF p = mapping.map(x, y);
    content += number(p.x()) + ' ' + number(p.y());
}

void PdfCanvas::vertex(const Vertices &vertices, std::size_t i, const char *op)
{
    const float *xy = vertices.xy + 2 * vertices.stride * i;
    point(xy[0], xy[1]);
    content += op;
}

void PdfCanvas::strokeColour(const float *rgb)
{
    content += number(rgb[0]) + ' ' + number(rgb[1]) + ' ' + number(rgb[2]) + " RG\n";
}

void PdfCanvas::fillColour(const float *rgb)
{
    content += number(rgb[0]) + ' ' + number(rgb[1]) + ' ' + number(rgb[2]) + " rg\n";
}

void PdfCanvas::draw(Shape shape, const Vertices &vertices)
{
    const std::size_t n = vertices.count;
    if (n == 0)
        return;
    auto colourAt = [&](std::size_t i) { return vertices.rgb ? vertices.rgb + 3 * vertices.stride * i : colour.data(); };
    auto sameColour = [&](std::size_t a, std::size_t b) {
        return !vertices.rgb || (colourAt(a)[0] == colourAt(b)[0] && colourAt(a)[1] == colourAt(b)[1] &&
                                 colourAt(a)[2] == colourAt(b)[2]);
    };
    if (shape == Shape::Dots || shape == Shape::Squares) {
        const double r = pointSize / 2.0;
        for (std::size_t i = 0; i < n; ++i) {
            if (i == 0 || !sameColour(i, i - 1))
                fillColour(colourAt(i));
            const float *xy = vertices.xy + 2 * vertices.stride * i;
            const QPointF c = mapping.map(xy[0], xy[1]);
            if (shape == Shape::Squares) {
                content += number(c.x() - r) + ' ' + number(c.y() - r) + ' ' + number(2 * r) + ' ' + number(2 * r) +
                           " re f\n";
                continue;
            }
            const double k = arc * r;
            auto at = [&](double dx, double dy) { return number(c.x() + dx) + ' ' + number(c.y() + dy) + ' '; };
            content += at(r, 0) + "m\n" + at(r, k) + at(k, r) + at(0, r) + "c\n" + at(-k, r) + at(-r, k) +
                       at(-r, 0) + "c\n" + at(-r, -k) + at(-k, -r) + at(0, -r) + "c\n" + at(k, -r) + at(r, -k) +
                       at(r, 0) + "c\nf\n";
        }
        return;
    }
    if (shape == Shape::Band) {
        // Every quadrilateral a filled path of its own: the polylines may
        // cross, which a single path's fill rule could leave open.
        fillColour(colour.data());
        for (std::size_t i = 0; i + 3 < n; i += 2) {
            vertex(vertices, i, " m ");
            vertex(vertices, i + 1, " l ");
            vertex(vertices, i + 3, " l ");
            vertex(vertices, i + 2, " l h f\n");
        }
        return;
    }
    strokeColour(colourAt(0));
    if (shape == Shape::Pairs) {
        for (std::size_t i = 0; i + 1 < n; i += 2) {
            if (i > 0 && !sameColour(i, i - 2)) {
                content += "S\n";
                strokeColour(colourAt(i));
            }
            vertex(vertices, i, " m ");
            vertex(vertices, i + 1, " l\n");
        }
        content += "S\n";
        return;
    }
    // One path; colours per vertex cut it into runs of one colour.
    vertex(vertices, 0, " m\n");
    for (std::size_t i = 1; i < n; ++i) {
        vertex(vertices, i, " l\n");
        if (!sameColour(i, i - 1)) {
            content += "S\n";
            strokeColour(colourAt(i));
            vertex(vertices, i, " m\n");
        }
    }
    content += shape == Shape::Loop ? "h S\n" : "S\n";
}

void PdfCanvas::text(double x, double y, const std::string &text)
{
    fillColour(colour.data());
    content += "BT /F1 12 Tf ";
    point(x, y);
    content += " Td " + literal(QString::fromStdString(text)) + " Tj ET\n";
}

QByteArray PdfCanvas::document(const QString &title, const QString &creator) const
{
    std::vector<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + QByteArray::number(width) + ' ' +
            QByteArray::number(height) + "] /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Title " + literal(title) + " /Creator " + literal(creator) + " /Producer " + literal(creator) + " >>",
    };
    QByteArray out = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    std::vector<qsizetype> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += QByteArray::number(qsizetype(i + 1)) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(qsizetype(objects.size() + 1)) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(offset));
        out += entry;
    }
    out += "trailer\n<< /Size " + QByteArray::number(qsizetype(objects.size() + 1)) +
           " /Root 1 0 R /Info 6 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}
