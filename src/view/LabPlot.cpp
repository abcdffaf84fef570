#include "LabPlot.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <cmath>

namespace {

constexpr double leftMargin = 30, rightMargin = 6, topMargin = 16, bottomMargin = 14;

QString tick(double value)
{
    return QString::number(value, 'g', 3);
}

} // namespace

LabPlot::LabPlot(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void LabPlot::setTitle(const QString &text)
{
    heading = text;
    update();
}

void LabPlot::setRange(double l, double r, double b, double t)
{
    left = l;
    right = r > l ? r : l + 1;
    bottom = b;
    top = t > b ? t : b + 1;
    update();
}

void LabPlot::setLines(std::vector<Line> lines)
{
    shown = std::move(lines);
    update();
}

void LabPlot::setGuides(std::vector<double> values)
{
    guides = std::move(values);
    update();
}

void LabPlot::setMarker(std::optional<double> x)
{
    // Asked again on every drag step: only a move repaints.
    if (x == markX)
        return;
    markX = x;
    update();
}

void LabPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintOn(painter, size());
}

void LabPlot::paintOn(QPainter &painter, const QSizeF &size) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const QRectF area(leftMargin, topMargin, size.width() - leftMargin - rightMargin,
                      size.height() - topMargin - bottomMargin);
    const auto place = [&](double x, double y) {
        return QPointF(area.left() + (x - left) / (right - left) * area.width(),
                       area.bottom() - (y - bottom) / (top - bottom) * area.height());
    };
    QFont font = painter.font();
    font.setPointSizeF(7);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 0, size.width(), topMargin), Qt::AlignCenter, heading);
    painter.drawText(QRectF(0, area.top() - 6, leftMargin - 3, 12), Qt::AlignRight | Qt::AlignVCenter, tick(top));
    painter.drawText(QRectF(0, area.bottom() - 6, leftMargin - 3, 12), Qt::AlignRight | Qt::AlignVCenter,
                     tick(bottom));
    painter.drawText(QRectF(area.left(), area.bottom(), area.width(), bottomMargin), Qt::AlignLeft | Qt::AlignVCenter,
                     tick(left));
    painter.drawText(QRectF(area.left(), area.bottom(), area.width(), bottomMargin), Qt::AlignRight | Qt::AlignVCenter,
                     tick(right));
    painter.setPen(QPen(Qt::gray, 0));
    painter.drawRect(area);

    painter.save();
    painter.setClipRect(area);
    for (const double y : guides) {
        painter.setPen(QPen(Qt::darkGray, 1, Qt::DotLine));
        painter.drawLine(place(left, y), place(right, y));
        painter.drawText(QRectF(area.left() + 2, place(left, y).y() - 11, 30, 11), Qt::AlignLeft, tick(y));
    }
    if (bottom < 0 && top > 0) {
        painter.setPen(QPen(Qt::lightGray, 0));
        painter.drawLine(place(left, 0), place(right, 0));
    }
    for (const Line &line : shown) {
        QPainterPath path;
        bool pen = false;
        for (const QPointF &p : line.points) {
            if (!std::isfinite(p.y())) {
                pen = false;
                continue;
            }
            const QPointF at = place(p.x(), p.y());
            pen ? path.lineTo(at) : path.moveTo(at);
            pen = true;
        }
        painter.setPen(QPen(line.colour, 1.5));
        painter.drawPath(path);
    }
    if (markX) {
        painter.setPen(QPen(QColor(200, 0, 0), 1.5, Qt::DashLine));
        painter.drawLine(place(*markX, bottom), place(*markX, top));
    }
    painter.restore();
}

bool LabPlot::exportTo(const QString &path) const
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size());
        svg.setViewBox(QRect(QPoint(0, 0), size()));
        svg.setTitle(heading);
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        paintOn(painter, size());
        return painter.end() && QFileInfo(path).size() > 0;
    }
    if (suffix != "png")
        return false;
    QImage image(size() * 2, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(2, 2);
    paintOn(painter, size());
    painter.end();
    return image.save(path, "PNG");
}

void LabPlot::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(tr("Export Plot as PNG..."), this, [this] { exportAs("png"); });
    menu.addAction(tr("Export Plot as SVG..."), this, [this] { exportAs("svg"); });
    menu.exec(event->globalPos());
}

void LabPlot::exportAs(const QString &suffix)
{
    QString path = QFileDialog::getSaveFileName(this, tr("Export Plot"), objectName() + "." + suffix,
                                                suffix.toUpper() + QString(" (*.%1)").arg(suffix));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += "." + suffix;
    exportTo(path);
}
