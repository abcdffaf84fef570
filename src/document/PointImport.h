#pragma once

#include "geometry/Vector.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Points from elsewhere, as a control polygon: text with one point a line
// (CSV "x,y", or x and y separated by white space, semicolons or tabs; a
// header line first and "#" comments allowed) or an SVG file's first
// path, polyline or polygon (its first subpath; every point the path
// names, the control points of its curve segments included, in order; y
// turned upwards; a closing Z or a polygon closes it; transforms are not
// applied). Reading reports the first fault as one sentence naming the
// source and the line; nothing is changed then.
class PointImport
{
public:
    struct Result
    {
        std::vector<Vector> points; // z = 0
        bool closed = false;        // the SVG path closes itself
    };

    // Most points an import takes (a polygon file's limit).
    static constexpr std::size_t maxPoints = 100000;
    // Larger inputs are refused unread.
    static constexpr qsizetype maxBytes = 64 * 1024 * 1024;

    // Reads text (the contents of name, used in messages): SVG when it
    // starts with "<" (after white space), else lines of points. Empty on
    // success with the points in result, else one sentence.
    static QString read(const QByteArray &text, const QString &name, Result &result);
    // Reads the file at path as read() does; I/O failures are sentences too.
    static QString readFile(const QString &path, Result &result);

    // Moves and scales points uniformly so that they fill the middle 90%
    // of the square centred at (cx, cy) with half side half, unless they
    // already lie within it. Returns whether they were moved.
    static bool fitInto(std::vector<Vector> &points, double cx, double cy, double half);
};
