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
    remove();
}

void Autosave::changed(bool unsaved)
{
    if (recoveryPath.isEmpty())
        return;
    if (!unsaved) {
        timer.stop();
        pending = false;
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

void Autosave::writeWhenIdle()
{
    if (busy && busy()) {
        timer.start(retryDelay);
        return;
    }
    writeNow();
}

bool Autosave::writeNow()
{
    if (recoveryPath.isEmpty())
        return false;
    const Work now = work();
    const QString problem = DocumentFile::write(recoveryPath, now.document,
                                                QJsonObject{{"recovery", QJsonObject{{"file", now.file}}}});
    if (!problem.isEmpty()) {
        fail(problem);
        return false;
    }
    pending = false;
    written = true;
    lastError.clear();
    return true;
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
