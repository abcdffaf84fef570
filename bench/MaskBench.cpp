// The analysis of masks of 16 coefficients (the size that follows the u
// slider), binary and ternary, from one with many sum rules to ones whose
// smoothness the search cannot prove and that so run every pass and every
// word; one of 64 for the record. Then refinement by a mask beside the
// plain contiguous-array Chaikin rule of the same level, and the
// convergence series of polygons of 12 and 20,000 points.
#include "Reference.h"

#include "analysis/ConvergenceSeries.h"
#include "analysis/MaskAnalysis.h"
#include "curves/ChaikinCurve.h"
#include "curves/MaskRefinement.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

// s_m(z)^rules times random coefficients, normalised: a mask of `size`
// coefficients with at least `rules` sum rules.
Mask maskWith(int m, std::size_t size, int rules, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coefficient(0.2, 1.0);
    std::vector<double> c(size - std::size_t(rules * (m - 1)));
    for (double &v : c)
        v = coefficient(random);
    for (int k = 0; k < rules; ++k) {
        std::vector<double> next(c.size() + std::size_t(m) - 1, 0.0);
        for (std::size_t i = 0; i < c.size(); ++i)
            for (int r = 0; r < m; ++r)
                next[i + std::size_t(r)] += c[i];
        c = next;
    }
    // Every sub-mask to 1: scale each residue class.
    for (int r = 0; r < m; ++r) {
        double sum = 0.0;
        for (std::size_t i = std::size_t(r); i < c.size(); i += std::size_t(m))
            sum += c[i];
        for (std::size_t i = std::size_t(r); i < c.size(); i += std::size_t(m))
            c[i] /= sum;
    }
    return Mask(m, c);
}

Mask bspline(int m, std::size_t size)
{
    std::vector<double> c{1};
    while (c.size() < size) {
        std::vector<double> next(c.size() + std::size_t(m) - 1, 0.0);
        for (std::size_t i = 0; i < c.size(); ++i)
            for (int r = 0; r < m; ++r)
                next[i + std::size_t(r)] += c[i] / m;
        c = next;
    }
    for (double &v : c)
        v *= m;
    return Mask(m, c);
}

void analyse(benchmark::State &state, const Mask &mask)
{
    MaskAnalysis analysis;
    for (auto _ : state) {
        analysis = MaskAnalysis::of(mask);
        benchmark::DoNotOptimize(analysis.smoothness);
    }
    state.counters["coefficients"] = double(mask.size());
    state.counters["sum_rules"] = analysis.sumRules;
    state.counters["smoothness"] = analysis.smoothness;
    state.counters["width"] = analysis.regularity ? analysis.regularity->upper - analysis.regularity->lower : -1;
}

reference::Polyline hexagon()
{
    reference::Polyline out;
    for (int i = 0; i < 6; ++i) {
        const double a = i * std::acos(-1.0) / 3.0, r = i % 2 ? 5.0 : 8.0;
        out.push_back({r * std::cos(a), r * std::sin(a), 0.0});
    }
    return out;
}

// Passes of Chaikin's mask from the polygon, the arrays kept between runs
// as the reference keeps its buffers.
void maskRefinement(benchmark::State &state)
{
    std::vector<Vector> polygon;
    for (const reference::Vec3 &p : hexagon())
        polygon.emplace_back(p.x, p.y);
    const MaskRefinement refinement(ChaikinCurve::maskAt(0.75));
    std::vector<Vector> level, next;
    for (auto _ : state) {
        level = polygon;
        for (int k = 0; k < int(state.range(0)); ++k) {
            refinement.pass(level, next);
            std::swap(level, next);
        }
        benchmark::DoNotOptimize(level.data());
    }
    state.counters["points"] = double(level.size());
}

void referenceChaikin(benchmark::State &state)
{
    const reference::Polyline polygon = hexagon();
    reference::Result result;
    for (auto _ : state) {
        reference::chaikin(result, polygon, int(state.range(0)), 0.75);
        benchmark::DoNotOptimize(result.points.data());
    }
    state.counters["points"] = double(result.points.size());
}

// A polygon of n points round an ellipse with a wobble, at the point
// budget (level 99) or, for the Bezier scheme, its finest precision.
void seriesOf(benchmark::State &state, int scheme, double u)
{
    SchemeSetup setup;
    setup.scheme = scheme;
    setup.u = u;
    setup.level = 99;
    setup.precision = 0.05;
    setup.closed = true;
    const auto n = int(state.range(0));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::acos(-1.0) * i / n;
        const double r = 6 + 2 * std::sin(5 * a);
        setup.polygon.emplace_back(r * std::cos(a), 0.8 * r * std::sin(a));
    }
    int last = 0;
    for (auto _ : state) {
        const ConvergenceSeries series = ConvergenceSeries::measure(setup);
        last = series.lastLevel();
        benchmark::DoNotOptimize(series.distances.data());
    }
    state.counters["last_level"] = last;
}

} // namespace

BENCHMARK_CAPTURE(analyse, Binary16BSpline, bspline(2, 16))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(analyse, Binary16TwoRules, maskWith(2, 16, 2, 1))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(analyse, Binary16FourRules, maskWith(2, 16, 4, 2))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(analyse, Binary16SixPoint, Mask::parse("2: 3 0 -25 0 150 256 150 0 -25 0 3 / 256").mask.value())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(analyse, Ternary16TwoRules, maskWith(3, 16, 2, 3))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(analyse, Ternary16ThreeRules, maskWith(3, 16, 3, 4))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(analyse, Binary64TwoRules, maskWith(2, 64, 2, 5))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(analyse, Ternary64TwoRules, maskWith(3, 64, 2, 6))->Unit(benchmark::kMillisecond);
BENCHMARK(maskRefinement)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(referenceChaikin)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(seriesOf, Chaikin, SchemeSetup::Chaikin, 0.75)->Arg(12)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(seriesOf, ChaikinAt0_6, SchemeSetup::Chaikin, 0.6)->Arg(12)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(seriesOf, BSpline, SchemeSetup::BSpline, 0.5)->Arg(12)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(seriesOf, Proposed, SchemeSetup::Proposed, 0.5)->Arg(12)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(seriesOf, ChaikinNotConverging, SchemeSetup::Chaikin, -0.3)->Arg(12)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(seriesOf, Bezier, SchemeSetup::Bezier, 0.5)->Arg(12)->Arg(20000)->Unit(benchmark::kMillisecond);
