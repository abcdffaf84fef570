#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>

// A right-button drag in a view at the reset view: the point at (8, 0) in
// world units is pressed and led round a small circle, a pixel a step.
// Each step is timed from the move to the end of the repaint and of the
// events that came in meanwhile (timers, other threads' results), as the
// event loop would handle them.
class CircleDrag
{
public:
    explicit CircleDrag(QWidget *view) : view(view), where((8.0 + 10) / 20 * view->width(), 0.5 * view->width())
    {
        QTest::mousePress(view, Qt::RightButton, {}, where.toPoint());
    }

    // Steps for duration, calling afterStep() after each one; returns the
    // mean step in seconds over every step so far.
    template <typename AfterStep> double stepFor(std::chrono::duration<double> duration, AfterStep afterStep)
    {
        using Clock = std::chrono::steady_clock;
        const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(duration);
        while (Clock::now() < end) {
            const auto start = Clock::now();
            where += QPointF(std::cos(count * 0.1), std::sin(count * 0.1));
            ++count;
            QMouseEvent move(QEvent::MouseMove, where, view->mapToGlobal(where), Qt::NoButton, Qt::RightButton,
                             Qt::NoModifier);
            QApplication::sendEvent(view, &move);
            view->repaint();
            QCoreApplication::processEvents();
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            longestStep = std::max(longestStep, seconds);
            total += seconds;
            afterStep();
        }
        return total / count;
    }

    void release() { QTest::mouseRelease(view, Qt::RightButton, {}, where.toPoint()); }

    double longest() const { return longestStep; }
    int steps() const { return count; }

private:
    QWidget *view;
    QPointF where;
    double longestStep = 0, total = 0;
    int count = 0;
};
