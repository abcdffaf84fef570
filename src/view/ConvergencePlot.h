#pragma once

#include "analysis/ConvergenceSeries.h"

#include <QPointF>
#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

class QPainter;

// A small plot of the selected scheme's convergence series: the distance of
// each level (to the limit, or to the level before) against the level, on a
// logarithmic scale, so that a fixed rate per pass is a straight line: a
// halving falls by log10 2 = 0.30 decades per level, a quartering by 0.60.
// Two dashed guides fall from the first point at exactly those rates, and
// the corner gives the rate of the last two levels. A provisional series
// (more levels still to be measured) is drawn in grey.
class ConvergencePlot : public QWidget
{
    Q_OBJECT

public:
    explicit ConvergencePlot(QWidget *parent = nullptr);

    // Shows series of scheme (SchemeSetup numbering; 0: nothing measured,
    // series empty); current false marks it as provisional. Repaints.
    void setSeries(const ConvergenceSeries &series, int scheme, bool current);
    const ConvergenceSeries &series() const { return shown; }
    bool isCurrent() const { return current; }

    // The levels with a finite distance above 0 and where the plot puts
    // them, in widget coordinates (logical pixels), in level order.
    std::vector<std::pair<int, QPointF>> plottedPoints() const;
    // The plot's frame, inside the axes' labels and titles: every dot
    // (dotRadius round its point) lies wholly inside it.
    QRectF plotArea() const;
    static constexpr double dotRadius = 2.5;
    // The axes' titles: the levels ("level", or "split depth" for the
    // Bezier scheme) and the distances ("distance to limit", or "levels
    // apart" where consecutive levels are compared).
    QString levelTitle() const;
    QString distanceTitle() const;
    // The factor by which the distance shrank over the last plotted step,
    // as the corner shows it: "÷4.00 per level" ("per split" for the Bezier
    // scheme, "×" when it grew); empty with fewer than two plotted levels.
    QString rateText() const;
    // The read-out beside the plot, two lines: the distance of the last
    // level measured and which level that is, of the level asked for
    // (asked; -1: the level the series runs to), followed by reached, the
    // words that say where the subdivision stopped short of it.
    static QString readout(const ConvergenceSeries &series, int scheme, int asked = -1,
                           const QString &reached = {});

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Widget position of a level and a distance.
    QPointF place(double level, double log10Distance) const;
    // The axes' titles below and left of the frame.
    void drawTitles(QPainter &painter) const;

    ConvergenceSeries shown;
    int scheme = 0;
    bool current = true;
    // The decades of the vertical axis and the last level of the horizontal
    // one, fixed by setSeries.
    int lowDecade = -3, highDecade = 0;
    int lastLevel = 1;
};
