// libFuzzer target: random sequences of list and control-polygon operations,
// with the structural invariants checked after every step.
#include "geometry/ControlPoints.h"
#include "support/ListInvariants.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <vector>

namespace {

// Reads the fuzzer's bytes as a stream of small numbers.
class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size) : bytes(data), left(size) {}
    bool empty() const { return left == 0; }
    std::uint8_t byte()
    {
        if (left == 0)
            return 0;
        --left;
        return *bytes++;
    }
    // A coordinate on a coarse grid inside the world square, so that picks
    // often hit existing points (0.05 steps keep coincidences likely).
    double coordinate() { return (static_cast<int>(byte()) - 128) * 0.05; }
    Vector position() { return {coordinate(), coordinate()}; }

private:
    const std::uint8_t *bytes;
    std::size_t left;
};

void fail(const char *what, const std::string &problem)
{
    std::cerr << "invariant broken after " << what << ": " << problem << std::endl;
    std::abort();
}

void check(const char *what, ControlPoints &polygon, List<Point> &loose)
{
    if (auto p = listProblem(polygon.points); !p.empty())
        fail(what, "control points: " + p);
    if (auto p = listProblem(loose); !p.empty())
        fail(what, "loose list: " + p);
    const double a = polygon.area();
    if (!std::isfinite(a))
        fail(what, "area is not finite");
    if ((!polygon.closed || polygon.points.count <= 2) && a != 0.0)
        fail(what, "area of an open or tiny polygon is not 0");
}

// Operations straight on a List whose items are owned by the `pool`.
void listStep(Input &in, List<Point> &loose, std::vector<Point> &pool)
{
    Point *item = &pool[in.byte() % pool.size()];
    const std::uint32_t index = in.byte() % (loose.count + 2);
    const int dup = in.byte() % 3;
    switch (in.byte() % 8) {
    case 0: loose.append(item, dup); break;
    case 1: loose.addAfterNode(item, index >= 1 && index <= loose.count ? loose.indexNode(index) : nullptr, dup); break;
    case 2: loose.addBeforeNode(item, index >= 1 && index <= loose.count ? loose.indexNode(index) : nullptr, dup); break;
    case 3: loose.addAfter(item, &pool[in.byte() % pool.size()], dup); break;
    case 4: loose.removeNode(index >= 1 && index <= loose.count ? loose.indexNode(index) : nullptr); break;
    case 5: loose.indexNode(index); break;
    case 6: loose.node(item); break;
    default: loose.syncCache(); break;
    }
}

void polygonStep(Input &in, ControlPoints &polygon)
{
    const Vector p = in.position();
    switch (in.byte() % 11) {
    case 0:
    case 1: polygon.insertPoint(p); break;
    case 2: polygon.insertMidpoint(p); break;
    case 3: polygon.deletePoint(p); break;
    case 4: polygon.selectPoint(p); break;
    case 5: polygon.pickPoint(p); break;
    case 6: polygon.highlightEdge(p); break;
    case 7: polygon.highlightPoint(p); break;
    case 8: polygon.clearHighlight(); break;
    case 9: polygon.closed = !polygon.closed; break;
    default:
        if (in.byte() % 8 == 0)
            polygon.clear();
        else
            polygon.dirty = !polygon.dirty;
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Diagnostics of deliberate misuse are expected; keep the run quiet.
    std::ostringstream sink;
    auto *oldErr = std::cerr.rdbuf(sink.rdbuf());
    auto *oldOut = std::cout.rdbuf(sink.rdbuf());

    Input in(data, size);
    ControlPoints polygon;
    List<Point> loose;
    std::vector<Point> pool(8);
    int steps = 0;
    while (!in.empty() && steps++ < 4096) {
        if (in.byte() & 1)
            listStep(in, loose, pool);
        else
            polygonStep(in, polygon);
        sink.str({});
        std::cerr.rdbuf(oldErr);
        check("step", polygon, loose);
        std::cerr.rdbuf(sink.rdbuf());
    }
    std::cerr.rdbuf(oldErr);
    std::cout.rdbuf(oldOut);
    return 0;
}
