// The scheme laboratory against the 100 ms of a redraw and the drag step:
// typing a mask and moving u on the real window (Mesa under Xvfb), each
// step the scene's update and a repaint at the level the point budget
// allows; the 200-value sweep of the regularity against u (or w) of each
// family, on one thread; and a drag step while the window sweeps in the
// background, beside the same drag with the sweep done.
#include "CircleDrag.h"
#include "analysis/RegularitySweep.h"
#include "app/AnalysisSection.h"
#include "app/GLMainWindow.h"
#include "app/LaboratoryPanel.h"
#include "curves/BSplineCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/MaskPresets.h"
#include "curves/ProposedCurve.h"
#include "geometry/ControlPoints.h"
#include "model/Document.h"
#include "view/GLBox.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

namespace {


// A window with a closed 7-point circle, scheme selected at level (the
// budget cuts it to what fits).
std::unique_ptr<GLMainWindow> windowWith(int scheme, benchmark::State &state, int level = 12)
{
    auto window = std::make_unique<GLMainWindow>();
    window->resize(1300, 950);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        state.SkipWithError("no window");
    auto *view = window->findChild<GLBox *>("glbox");
    view->controlPoints->clear();
    for (int i = 0; i < 7; ++i)
        view->controlPoints->insertPoint(Vector(8 * std::cos(2 * M_PI * i / 7), 8 * std::sin(2 * M_PI * i / 7)));
    view->controlPoints->closed = true;
    view->setCurrentCurve(scheme);
    view->setLevel(level);
    view->repaint();
    return window;
}

// Two masks typed in turn: the four-point scheme and the six-point one.
void TypeMask(benchmark::State &state)
{
    const auto window = windowWith(Schemes::Custom, state, int(state.range(0)));
    auto *lab = window->findChild<LaboratoryPanel *>();
    auto *view = window->findChild<GLBox *>("glbox");
    const QString masks[] = {"2: -1 0 9 16 9 0 -1 / 16", "2: 3 0 -25 0 150 256 150 0 -25 0 3 / 256"};
    int k = 0;
    for (auto _ : state) {
        lab->applyMaskText(masks[k++ % 2]);
        view->repaint();
        QCoreApplication::processEvents();
    }
    const Curve *curve = view->selectedCurve();
    state.counters["points"] = curve->result ? double(curve->result->count) : 0.0;
}
BENCHMARK(TypeMask)->ArgName("level")->Arg(8)->Arg(12)->Unit(benchmark::kMillisecond);

// The u slider moved one position at a time, for the proposed scheme.
void MoveU(benchmark::State &state)
{
    const auto window = windowWith(Schemes::Proposed, state, int(state.range(0)));
    auto *slider = window->findChild<QSlider *>("uparameter");
    auto *view = window->findChild<GLBox *>("glbox");
    int k = 0;
    for (auto _ : state) {
        slider->setValue(20 + k++ % 40);
        view->repaint();
        QCoreApplication::processEvents();
    }
    const Curve *curve = view->selectedCurve();
    state.counters["points"] = curve->result ? double(curve->result->count) : 0.0;
}
BENCHMARK(MoveU)->ArgName("level")->Arg(6)->Arg(12)->Unit(benchmark::kMillisecond);

// The whole sweep of one family, value after value on one thread.
void Sweep(benchmark::State &state)
{
    struct Family
    {
        Mask (*maskAt)(double);
        double low, high;
    };
    const Family families[] = {{&ChaikinCurve::maskAt, Document::minU, Document::maxU},
                               {&BSplineCurve::maskAt, Document::minU, Document::maxU},
                               {&ProposedCurve::maskAt, Document::minU, Document::maxU},
                               {&MaskPresets::fourPoint, MaskPresets::smallestTension, MaskPresets::largestTension}};
    const Family &f = families[state.range(0)];
    const RegularitySweep sweep(f.maskAt, f.low, f.high);
    for (auto _ : state)
        for (int i = 0; i < sweep.count(); ++i)
            benchmark::DoNotOptimize(sweep.at(i));
}
BENCHMARK(Sweep)->ArgName("family")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A right-button drag of one point of the Chaikin curve at the budget's
// level, 2 s long; sweeping: the scheme was just selected with the analysis
// open, so its sweep runs beside the drag; else the drag waits for the
// sweep's end. The time is the mean step; the longest step, and whether
// the sweep ended during the drag, beside it.
void DragDuringSweep(benchmark::State &state)
{
    const bool sweeping = state.range(0) != 0;
    const auto window = windowWith(Schemes::Proposed, state);
    auto *view = window->findChild<GLBox *>("glbox");
    auto *analysis = window->findChild<LaboratoryPanel *>()->analysis;
    view->setCurrentCurve(Schemes::Chaikin);
    view->setLevel(12);
    if (!sweeping)
        while (!analysis->sweepFinished())
            QTest::qWait(20);
    view->repaint();
    CircleDrag drag(view);
    bool endedDuringDrag = false;
    for (auto _ : state)
        state.SetIterationTime(drag.stepFor(std::chrono::seconds(2), [&] {
            // The sweep's values arrive with the step's events.
            endedDuringDrag = endedDuringDrag || (sweeping && analysis->sweepFinished());
        }));
    drag.release();
    state.counters["longest_ms"] = drag.longest() * 1000;
    state.counters["steps"] = drag.steps();
    state.counters["sweep_ended_in_drag"] = endedDuringDrag;
}
BENCHMARK(DragDuringSweep)->ArgName("sweeping")->Arg(0)->Arg(1)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
