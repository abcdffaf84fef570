#include "render/LegendDrawing.h"

#include "render/Canvas.h"
#include "render/Frame.h"
#include "render/StudyLayers.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace {

// The legend's distance from the picture's corner, in logical pixels, and
// its text's from the page's.
constexpr int legendMargin = 8;
constexpr double textLeft = 12;

void drawArray(Canvas &canvas, Canvas::Shape shape, const std::vector<float> &xy)
{
    if (!xy.empty())
        canvas.draw(shape, {xy.data(), xy.size() / 2});
}

} // namespace

LegendDrawing::LegendDrawing(StudyLayers &layers) : layers(layers) {}

void LegendDrawing::draw(Canvas &canvas, const Frame &frame, const std::vector<Scene::LegendLine> &lines,
                         const QFont &font)
{
    const QFontMetrics metrics(font);
    const double unit = frame.logicalSide > 0 ? frame.view.side() / frame.logicalSide : 0.0;
    const ViewTransform &v = frame.view;
    switch (frame.legend) {
    case Frame::Legend::Picture:
        layOut(lines, frame.legendRatio, font);
        layers.drawLegend(canvas, qRound(legendMargin * frame.legendRatio));
        return;
    case Frame::Legend::Names:
        // The names at the corner where the view shows its legend, in the
        // curves' colours.
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const double down = legendMargin + metrics.height() * (double(k) + 1);
            canvas.setColour(lines[k].colour);
            canvas.text(v.left() + textLeft * unit, v.top() - down * unit, lines[k].text);
        }
        return;
    case Frame::Legend::Swatches:
        // A swatch of each curve's colour and width before its name, in
        // black, rows of 15 points from the corner.
        constexpr double row = 15, swatch = 24, gap = 6;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const double down = legendMargin + row * (double(k) + 1);
            const double x = v.left() + legendMargin * unit, y = v.top() - down * unit;
            const std::vector<float> stroke{float(x), float(y + 4 * unit), float(x + swatch * unit),
                                            float(y + 4 * unit)};
            canvas.setSmooth(true);
            canvas.setLineWidth(lines[k].width * frame.widthScale);
            canvas.setColour(lines[k].colour);
            if (lines[k].depthKey) {
                // White at split depth 0 to black at depth 10.
                const std::vector<float> greys{1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f};
                canvas.draw(Canvas::Shape::Strip, {stroke.data(), 2, 1, greys.data()});
            } else {
                drawArray(canvas, Canvas::Shape::Strip, stroke);
            }
            canvas.setSmooth(false);
            canvas.setLineWidth(frame.widthScale);
            canvas.setColour({0.0f, 0.0f, 0.0f});
            canvas.text(x + (swatch + gap) * unit, y, lines[k].text);
        }
        return;
    }
}

void LegendDrawing::layOut(const std::vector<Scene::LegendLine> &lines, double ratio, const QFont &font)
{
    if (lines == shown && ratio == shownRatio && font == shownFont)
        return;
    shown = lines;
    shownRatio = ratio;
    shownFont = font;
    if (shown.empty()) {
        layers.setLegend(QImage());
        return;
    }
    // A swatch of the curve's colour and width before each name, on a pale
    // panel that keeps the names readable over the grid.
    const QFontMetrics metrics(font);
    const int swatch = 24, gap = 6, pad = 5, rowHeight = metrics.height();
    int textWidth = 0;
    for (const Scene::LegendLine &line : shown)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(QString::fromStdString(line.text)));
    const QSize size(pad + swatch + gap + textWidth + pad, pad + rowHeight * int(shown.size()) + pad);
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), 4, 4);
    painter.setFont(font);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const Scene::LegendLine &line = shown[k];
        const double y = pad + rowHeight * (double(k) + 0.5);
        if (line.depthKey) {
            // White at split depth 0 to black at depth 10, as the curve's
            // core is shaded.
            QLinearGradient depth(QPointF(pad, y), QPointF(pad + swatch, y));
            depth.setColorAt(0, Qt::white);
            depth.setColorAt(1, Qt::black);
            painter.setPen(QPen(QBrush(depth), line.width));
        } else {
            painter.setPen(QPen(QColor::fromRgbF(line.colour[0], line.colour[1], line.colour[2]), line.width));
        }
        painter.drawLine(QPointF(pad, y), QPointF(pad + swatch, y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(pad + swatch + gap, y - rowHeight / 2.0, textWidth + 1, rowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(line.text));
    }
    painter.end();
    layers.setLegend(image);
}
