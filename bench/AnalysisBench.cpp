// The study's measurements on large curves: the largest distance from a
// level-16 Chaikin curve of a 6-point polygon (393,216 points) to its
// closed-form limit and to the level before (vertices only); whole
// convergence series are in MaskBench.cpp.
#include "analysis/LimitDistance.h"
#include "analysis/PolygonDistance.h"
#include "analysis/SchemeLevels.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

SchemeSetup hexagon(int scheme, double u, int level)
{
    SchemeSetup setup;
    setup.scheme = scheme;
    setup.u = u;
    setup.level = level;
    setup.closed = true;
    for (int i = 0; i < 6; ++i) {
        const double a = i * std::acos(-1.0) / 3.0;
        setup.polygon.emplace_back((i % 2 ? 5.0 : 8.0) * std::cos(a), (i % 2 ? 5.0 : 8.0) * std::sin(a));
    }
    return setup;
}

void report(benchmark::State &state, std::size_t points, double largest)
{
    state.counters["points"] = double(points);
    state.counters["distance"] = largest;
    state.counters["ns_per_point"] =
        benchmark::Counter(double(points), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void chaikinLevel16ToLimit(benchmark::State &state)
{
    const SchemeSetup setup = hexagon(SchemeSetup::Chaikin, 0.75, 16);
    SchemeLevels levels(setup);
    const std::vector<Vector> points = levels.make(16).points;
    const auto limit = setup.limit();
    double largest = 0.0;
    for (auto _ : state) {
        const LimitDistance measure(*limit);
        largest = measure.largest(points).distance;
        benchmark::DoNotOptimize(largest);
    }
    report(state, points.size(), largest);
}

void chaikinLevel16ToLevel15(benchmark::State &state)
{
    const SchemeSetup setup = hexagon(SchemeSetup::Chaikin, 0.9, 16);
    SchemeLevels levels(setup);
    const std::vector<Vector> before = levels.make(15).points;
    const std::vector<Vector> points = levels.make(16).points;
    double largest = 0.0;
    for (auto _ : state) {
        const PolygonDistance measure(before, true);
        largest = measure.largest(points).distance;
        benchmark::DoNotOptimize(largest);
    }
    report(state, points.size(), largest);
}

} // namespace

BENCHMARK(chaikinLevel16ToLimit)->Unit(benchmark::kMillisecond);
BENCHMARK(chaikinLevel16ToLevel15)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
