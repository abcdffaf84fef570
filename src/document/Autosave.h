#pragma once

#include "model/Document.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <future>
#include <memory>

// Keeps this instance's unsaved work in a recovery file of its own, so that
// a crash, a kill or a power cut loses at most the last second of it.
//
// The files live in a folder of the user's data (defaultFolder()): for each
// running instance "<id>.ornelle", an ordinary polygon file with one more
// member, "recovery": {"file": the document's own file, or ""}, and
// "<id>.lock", which the instance holds while it runs (QLockFile), so that
// two instances never share a file and a file whose lock nobody holds
// belongs to an instance that has ended (see RecoveryFile).
//
// The file is written through QSaveFile (never half written) on a timer
// after a change, never from inside the change itself, and not while busy
// says so (a drag under way: its steps must stay quick, and the drag is one
// change when it ends). The work is copied on the GUI thread and turned
// into text and written on a worker thread, so that a large polygon's
// write (about 90 ms for 100,000 points) never holds up the window. Without
// unsaved work the file is removed; so is it when the object is destroyed,
// which a clean exit does.
class Autosave : public QObject
{
    Q_OBJECT

public:
    // What is saved: the document and the name of its own file (empty
    // while untitled).
    struct Work
    {
        Document document;
        QString file;
    };

    // A change is written this many milliseconds after it, at the latest
    // (a busy spell postpones it by retryDelay at a time).
    static constexpr int writeDelay = 1000;
    static constexpr int retryDelay = 250;

    // The recovery folder: "recovery" in the application's data folder
    // (QStandardPaths::AppDataLocation, ~/.local/share/ornelle/recovery).
    static QString defaultFolder();

    // work gives the work to save; busy, when set, says to wait. Takes a
    // lock of its own in folder (created when missing); when that fails,
    // autosave is off and error() says why.
    explicit Autosave(std::function<Work()> work, std::function<bool()> busy = {},
                      const QString &folder = defaultFolder(), QObject *parent = nullptr);
    // Removes this instance's recovery file and its lock.
    ~Autosave() override;

    // The document changed, or whether it holds unsaved work did: with
    // unsaved work, the file is written within writeDelay; without, it is
    // removed at once.
    void changed(bool unsaved);
    // Writes the work now, on this thread, after any write under way;
    // true when the file holds it. Failures are told once per kind on
    // standard error and by error().
    bool writeNow();

    // This instance's recovery file; empty when autosave is off.
    QString path() const { return recoveryPath; }
    // Why the last write or the lock failed; empty when all went well.
    QString error() const { return lastError; }
    // The file exists and holds the latest work.
    bool isCurrent() const { return !pending && !writing.valid() && !recoveryPath.isEmpty() && written; }

private:
    // Takes the work and starts writing it on a worker thread.
    void writeWhenIdle();
    // Collects a finished write's outcome.
    void collect();
    // Waits for a write under way and collects it.
    void settle();
    void finished(const QString &problem);
    void remove();
    void fail(const QString &reason);

    std::function<Work()> work;
    std::function<bool()> busy;
    QString recoveryPath;
    std::unique_ptr<QLockFile> lock;
    QTimer timer;
    QTimer poll;                   // looks for the worker's outcome
    std::future<QString> writing;  // the write under way, if any: its problem or ""
    bool pending = false; // a change not yet written
    bool written = false; // the file exists
    QString lastError;
};
