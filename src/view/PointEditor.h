#pragma once

#include "geometry/Vector.h"

#include <QDialog>

#include <cstddef>

class QDoubleSpinBox;

// A small dialog for typing one control point's coordinates: two spin
// boxes in world units ("pointXSpinBox", "pointYSpinBox") within the reach
// that files keep, with OK and Cancel; its object name is "pointEditor".
// It only asks: the caller applies what was accepted.
class PointEditor : public QDialog
{
    Q_OBJECT

public:
    // For the point at position, the index-th (0-based) of the polygon,
    // shown with decimals places; parent owns the dialog as usual.
    PointEditor(QWidget *parent, std::size_t index, const Vector &position, int decimals);

    std::size_t index() const { return pointIndex; }
    // The coordinates as the boxes hold them (z 0); a coordinate whose box
    // still shows the value it was opened with keeps that value exactly,
    // beyond the decimals shown.
    Vector position() const;

private:
    std::size_t pointIndex;
    Vector opened;
    QDoubleSpinBox *x = nullptr;
    QDoubleSpinBox *y = nullptr;
    double shownX = 0.0, shownY = 0.0; // the boxes' values when opened
};
