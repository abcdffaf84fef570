#pragma once

#include "model/Document.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>

// A recovery file that an instance which no longer runs left behind (see
// Autosave): the work of a crash, a kill or a power cut. Finding one takes
// its lock, so that two instances starting together never both offer it.
class RecoveryFile
{
public:
    // The newest recovery file in folder whose instance has ended, locked
    // for this one; null when there is none. Clears away the locks that
    // ended instances left without a recovery file.
    static std::unique_ptr<RecoveryFile> find(const QString &folder);
    ~RecoveryFile();

    QString path() const { return recoveryPath; }
    // When it was last written.
    QDateTime written() const;
    // Reads the work into document and file (the document's own file,
    // empty while it was untitled). Empty on success, else one sentence
    // naming the file and what is wrong; then nothing is changed.
    QString read(Document &document, QString &file) const;
    // Removes the file: its work was taken back or declined.
    void discard();
    // Renames a damaged file aside ("<name>.damaged", numbered when that is
    // taken) so that it is not offered again but nothing is deleted;
    // returns the new name, or an empty one when renaming failed.
    QString setAside();

private:
    RecoveryFile(QString path, std::unique_ptr<QLockFile> lock);

    QString recoveryPath;
    std::unique_ptr<QLockFile> lock;
};
