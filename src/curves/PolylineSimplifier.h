#pragma once

#include <cstddef>
#include <vector>

// Simplifies a polyline or closed loop for stroking at a given resolution:
// runs of nearly collinear vertices are merged into the run's extreme
// points, so that the simplified line covers the same pixels while having
// far fewer vertices. Vertices are fed one at a time (add), so the input
// never needs to be laid out in full; the output is kept between uses so
// that a redraw at the same size reuses its memory.
//
// Guarantee: every point of the input polyline lies within tolerance of the
// output polyline and every point of the output within tolerance of the
// input (the Hausdorff distance is at most tolerance). The output vertices
// are input vertices, in input order, and always include the first one,
// the last one of an open polyline and both ends of every change of grey,
// so that a colour interpolated along the line changes where it did.
//
// With dots, a second output thins the vertices for drawing them as
// points: a vertex is kept unless it lies within tolerance of the last
// kept dot.
class PolylineSimplifier
{
public:
    // Starts a new polyline: empties the outputs (keeping their memory).
    // tolerance in the units of the coordinates; 0 or less merges only
    // exact repeats and exactly collinear runs. greys: record a grey per
    // kept vertex; dots: thin the vertices as points too.
    void begin(double tolerance, bool greys, bool dots);
    // The next vertex of the polyline, with its grey (compared exactly;
    // ignored unless begin() asked for greys).
    void add(double x, double y, float grey = 0.0f);
    // Ends the polyline. closed: the line returns from the last vertex to
    // the first, and the output is a loop that does the same (its last
    // vertex is not a repeat of its first). Then the outputs are final.
    void finish(bool closed);

    // Kept vertices as x, y pairs.
    const std::vector<float> &vertices() const { return kept; }
    // Grey of each kept vertex (empty without greys).
    const std::vector<float> &greys() const { return keptGreys; }
    // Thinned dots as x, y pairs (empty without dots).
    const std::vector<float> &dots() const { return keptDots; }
    // Number of kept vertices.
    std::size_t size() const { return kept.size() / 2; }
    // Frees the outputs' memory.
    void release();

private:
    struct Vertex
    {
        double x = 0, y = 0;
        float grey = 0;
        std::size_t index = 0; // position in the input
    };

    // Extends the open run by v, or closes it and starts the next.
    void follow(const Vertex &v);
    void push(const Vertex &v);
    void flushRun();
    void thinDot(const Vertex &v);

    double halfWidth = 0;
    bool withGreys = false, withDots = false;
    bool started = false;
    std::size_t nextIndex = 0;
    Vertex first, anchor, last;
    // The open run after anchor: its direction (unit, once a vertex left
    // the disc around anchor) and its extreme vertices along it.
    std::size_t runLength = 0;
    bool haveDirection = false;
    double dx = 0, dy = 0;
    double ahead = 0, behind = 0;
    Vertex farthestAhead, farthestBehind;
    Vertex lastDot;

    std::vector<float> kept, keptGreys, keptDots;
};
