#pragma once

#include <QColor>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

// A small line plot of the scheme laboratory (the basic limit function,
// its derivative, the regularity bounds against a weight): lines in
// colours over a fixed range, dotted horizontal guides, an optional
// vertical marker, a title and the two ranges' ends as labels. Its context
// menu exports the plot as PNG or SVG ("Export Plot as PNG...", "... as
// SVG...").
class LabPlot : public QWidget
{
    Q_OBJECT

public:
    // One line: its points (any order of x; a NaN y breaks the line) and
    // colour.
    struct Line
    {
        std::vector<QPointF> points;
        QColor colour;
    };

    explicit LabPlot(QWidget *parent = nullptr);

    // The plot's contents; each setter repaints. The ranges: x from left to
    // right, y from bottom to top (the lines are clipped to them).
    void setTitle(const QString &text);
    void setRange(double left, double right, double bottom, double top);
    void setLines(std::vector<Line> lines);
    // Horizontal dotted guides at these values of y.
    void setGuides(std::vector<double> values);
    // A vertical marker at x, or none.
    void setMarker(std::optional<double> x);

    const std::vector<Line> &lines() const { return shown; }
    std::optional<double> marker() const { return markX; }
    const QString &title() const { return heading; }

    // Writes the plot to path, PNG or SVG by its suffix, at widget size
    // (a PNG twice as large, for a sharp slide); true when written.
    bool exportTo(const QString &path) const;

    QSize sizeHint() const override { return {220, 120}; }
    QSize minimumSizeHint() const override { return {150, 100}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void paintOn(QPainter &painter, const QSizeF &size) const;
    void exportAs(const QString &suffix);

    QString heading;
    double left = 0, right = 1, bottom = 0, top = 1;
    std::vector<Line> shown;
    std::vector<double> guides;
    std::optional<double> markX;
};
