#include "Autosave.h"

#include "DocumentFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QStandardPaths>

#include <atomic>
#include <cstdio>

QString Autosave::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath("recovery");
}

Autosave::Autosave(std::function<Work()> work, std::function<bool()> busy, const QString &folder, QObject *parent)
    : QObject(parent), work(std::move(work)), busy(std::move(busy))
{
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &Autosave::writeWhenIdle);
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, &Autosave::collect);

    if (!QDir().mkpath(folder)) {
        fail(QString("Autosave is off: could not create the folder %1.").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    // The process and the moment make the name unique among instances;
    // the count among the objects of one process (tests make several).
    static std::atomic<int> count{0};
    const QString id = QString("%1-%2-%3")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QDateTime::currentMSecsSinceEpoch())
                           .arg(count++);
    const QString base = QDir(folder).filePath(id);
    lock = std::make_unique<QLockFile>(base + ".lock");
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        lock.reset();
        fail(QString("Autosave is off: could not lock %1.").arg(QDir::toNativeSeparators(base + ".lock")));
        return;
    }
    recoveryPath = base + "." + DocumentFile::suffix;
}

Autosave::~Autosave()
{
    settle();
    remove();
}

void Autosave::changed(bool unsaved)
{
    if (recoveryPath.isEmpty())
        return;
    if (!unsaved) {
        timer.stop();
        pending = false;
        // A write under way would put the file back after its removal.
        settle();
        remove();
        return;
    }
    pending = true;
    // The first change starts the clock; later ones ride along, so that a
    // stream of changes (a slider held down) is still written every
    // writeDelay.
    if (!timer.isActive())
        timer.start(writeDelay);
}

namespace {

// The worker's job: the text and the file, off the GUI thread.
QString writeWork(const QString &path, const Autosave::Work &work)
{
    return DocumentFile::write(path, work.document, QJsonObject{{"recovery", QJsonObject{{"file", work.file}}}});
}

} // namespace

void Autosave::writeWhenIdle()
{
    // One write at a time; and none during a drag.
    if ((busy && busy()) || writing.valid()) {
        timer.start(retryDelay);
        return;
    }
    if (recoveryPath.isEmpty() || !pending)
        return;
    pending = false; // changes from here on need another write
    writing = std::async(std::launch::async, writeWork, recoveryPath, work());
    poll.start();
}

void Autosave::collect()
{
    if (!writing.valid() || writing.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    poll.stop();
    finished(writing.get());
}

void Autosave::settle()
{
    if (!writing.valid())
        return;
    poll.stop();
    finished(writing.get());
}

void Autosave::finished(const QString &problem)
{
    if (!problem.isEmpty()) {
        fail(problem);
        pending = true; // still unsaved: try again with the next change or retry
        return;
    }
    written = true;
    lastError.clear();
}

bool Autosave::writeNow()
{
    settle();
    if (recoveryPath.isEmpty())
        return false;
    pending = false;
    const QString problem = writeWork(recoveryPath, work());
    finished(problem);
    return problem.isEmpty();
}

void Autosave::remove()
{
    if (written)
        QFile::remove(recoveryPath);
    written = false;
}

void Autosave::fail(const QString &reason)
{
    // A full disk fails every second: say it once, until it changes.
    if (reason != lastError)
        std::fprintf(stderr, "%s\n", qPrintable(reason));
    lastError = reason;
}
