// Subdivision cases: each runs the project's scheme the way a drag step does
// (clear, rebuild from the control points, subdivide) and, in the same
// iteration, the contiguous-array reference of the same rule. The counters
// give both times, their ratio, points per second and, measured in a fresh
// child process, the peak resident memory growth per generated point.
#include "Reference.h"

#include "curves/BSplineCurve.h"
#include "curves/BezierCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/ProposedCurve.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

reference::Polyline square()
{
    return {{-5, -5, 0}, {5, -5, 0}, {5, 5, 0}, {-5, 5, 0}};
}

// 20 points zig-zagging across the world square.
reference::Polyline zigzag()
{
    reference::Polyline points;
    for (int i = 0; i < 20; ++i)
        points.push_back({-9.5 + i, i % 2 ? 9.0 : -9.0, 0});
    return points;
}

struct Case
{
    const char *name;
    reference::Polyline control;
    bool closed;
    std::function<std::unique_ptr<Curve>(ControlPoints *)> make;
    std::function<void(reference::Result &, const reference::Polyline &)> runReference;
};

template <typename Scheme>
std::function<std::unique_ptr<Curve>(ControlPoints *)> closedScheme(int level)
{
    return [level](ControlPoints *cp) -> std::unique_ptr<Curve> {
        auto curve = std::make_unique<Scheme>(cp);
        curve->level = level;
        return curve;
    };
}

std::function<std::unique_ptr<Curve>(ControlPoints *)> bezierScheme(double u)
{
    return [u](ControlPoints *cp) -> std::unique_ptr<Curve> {
        auto curve = std::make_unique<BezierCurve>(cp);
        curve->precision = 0.05;
        curve->setU(u);
        return curve;
    };
}

const Case cases[] = {
    {"Chaikin/level20", square(), true, closedScheme<ChaikinCurve>(20),
     [](auto &r, const auto &c) { reference::chaikin(r, c, 20, 0.75); }},
    {"BSpline/level20", square(), true, closedScheme<BSplineCurve>(20),
     [](auto &r, const auto &c) { reference::bspline(r, c, 20, 0.5); }},
    // 4 * 3^12 points: level 13 would exceed the point budget.
    {"Proposed/level12", square(), true, closedScheme<ProposedCurve>(12),
     [](auto &r, const auto &c) { reference::proposed(r, c, 12, 0.5); }},
    {"Bezier/zigzag20/u0.5", zigzag(), false, bezierScheme(0.5),
     [](auto &r, const auto &c) { reference::bezier(r, c, false, 0.05, 0.5); }},
    {"Bezier/zigzag20/u0.01", zigzag(), false, bezierScheme(0.01),
     [](auto &r, const auto &c) { reference::bezier(r, c, false, 0.05, 0.01); }},
};

void fill(ControlPoints &cp, const Case &c)
{
    for (const auto &p : c.control)
        cp.insertPoint(Vector(p.x, p.y, p.z));
    cp.closed = c.closed;
}

// One drag step's subdivision: what render() does before drawing.
void subdivideOnce(Curve &curve)
{
    curve.controlPoints->dirty = true;
    curve.rebuildResult();
    curve.subdivide();
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs one subdivision of case `index` in a fresh process and returns the
// growth of its peak resident memory in bytes (or -1).
double peakGrowthBytes(std::size_t index)
{
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        char self[4096] = {};
        if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
            _exit(1);
        dup2(channel[1], STDOUT_FILENO);
        const std::string arg = std::to_string(index);
        execl(self, self, "--measure-memory", arg.c_str(), static_cast<char *>(nullptr));
        _exit(1);
    }
    close(channel[1]);
    char text[64] = {};
    const ssize_t got = read(channel[0], text, sizeof text - 1);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got > 0 ? std::atof(text) : -1;
}

// Measured before any benchmark runs: a child inherits its parent's peak
// resident size through fork and exec, so the parent must still be small.
double memoryGrowth[std::size(cases)];

void runCase(benchmark::State &state, std::size_t index)
{
    const Case &c = cases[index];
    ControlPoints cp;
    fill(cp, c);
    const std::unique_ptr<Curve> curve = c.make(&cp);
    double projectSeconds = 0, referenceSeconds = 0;
    std::size_t points = 0, referencePoints = 0;
    reference::Result scratch;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        subdivideOnce(*curve);
        const auto t1 = Clock::now();
        c.runReference(scratch, c.control);
        referencePoints = scratch.points.size();
        const auto t2 = Clock::now();
        points = curve->result->count;
        projectSeconds += std::chrono::duration<double>(t1 - t0).count();
        referenceSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["points"] = static_cast<double>(points);
    state.counters["ref_points"] = static_cast<double>(referencePoints);
    state.counters["project_ms"] = projectSeconds / n * 1e3;
    state.counters["reference_ms"] = referenceSeconds / n * 1e3;
    state.counters["ratio"] = projectSeconds / referenceSeconds;
    state.counters["points_per_s"] = static_cast<double>(points) * n / projectSeconds;
    const double growth = memoryGrowth[index];
    state.counters["bytes_per_point"] = growth < 0 ? -1 : growth / static_cast<double>(points);
}

int measureMemory(std::size_t index)
{
    const Case &c = cases[index];
    ControlPoints cp;
    fill(cp, c);
    const std::unique_ptr<Curve> curve = c.make(&cp);
    const long before = peakKilobytes();
    subdivideOnce(*curve);
    const long after = peakKilobytes();
    std::printf("%ld\n", (after - before) * 1024);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--measure-memory") == 0)
        return measureMemory(static_cast<std::size_t>(std::atoi(argv[2])));
    // --no-memory skips the child processes (for profiling a case).
    const bool measure = !(argc > 1 && std::strcmp(argv[argc - 1], "--no-memory") == 0);
    if (!measure)
        --argc;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        memoryGrowth[i] = measure ? peakGrowthBytes(i) : -1;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        benchmark::RegisterBenchmark(cases[i].name, runCase, i)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(3.0); // several iterations even for the second-long cases
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
