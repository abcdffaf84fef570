#include "ConvergencePlot.h"

#include "analysis/SchemeSetup.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// Room for the decades' labels and the distances' title on the left, the
// levels' labels and their title below.
constexpr double leftMargin = 46, rightMargin = 6, topMargin = 6, labelHeight = 14, titleHeight = 13;
constexpr double bottomMargin = labelHeight + titleHeight;
// Points are placed this far inside the frame, so that the dots at the
// ends of either axis are drawn whole.
constexpr double dotInset = ConvergencePlot::dotRadius + 1.5;

bool plottable(double d)
{
    return std::isfinite(d) && d > 0;
}

QString distanceText(double d)
{
    return d == 0 ? QString("0") : QString::asprintf("%.2e", d);
}

// Steps between labelled ticks so that at most `most` labels fit.
int labelStep(int span, int most)
{
    int step = 1;
    while (span / step > most)
        step = step == 1 ? 2 : step == 2 ? 5 : step * 2;
    return step;
}

} // namespace

ConvergencePlot::ConvergencePlot(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize ConvergencePlot::sizeHint() const
{
    return {200, 130};
}

QSize ConvergencePlot::minimumSizeHint() const
{
    return {150, 130};
}

QString ConvergencePlot::levelTitle() const
{
    return scheme == SchemeSetup::Bezier ? tr("split depth") : tr("level");
}

QString ConvergencePlot::distanceTitle() const
{
    return shown.distances.empty() || shown.toLimit ? tr("distance to limit") : tr("levels apart");
}

void ConvergencePlot::setSeries(const ConvergenceSeries &series, int schemeNumber, bool isCurrent)
{
    shown = series;
    scheme = schemeNumber;
    current = isCurrent;
    double low = INFINITY, high = -INFINITY;
    for (double d : shown.distances) {
        if (plottable(d)) {
            low = std::min(low, std::log10(d));
            high = std::max(high, std::log10(d));
        }
    }
    if (std::isfinite(low)) {
        lowDecade = static_cast<int>(std::floor(low));
        highDecade = std::max(static_cast<int>(std::ceil(high)), lowDecade + 1);
    } else {
        lowDecade = -3;
        highDecade = 0;
    }
    lastLevel = std::max({1, shown.wantedLevel, shown.lastLevel()});
    update();
}

QRectF ConvergencePlot::plotArea() const
{
    return QRectF(leftMargin, topMargin, width() - leftMargin - rightMargin, height() - topMargin - bottomMargin);
}

QPointF ConvergencePlot::place(double level, double log10Distance) const
{
    const QRectF area = plotArea().adjusted(dotInset, dotInset, -dotInset, -dotInset);
    const double x = area.left() + area.width() * level / lastLevel;
    const double y = area.bottom() - area.height() * (log10Distance - lowDecade) / (highDecade - lowDecade);
    return {x, y};
}

std::vector<std::pair<int, QPointF>> ConvergencePlot::plottedPoints() const
{
    std::vector<std::pair<int, QPointF>> points;
    for (std::size_t j = 0; j < shown.distances.size(); ++j)
        if (plottable(shown.distances[j]))
            points.emplace_back(static_cast<int>(j), place(double(j), std::log10(shown.distances[j])));
    return points;
}

QString ConvergencePlot::rateText() const
{
    const auto points = plottedPoints();
    if (points.size() < 2)
        return {};
    const double before = shown.distances[static_cast<std::size_t>(points[points.size() - 2].first)];
    const double last = shown.distances[static_cast<std::size_t>(points.back().first)];
    const int steps = points.back().first - points[points.size() - 2].first;
    const double factor = std::pow(before / last, 1.0 / steps);
    const char *per = scheme == SchemeSetup::Bezier ? "split" : "level";
    return factor >= 1 ? QString::asprintf("\u00f7%.2f per %s", factor, per)
                       : QString::asprintf("\u00d7%.2f per %s", 1 / factor, per);
}

QString ConvergencePlot::readout(const ConvergenceSeries &series, int schemeNumber, int asked, const QString &reached)
{
    if (schemeNumber == 0)
        return "Distance to limit: \u2013\ntick Show Limit with a scheme selected";
    if (series.distances.empty())
        return "Distance to limit: \u2013\nno curve drawn";
    const int last = series.lastLevel();
    const QString unit = schemeNumber == SchemeSetup::Bezier ? "depth" : "level";
    QString of = QString("%1 %2 of %3").arg(unit).arg(last).arg(asked >= 0 ? asked : series.wantedLevel);
    if (!reached.isEmpty())
        of += ", " + reached;
    const double d = series.distances.back();
    if (series.toLimit)
        return QString("Distance to limit = %1\n%2").arg(distanceText(d), of);
    if (last == 0)
        return QString("Distance to limit: unknown\n%1, not proven to converge, no level before").arg(of);
    return QString("Levels %1 to %2 apart = %3\n%4, not proven to converge")
        .arg(last - 1)
        .arg(last)
        .arg(distanceText(d), of);
}

void ConvergencePlot::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = plotArea();
    painter.fillRect(area, QColor(250, 250, 250));
    QFont small = font();
    small.setPointSizeF(std::max(6.0, font().pointSizeF() * 0.8));
    painter.setFont(small);
    const QColor ink = current ? QColor(20, 20, 20) : QColor(140, 140, 140);

    if (plottedPoints().empty()) {
        painter.setPen(QColor(110, 110, 110));
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                         scheme == 0 ? tr("nothing measured") : tr("nothing to plot"));
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(area);
        drawTitles(painter);
        return;
    }

    // Decade lines with their powers of ten, and the levels below.
    const int decadeStep = labelStep(highDecade - lowDecade, 4);
    for (int e = lowDecade; e <= highDecade; ++e) {
        const double y = place(0, e).y();
        painter.setPen(QColor(215, 215, 215));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        if ((e - lowDecade) % decadeStep == 0) {
            painter.setPen(QColor(80, 80, 80));
            painter.drawText(QRectF(0, y - 8, leftMargin - 3, 16), Qt::AlignRight | Qt::AlignVCenter,
                             QString("1e%1").arg(e));
        }
    }
    const int levelStep = labelStep(lastLevel, 6);
    for (int j = 0; j <= lastLevel; j += levelStep) {
        const double x = place(j, lowDecade).x();
        painter.setPen(QColor(80, 80, 80));
        painter.drawText(QRectF(x - 12, area.bottom() + 1, 24, labelHeight - 1), Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(j));
    }
    drawTitles(painter);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(area);

    const auto points = plottedPoints();
    painter.save();
    painter.setClipRect(area);
    // The guides: halving and quartering per level from the first point.
    const double first = std::log10(shown.distances[static_cast<std::size_t>(points.front().first)]);
    for (const auto &[factor, label] : {std::pair{2.0, "\u00f72"}, std::pair{4.0, "\u00f74"}}) {
        const double levels = lastLevel - points.front().first;
        const QPointF end = place(lastLevel, first - levels * std::log10(factor));
        painter.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
        painter.drawLine(points.front().second, end);
        painter.drawText(QRectF(end.x() - 22, end.y() - 14, 20, 12), Qt::AlignRight | Qt::AlignBottom, label);
    }
    QPainterPath path(points.front().second);
    for (std::size_t k = 1; k < points.size(); ++k)
        path.lineTo(points[k].second);
    painter.setPen(QPen(current ? QColor(30, 60, 170) : ink, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setBrush(current ? QColor(30, 60, 170) : ink);
    for (const auto &point : points)
        painter.drawEllipse(point.second, 2.5, 2.5);
    painter.restore();

    painter.setPen(ink);
    const QString corner = current ? rateText() : tr("measuring\u2026");
    painter.drawText(area.adjusted(0, 1, -3, 0), Qt::AlignRight | Qt::AlignTop, corner);
}

void ConvergencePlot::drawTitles(QPainter &painter) const
{
    const QRectF area = plotArea();
    painter.save();
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(QRectF(area.left(), area.bottom() + labelHeight, area.width(), titleHeight),
                     Qt::AlignHCenter | Qt::AlignTop, levelTitle());
    // The distances' title reads upwards along the left edge.
    painter.translate(0, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, 0, area.height(), titleHeight), Qt::AlignHCenter | Qt::AlignTop,
                     distanceTitle());
    painter.restore();
}
