// Painting and export in a real OpenGL context (Mesa under Xvfb):
//  - a drag step: the polygon is marked dirty, the scene's update
//    subdivides and the view paints once, timed as those two parts; the deep
//    cases also report the process's peak resident memory, so
//    scripts/bench.sh runs each of them in a process of its own; the same
//    step with all four schemes drawn at once (one selected, three
//    compared) against the selected one alone;
//  - the drawing of a 1,000,000-point curve from its full vertex arrays
//    against the same primitives issued with one glVertex call per vertex,
//    and the simplified drawing the view uses on screen;
//  - PostScript export of a smooth curve and of a self-crossing star.
#include "app/GLMainWindow.h"
#include "curves/Curve.h"
#include "geometry/ControlPoints.h"
#include "model/Document.h"
#include "model/Scene.h"
#include "render/Frame.h"
#include "render/GlCanvas.h"
#include "render/SceneRenderer.h"
#include "view/GLBox.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>

#include <GL/gl.h>

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The program's window, large enough for a view of about 800 x 800.
struct Shown
{
    Shown()
    {
        window.resize(1300, 950);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the benchmark window was never shown");
        view = window.findChild<GLBox *>("glbox");
        QTest::qWait(100);
    }

    // Replaces the polygon by n points on a circle of the given radius;
    // with star, every second point is pulled in so the curve crosses
    // itself after refinement.
    void polygon(int n, double radius, bool star)
    {
        view->controlPoints->clear();
        for (int i = 0; i < n; ++i) {
            const double angle = 2 * M_PI * i * (star ? 11.0 : 1.0) / n;
            view->controlPoints->insertPoint(Vector(radius * std::cos(angle), radius * std::sin(angle)));
        }
        view->controlPoints->closed = true;
    }

    // Selects scheme (2 Chaikin, 3 cubic B-spline, 4 proposed) at the
    // given level.
    Curve &scheme(int index, int level)
    {
        view->setCurrentCurve(index);
        Curve *curve = view->curves.indexNode(static_cast<std::uint32_t>(index))->item;
        curve->level = level;
        view->controlPoints->dirty = true;
        return *curve;
    }
    Curve &chaikin(int level) { return scheme(2, level); }

    // One paint of the view, finished on the GL side. grabFramebuffer()
    // paints at once (an update() would wait for the next frame); its
    // read-back of the 840 x 840 picture costs about a millisecond.
    double paint()
    {
        const auto start = Clock::now();
        view->grabFramebuffer();
        return secondsSince(start);
    }

    GLMainWindow window;
    GLBox *view = nullptr;
};

Shown *scene = nullptr;

// Starts the process's peak resident memory afresh from its current
// resident memory (Linux; elsewhere the peak stays the process's).
void resetPeak()
{
    if (std::FILE *refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

// The peak resident memory since the last resetPeak() (VmHWM), in MB.
double peakSinceReset()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    double kilobytes = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %lf", &kilobytes) == 1)
            break;
    std::fclose(status);
    return kilobytes / 1024.0;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void DragStep(benchmark::State &state, int points, int scheme, int level)
{
    scene->polygon(points, 8, false);
    Curve &curve = scene->scheme(scheme, level);
    scene->paint();
    double subdividing = 0, drawing = 0;
    for (auto _ : state) {
        // What a mouse move does: the polygon is dirty, so the scene's
        // update rebuilds and subdivides, then the frame draws everything.
        scene->view->controlPoints->dirty = true;
        const auto start = Clock::now();
        scene->view->scene().update();
        const double subdivide = secondsSince(start);
        const double draw = scene->paint(); // scene up to date now: draws only
        subdividing += subdivide;
        drawing += draw;
        state.SetIterationTime(subdivide + draw);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["points"] = curve.result ? curve.result->count : 0;
    state.counters["view_px"] = scene->view->width();
    state.counters["paint_ms"] = (subdividing + drawing) / n * 1e3;
    state.counters["draw_ms"] = drawing / n * 1e3;
    state.counters["subdivide_ms"] = subdividing / n * 1e3;
    state.counters["reached"] = curve.reachedLevel;
    state.counters["peak_MB"] = peakMegabytes();
}

// The drag step of the selected curve alone against the same step with
// all four schemes drawn (the other three compared), in one process: every
// refining scheme at level, the Bezier curve at its finest precision. Each
// step marks the polygon dirty and paints, which subdivides every drawn
// curve, each within its share of the point budget, and draws them.
void CompareDragStep(benchmark::State &state, int points, int scheme, int level)
{
    scene->polygon(points, 8, false);
    GLBox *view = scene->view;
    for (int i = 1; i <= 4; ++i)
        scene->scheme(i, level).precision = Document::precisionFromSlider(0);
    view->setCurrentCurve(scheme);
    auto steps = [&](std::int64_t count) {
        scene->paint();
        double total = 0;
        for (std::int64_t k = 0; k < count; ++k) {
            view->controlPoints->dirty = true;
            total += scene->paint();
        }
        return total / static_cast<double>(count);
    };
    const double single = steps(state.max_iterations);
    const double singlePeak = peakSinceReset();
    // From here on the peak is the comparison's: ticking the boxes and its
    // drag steps.
    resetPeak();
    for (int i = 1; i <= 4; ++i)
        view->setCompare(i, Qt::Checked);
    double total = 0;
    scene->paint();
    for (auto _ : state) {
        view->controlPoints->dirty = true;
        const double step = scene->paint();
        total += step;
        state.SetIterationTime(step);
    }
    const double compared = total / static_cast<double>(state.iterations());
    std::uint64_t drawn = 0;
    for (int i = 1; i <= 4; ++i) {
        const Curve &curve = *view->curves.indexNode(static_cast<std::uint32_t>(i))->item;
        drawn += curve.result ? curve.result->count : 0;
    }
    for (int i = 1; i <= 4; ++i)
        view->setCompare(i, Qt::Unchecked);
    state.counters["points"] = static_cast<double>(drawn);
    state.counters["single_ms"] = single * 1e3;
    state.counters["paint_ms"] = compared * 1e3;
    state.counters["ratio"] = compared / single;
    state.counters["single_peak_MB"] = singlePeak;
    state.counters["peak_MB"] = peakSinceReset();
}

// The closed curve as one glVertex call per vertex: the same ghost loop
// and curve loop the curve issues from its arrays.
void drawImmediate(const List<Point> &points)
{
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (int pass = 0; pass < 2; ++pass) {
        glLineWidth(3.0f);
        pass == 0 ? glColor3d(0.6, 0.6, 0.6) : glColor3f(0.65f, 0.53f, 1.0f);
        glBegin(GL_LINE_LOOP);
        for (const Node<Point> *n = points.head; n != points.tail; n = n->next) {
            const Point &a = *n->item, &b = *n->next->item;
            const Vector &va = pass == 0 && a.hasGhost ? a.ghost : a.position;
            const Vector &vb = pass == 0 && b.hasGhost ? b.ghost : b.position;
            glVertex2d(va.x(), va.y());
            glVertex2d(vb.x(), vb.y());
        }
        glVertex2d(points.tail->item->position.x(), points.tail->item->position.y());
        glVertex2d(points.head->item->position.x(), points.head->item->position.y());
        glEnd();
    }
    glLineWidth(1.0f);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
}

void MillionPointDraw(benchmark::State &state)
{
    scene->polygon(4, 8, false);
    Curve &curve = scene->chaikin(18); // 4 * 2^18 = 1,048,576 points
    scene->paint();
    GLBox &view = *scene->view;
    const Frame simplifiedFrame = view.screenFrame();
    Frame fullFrame = simplifiedFrame;
    fullFrame.tolerance = 0; // every vertex
    GlCanvas canvas;
    double arrays = 0, immediate = 0, simplified = 0;
    bool arraysFirst = true;
    for (auto _ : state) {
        // Alternate the order so that neither side always runs on a warm
        // or a cold rasterizer.
        scene->view->makeCurrent();
        glFinish();
        double a = 0, b = 0;
        for (int side = 0; side < 2; ++side) {
            const bool useArrays = (side == 0) == arraysFirst;
            const auto start = Clock::now();
            useArrays ? SceneRenderer::drawCurve(canvas, fullFrame, curve) : drawImmediate(*curve.result);
            glFinish();
            (useArrays ? a : b) = secondsSince(start);
        }
        arraysFirst = !arraysFirst;
        const auto start = Clock::now();
        SceneRenderer::drawCurve(canvas, simplifiedFrame, curve);
        glFinish();
        simplified += secondsSince(start);
        scene->view->doneCurrent();
        arrays += a;
        immediate += b;
        state.SetIterationTime(a);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["points"] = curve.result->count;
    state.counters["draw_ms"] = arrays / n * 1e3;
    state.counters["simplified_ms"] = simplified / n * 1e3;
    state.counters["glVertex_ms"] = immediate / n * 1e3;
    state.counters["ratio"] = arrays / immediate;
}

void Export(benchmark::State &state, int points, int level, bool star)
{
    QTemporaryDir folder;
    const QString file = folder.path() + "/picture.eps";
    scene->view->chooseExportFile = [&] { return file; };
    scene->polygon(points, 8, star);
    Curve &curve = scene->chaikin(level);
    scene->paint();
    for (auto _ : state) {
        QFile::remove(file);
        const auto start = Clock::now();
        scene->view->exportPS();
        state.SetIterationTime(secondsSince(start));
    }
    state.counters["segments"] = curve.result ? curve.result->count : 0;
    state.counters["file_MB"] = QFileInfo(file).size() / 1e6; // 0: the export was refused
    state.counters["peak_MB"] = peakMegabytes();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Shown shown;
    scene = &shown;
    benchmark::RegisterBenchmark("DragStep/Chaikin/10pts/level15", DragStep, 10, 2, 15)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    benchmark::RegisterBenchmark("DragStep/Chaikin/6pts/level18", DragStep, 6, 2, 18)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    // The highest level the spin box offers; every scheme stops at the
    // point budget.
    const char *deep[] = {"DragStep/Chaikin/6pts/level99", "DragStep/BSpline/6pts/level99",
                          "DragStep/Proposed/6pts/level99"};
    for (int scheme = 2; scheme <= 4; ++scheme)
        benchmark::RegisterBenchmark(deep[scheme - 2], DragStep, 6, scheme, 99)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    // The four schemes compared, all at their highest levels.
    benchmark::RegisterBenchmark("DragStep/Compare/6pts/level99", CompareDragStep, 6, 2, 99)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("Draw/1M/vertexArrays_vs_glVertex", MillionPointDraw)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    // 25 points at level 13: 204,800 segments of a smooth loop.
    benchmark::RegisterBenchmark("Export/smooth/200k", Export, 25, 13, false)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::RegisterBenchmark("Export/star24/level9", Export, 24, 9, true)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::RegisterBenchmark("Export/Chaikin/6pts/level99", Export, 6, 99, false)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
