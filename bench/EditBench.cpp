// Edits as a user makes them on the real window (Mesa under Xvfb), each
// timed from the event to the frame that shows it on screen (the view's
// frameSwapped): the scene's update, the paint and the window's
// composition together.
//  - A polygon of 100,000 points, the most a file holds, closed, with
//    Chaikin at level 3 and with the Bezier scheme: opening its file, a
//    click that appends a point, a drag step, an undo and a redo; and a
//    zig-zag of 100,000 points whose Bezier curve the split work budget
//    stops: opening it and a click.
//  - A 7-point Chaikin curve at level 99 (stopped by the point budget)
//    with Show Passes, Show Limit and Curvature ticked: a drag step, an
//    undo, a redo, and level changes (down one from the level reached and
//    back, and from 99 to 98 and back).
// Between two timed edits the window is left alone long enough for the
// convergence series and the autosave to run, so that neither falls into
// a timed edit.
#include "app/GLMainWindow.h"
#include "document/DocumentFile.h"
#include "model/Document.h"
#include "view/GLBox.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// Long enough for the full convergence series (250 ms after the last
// change) and the autosave (a second after it) to run.
constexpr int settleMilliseconds = 1300;

// n points round a circle of radius 8 with a ripple, so that no three
// neighbours are collinear.
Document ripple(int n, int scheme, int level)
{
    Document d;
    d.points.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n, r = 8 + 0.5 * std::sin(40 * a);
        d.points.emplace_back(r * std::cos(a), r * std::sin(a), 0.0);
    }
    d.closed = true;
    d.scheme = scheme;
    d.settings(scheme).level = level;
    return d;
}

// n points in a zig-zag across the view, open, with the Bezier scheme:
// edges far longer than the precision, so that the adaptive split would
// split the whole degree-n curve again and again.
Document zigzag(int n)
{
    Document d;
    d.points.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i)
        d.points.emplace_back(-8 + 16.0 * i / n, i % 2 == 0 ? -5 : 5, 0.0);
    d.scheme = 1;
    return d;
}

// Tells every paint event that reaches the watched widget.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(std::function<void()> painted) : painted(std::move(painted)) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted();
        return false;
    }

private:
    std::function<void()> painted;
};

struct Window
{
    Window()
    {
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        window = std::make_unique<GLMainWindow>();
        window->resize(1300, 950);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the benchmark window was never shown");
        view = window->findChild<GLBox *>("glbox");
        QTest::qWait(100);
    }

    // Seconds from action to the frame that shows its result on screen:
    // the first composition of the window after a paint of the view (the
    // window composes the view's last picture again whenever another
    // widget repaints, without painting the view).
    double untilShown(const std::function<void()> &action)
    {
        int swaps = 0, swapsAtPaint = -1;
        const QMetaObject::Connection swapped =
            QObject::connect(view, &GLBox::frameSwapped, [&swaps] { ++swaps; });
        PaintWatch watch([&] { swapsAtPaint = swaps; });
        view->installEventFilter(&watch);
        const auto start = Clock::now();
        action();
        const auto deadline = start + std::chrono::minutes(3);
        while ((swapsAtPaint < 0 || swaps <= swapsAtPaint) && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        view->removeEventFilter(&watch);
        QObject::disconnect(swapped);
        return seconds;
    }

    void settle() { QTest::qWait(settleMilliseconds); }

    // The edits of the last case are not to be saved: no question asked.
    void discard() { window->setWindowModified(false); }

    // Opens document from a file, as File > Open does.
    double open(const Document &document)
    {
        const QString path = home.filePath("polygon.ornelle");
        DocumentFile::write(path, document);
        const double seconds = untilShown([&] { window->openFile(path); });
        settle();
        return seconds;
    }

    QPointF pixel(double x, double y) const
    {
        const ViewTransform &v = view->viewTransform;
        return {(x - v.left()) / v.side() * view->width(), view->height() - (y - v.bottom()) / v.side() * view->width()};
    }

    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, at, view->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }

    void tick(const char *box) { window->findChild<QCheckBox *>(box)->setChecked(true); }

    QTemporaryDir home;
    std::unique_ptr<GLMainWindow> window;
    GLBox *view = nullptr;
};

Window *shown = nullptr;

void report(benchmark::State &state, double total)
{
    state.counters["ms"] = total / double(state.iterations()) * 1e3;
}

// Opening the file of a 100,000-point polygon until its first frame.
void LargeOpen(benchmark::State &state, int scheme, int level)
{
    double total = 0;
    for (auto _ : state) {
        shown->discard();
        shown->window->newFile();
        shown->settle();
        const double seconds = shown->open(ripple(Document::maxPoints, scheme, level));
        total += seconds;
        state.SetIterationTime(seconds);
    }
    report(state, total);
}

// The same, for the zig-zag of 100,000 points and its Bezier curve.
void LargeZigzagOpen(benchmark::State &state)
{
    double total = 0;
    for (auto _ : state) {
        shown->discard();
        shown->window->newFile();
        shown->settle();
        const double seconds = shown->open(zigzag(Document::maxPoints));
        total += seconds;
        state.SetIterationTime(seconds);
    }
    report(state, total);
}

// Appending a point with a left click, then taking it back (untimed).
void LargeClick(benchmark::State &state, int scheme, int level)
{
    shown->open(scheme == 0 ? zigzag(Document::maxPoints) : ripple(Document::maxPoints, scheme, level));
    double total = 0;
    for (auto _ : state) {
        const QPointF at = shown->pixel(0, 0);
        const double seconds = shown->untilShown([&] {
            shown->mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            shown->mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        });
        total += seconds;
        state.SetIterationTime(seconds);
        shown->settle();
        shown->window->undo();
        shown->settle();
    }
    report(state, total);
}

// Moves of one point of the polygon (its first, at (8, 0)) with the right
// button held, a step at a time.
void DragSteps(benchmark::State &state)
{
    QPointF at = shown->pixel(8, 0);
    shown->mouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    shown->settle();
    double total = 0;
    int step = 0;
    for (auto _ : state) {
        at += QPointF(2 * std::cos(step * 0.7), 2 * std::sin(step * 0.7));
        ++step;
        const double seconds =
            shown->untilShown([&] { shown->mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::RightButton); });
        total += seconds;
        state.SetIterationTime(seconds);
    }
    shown->mouse(QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
    shown->settle();
    report(state, total);
}

// Undo and redo of the last edit (a short drag), alternately; the time
// of the one asked for.
void UndoOrRedo(benchmark::State &state, bool redo)
{
    QPointF at = shown->pixel(8, 0);
    shown->mouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    at += QPointF(20, 10);
    shown->mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::RightButton);
    shown->mouse(QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
    shown->settle();
    double total = 0;
    for (auto _ : state) {
        const double undo = shown->untilShown([] { shown->window->undo(); });
        shown->settle();
        const double again = shown->untilShown([] { shown->window->redo(); });
        shown->settle();
        const double seconds = redo ? again : undo;
        total += seconds;
        state.SetIterationTime(seconds);
    }
    report(state, total);
}

void LargeDrag(benchmark::State &state, int scheme, int level)
{
    shown->open(ripple(Document::maxPoints, scheme, level));
    DragSteps(state);
}

void LargeUndo(benchmark::State &state, int scheme, int level, bool redo)
{
    shown->open(ripple(Document::maxPoints, scheme, level));
    UndoOrRedo(state, redo);
}

// A 7-point Chaikin curve at level 99 with the study's three switches.
void deepStudy()
{
    shown->open(ripple(7, 2, 99));
    for (const char *box : {"showPassesCheckBox", "showLimitCheckBox", "curvatureCheckBox"})
        shown->tick(box);
    shown->settle();
}

void DeepDrag(benchmark::State &state)
{
    deepStudy();
    DragSteps(state);
}

void DeepUndo(benchmark::State &state, bool redo)
{
    deepStudy();
    UndoOrRedo(state, redo);
}

// Level changes from `from` to `to` and back, alternately; the time of a
// change, either way.
void DeepLevel(benchmark::State &state, int from, int to)
{
    deepStudy();
    auto *level = shown->window->findChild<QSpinBox *>("level");
    level->setValue(from);
    shown->settle();
    double total = 0;
    bool down = true;
    for (auto _ : state) {
        const double seconds = shown->untilShown([&] { level->setValue(down ? to : from); });
        down = !down;
        total += seconds;
        state.SetIterationTime(seconds);
        shown->settle();
    }
    report(state, total);
}

template <typename... Args>
void add(const char *name, void (*run)(benchmark::State &, Args...), int iterations, Args... args)
{
    benchmark::RegisterBenchmark(name, run, args...)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Window window;
    shown = &window;
    add("Large/open/Chaikin3", LargeOpen, 3, 2, 3);
    add("Large/click/Chaikin3", LargeClick, 5, 2, 3);
    add("Large/drag/Chaikin3", LargeDrag, 20, 2, 3);
    add("Large/undo/Chaikin3", LargeUndo, 5, 2, 3, false);
    add("Large/redo/Chaikin3", LargeUndo, 5, 2, 3, true);
    add("Large/open/Bezier", LargeOpen, 1, 1, 0);
    add("Large/click/Bezier", LargeClick, 1, 1, 0);
    add("Large/undo/Bezier", LargeUndo, 1, 1, 0, false);
    add("Large/open/BezierZigzag", LargeZigzagOpen, 1);
    add("Large/click/BezierZigzag", LargeClick, 1, 0, 0);
    add("Deep/drag/Chaikin99", DeepDrag, 20);
    add("Deep/undo/Chaikin99", DeepUndo, 5, false);
    add("Deep/redo/Chaikin99", DeepUndo, 5, true);
    add("Deep/level/99to98", DeepLevel, 6, 99, 98);
    add("Deep/level/reachedDown", DeepLevel, 6, 19, 18);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
