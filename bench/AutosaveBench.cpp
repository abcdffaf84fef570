// Autosave against the drag step: the same drag on the real window (Mesa
// under Xvfb) with unsaved work waiting to be written and with nothing to
// write; the autosave must wait for the drag's end, so that no step pays for
// a write. Beside them, what one write costs (on the GUI thread, after an
// edit), for polygons of a few to the most points a file holds.
#include "CircleDrag.h"
#include "app/GLMainWindow.h"
#include "curves/Curve.h"
#include "document/Autosave.h"
#include "geometry/ControlPoints.h"
#include "view/GLBox.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

using Clock = std::chrono::steady_clock;

Document circle(int n)
{
    Document d;
    for (int i = 0; i < n; ++i)
        d.points.emplace_back(8 * std::cos(2 * M_PI * i / n), 8 * std::sin(2 * M_PI * i / n), 0.0);
    d.closed = true;
    d.scheme = 2;
    return d;
}

void AutosaveWrite(benchmark::State &state)
{
    QTemporaryDir folder;
    const Autosave::Work work{circle(int(state.range(0))), {}};
    Autosave autosave([&work] { return work; }, {}, folder.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(autosave.writeNow());
    state.counters["points"] = double(state.range(0));
}
BENCHMARK(AutosaveWrite)->Arg(7)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A right-button drag of one point of a 7-point Chaikin curve at level 12,
// 3 s long (three autosave periods); the time is the mean step, the
// longest step is reported beside it. pending: the work is unsaved (a
// setting changed), so the autosave has a write waiting; else the same
// work is saved.
void DragStep(benchmark::State &state)
{
    const bool pending = state.range(0) != 0;
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    GLMainWindow window;
    window.resize(1300, 950);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("no window");
    auto *view = window.findChild<GLBox *>("glbox");
    view->controlPoints->clear();
    for (const Vector &p : circle(7).points)
        view->controlPoints->insertPoint(p);
    view->controlPoints->closed = true;
    view->setCurrentCurve(2);
    view->setLevel(12);
    // A change of setting makes the work unsaved either way; without a
    // write pending it is saved first.
    view->setGridSpace(3);
    if (!pending) {
        const QString path = home.filePath("saved.ornelle");
        window.chooseSaveFile = [path] { return path; };
        window.saveAs();
    }
    view->repaint();

    CircleDrag drag(view);
    for (auto _ : state)
        state.SetIterationTime(drag.stepFor(std::chrono::seconds(3), [] {})); // the mean step
    // A recovery file that exists before the release was written during
    // the drag.
    const bool writtenDuringDrag = QFileInfo::exists(window.autosaveFile().path());
    drag.release();
    state.counters["longest_ms"] = drag.longest() * 1000;
    state.counters["steps"] = drag.steps();
    state.counters["written_during_drag"] = writtenDuringDrag;
    // The drag's end is a change: the work is written a moment later.
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (pending && !window.autosaveFile().isCurrent() && Clock::now() < deadline)
        QTest::qWait(50);
    state.counters["written_after_drag"] = window.autosaveFile().isCurrent();
}
BENCHMARK(DragStep)->ArgName("pending")->Arg(0)->Arg(1)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
