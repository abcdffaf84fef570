#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/List.h"
#include "geometry/Point.h"
#include "geometry/Pool.h"

// Runs all the passes of a closed refining scheme (Chaikin, the cubic
// B-spline, the proposed scheme) on contiguous arrays and writes only the
// final loop into the result list, in one sequential sweep of fresh points
// and nodes. A pass maps every point P of a closed polygon, with its
// neighbours before and after as they stood at the start of the pass, to a
// group of growth new points in a row: a Rule. The early passes run over
// whole (small) arrays; the last few run chunk by chunk on windows that
// stay in cache, so the only large memory traffic is the list being written
// and no array of the curve's size is ever held beside it.
//
// Every value is computed with the rule's own arithmetic, the ghosts with
// the same rule (a point without a ghost standing in with its position, as
// combine() does), so the points, ghosts and flags are those of passes run
// over the list one by one.
class ClosedRefinement
{
public:
    // One scheme's pass. Subclasses give the arithmetic of a group.
    class Rule
    {
    public:
        // growth: points per group, 2 or 3. oldSlot: the place in each
        // group of the point whose object is the old point's own (as in a
        // pass over the list, which keeps that object and its node there).
        // keepsOld: that point keeps the old point's flags, level and
        // stored ghost (the old point moved); otherwise it is reset like a
        // new point.
        Rule(std::uint32_t growth, std::uint32_t oldSlot, bool keepsOld)
            : growth(growth), oldSlot(oldSlot), keepsOld(keepsOld)
        {
        }
        virtual ~Rule() = default;

        // For every i in [0, count): the group of in[i], from in[i - 1],
        // in[i] and in[i + 1] (both must be readable: index signed), written
        // to out[growth * i] onwards. out does not overlap in.
        virtual void expand(const Vector *in, std::size_t count, Vector *out) const = 0;
        // The same for ghost flags (0 or 1): which points of the groups
        // have a ghost, from the flags of the three inputs.
        virtual void expandFlags(const std::uint8_t *in, std::size_t count, std::uint8_t *out) const = 0;
        // The area a pass accounts for over the points in[0, count) and
        // their groups out[0, growth * count), summed in that order; 0 for
        // a scheme that sums no areas pass by pass.
        virtual double passArea(const Vector *in, std::size_t count, const Vector *out) const;

        const std::uint32_t growth;
        const std::uint32_t oldSlot;
        const bool keepsOld;
    };

    // Turns the points of list, copies of a closed polygon of 3 or more
    // points made from pool, into the loop that passes (1 or more) passes
    // of rule make of them, in place: the old points and their nodes stay,
    // each where the passes over the list would leave it; every other
    // point and node is new, from the same storage. Sets passAreas and,
    // with withFan, loopArea.
    void run(const Rule &rule, int passes, bool withFan, List<Point> &list, Pool<Point> &pool);

    // Sum of rule.passArea over every pass: each pass summed on its own in
    // loop order, then the passes' sums in pass order.
    double passAreas = 0.0;
    // With withFan: fanArea() of the final loop, summed in the same order
    // as fanArea() sums it, so bit-identical to it; else 0.
    double loopArea = 0.0;

private:
    // Positions, ghosts (positions where none) and ghost flags of one
    // level; ghosts and flags only while some point has a ghost. Element
    // i of the level is stored at index i + margin.
    struct Level
    {
        std::vector<Vector> positions;
        std::vector<Vector> ghosts;
        std::vector<std::uint8_t> flags;
        void resize(std::size_t size, bool ghosted);
    };

    // Room before and after the elements of a level: the neighbours of the
    // ends, and the groups of the neighbours of a window.
    static constexpr std::size_t margin = 3;

    void expandLevel(const Rule &rule, const Level &in, std::ptrdiff_t first, std::size_t count, Level &out,
                     std::ptrdiff_t outFirst) const;
    void runFlatPass(const Rule &rule, std::size_t pass);
    void runChunk(const Rule &rule, std::size_t begin, std::size_t end, int fused);
    void beginWriting(List<Point> &target, Pool<Point> &storage);
    void takeSlots();
    void write(const Level &level, std::size_t count);
    template <bool Ghosted, bool Fan>
    void writeNew(const Level &level, std::size_t begin, std::size_t end);
    void writeOld(const Level &level, std::size_t i);
    void endWriting();
    // The triangle of the fan from the loop's first point that the point
    // at loop index `index`, q, closes (as fanArea() sums them).
    void addToFan(const Vector &q, std::uint64_t index)
    {
        if (index >= 2)
            loopArea += signedArea(fanFirst, q, fanPrevious);
        else if (index == 0)
            fanFirst = q;
        fanPrevious = q;
    }

    // Options of the run.
    bool ghosted = false;
    bool withFan = false;
    int totalPasses = 0;
    std::size_t flatPasses = 0;
    std::uint32_t growth = 2;

    std::vector<Node<Point> *> olds; // the nodes of the polygon's points, in order
    bool keepsOld = false;
    std::vector<double> passSums; // each pass's accounted area
    Level flat, flatNext;         // the last pass run on whole arrays, and its successor
    std::size_t flatCount = 0;    // points in flat
    std::vector<Level> windows;   // a chunk's levels from flat on
    Level outgoing;               // the chunk's points of the final loop

    // Writing the final loop.
    List<Point> *list = nullptr;
    Pool<Point> *pool = nullptr;
    Point *pointRun = nullptr;
    std::size_t pointsLeft = 0;
    Node<Point> *nodeRun = nullptr;
    std::size_t nodesLeft = 0;
    Node<Point> anchor;           // stands before the head while writing
    Node<Point> *last = nullptr;  // the node written last
    std::uint64_t total = 0;        // points of the final loop
    std::uint64_t written = 0;      // points written so far
    std::uint64_t nextOld = 0;      // loop index of the next old point
    std::uint64_t oldStride = 0;    // between two old points
    std::size_t oldIndex = 0;       // which one of olds that is
    Vector fanFirst, fanPrevious;   // loop's first point, and the last one written
};
