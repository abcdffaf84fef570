#include "view/SceneUpdater.h"

#include "view/GestureHandler.h"

#include <QTimer>

SceneUpdater::SceneUpdater(Scene &scene, QObject *parent) : QObject(parent), scene(scene)
{
    // The full convergence series waits until the edits pause.
    convergenceTimer = new QTimer(this);
    convergenceTimer->setSingleShot(true);
    convergenceTimer->setInterval(convergenceDelay);
    connect(convergenceTimer, &QTimer::timeout, this, [this] {
        if (this->scene.study().limit)
            measureConvergence(true);
    });
}

void SceneUpdater::request()
{
    if (pending)
        return;
    pending = true;
    // A queued call runs before the repaint that the same change asked
    // for, which Qt posts at a lower priority.
    QMetaObject::invokeMethod(this, [this] { update(); }, Qt::QueuedConnection);
}

void SceneUpdater::updateIfStale()
{
    if (scene.stale() || scene.convergenceStale())
        update(true);
}

void SceneUpdater::update(bool quiet)
{
    pending = false;
    last = scene.update();
    for (const std::string &text : last.messages)
        emit message(QString::fromStdString(text), GestureHandler::actionMessageTime);
    if (last.measured && !quiet)
        emit areas(last.polygonArea, last.deltaArea);
    emit notes(QString::fromStdString(last.hint), QString::fromStdString(last.reached));
    if (scene.convergenceStale())
        measureConvergence(false);
}

void SceneUpdater::limitShown(bool on)
{
    if (on)
        return;
    convergenceTimer->stop();
    emit convergence({}, 0, true);
}

void SceneUpdater::measureConvergence(bool full)
{
    const int scheme = scene.selected();
    if (!scene.selectedCurve()) {
        scene.measureConvergence(0);
        convergenceTimer->stop();
        emit convergence({}, 0, true);
        return;
    }
    if (full) {
        emit convergence(scene.measureConvergence(ConvergenceSeries::defaultWorkBudget), scheme, true);
        return;
    }
    // A series that fits the quick budget is final at once; a longer one
    // shows its first levels now and is finished once the edits pause.
    const ConvergenceSeries quick = scene.measureConvergence(quickConvergenceWork);
    if (quick.bounded)
        convergenceTimer->start();
    else
        convergenceTimer->stop();
    emit convergence(quick, scheme, !quick.bounded);
}
