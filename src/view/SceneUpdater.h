#pragma once

#include "analysis/ConvergenceSeries.h"
#include "model/Scene.h"

#include <QObject>

#include <cstdint>

class QTimer;

// Runs the scene's update outside any paint and reports what it found:
// every change asks for one update (request), which runs from the event
// loop before the frame that shows the change, so that a frame only draws.
// The read-out's areas, the messages of subdivisions cut short, and the
// convergence series while the limit is shown, first quickly and in full
// once the edits pause, go out as signals.
class SceneUpdater : public QObject
{
    Q_OBJECT

public:
    // After the series is measured this long with no new change, the full
    // series replaces a quick partial one (milliseconds).
    static constexpr int convergenceDelay = 250;
    // Work (ConvergenceSeries::measure's) that a quick series may take; a
    // series that needs more is finished convergenceDelay after the last
    // change, with ConvergenceSeries::defaultWorkBudget.
    static constexpr std::uint64_t quickConvergenceWork = std::uint64_t{1} << 16;

    // Updates scene (not owned; it must outlive the updater).
    SceneUpdater(Scene &scene, QObject *parent);

    // Asks for one update from the event loop; requests before it runs
    // are one.
    void request();
    // Updates now, reporting the areas unless quiet (the caller does).
    void update(bool quiet = false);
    // Updates now when the scene has something to do (a caller changed it
    // directly and wants a frame at once).
    void updateIfStale();
    // The read-out of the last update.
    const Scene::Readout &readout() const { return last; }
    // Show Limit changed: the series goes (an empty one) or comes.
    void limitShown(bool on);

signals:
    // The areas of the last update (Scene::Readout), while a scheme is
    // selected.
    void areas(double polygonArea, double deltaArea);
    // The selected scheme's series (see GLBox::setConvergence).
    void convergence(const ConvergenceSeries &series, int scheme, bool current);
    // A message of the update for the status bar.
    void message(const QString &text, int milliseconds);
    // After every update: the read-out's hint and reached words
    // (Scene::Readout), each empty when there is nothing to say.
    void notes(const QString &hint, const QString &reached);

private:
    // The series, quick and in full right away when quickConvergenceWork
    // suffices, else quick now and in full after convergenceDelay.
    void measureConvergence(bool full);

    Scene &scene;
    Scene::Readout last;
    bool pending = false;
    QTimer *convergenceTimer;
};
