#include "RecoveryFile.h"

#include "DocumentFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>

namespace {

// Locks that ended instances left without a recovery file (they had
// nothing unsaved): a stale lock taken is a lock removed.
void removeStaleLocks(const QDir &folder)
{
    for (const QFileInfo &file : folder.entryInfoList({"*.lock"}, QDir::Files)) {
        if (QFileInfo::exists(folder.filePath(file.completeBaseName() + "." + DocumentFile::suffix)))
            continue;
        QLockFile lock(file.filePath());
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            lock.unlock();
    }
}

} // namespace

std::unique_ptr<RecoveryFile> RecoveryFile::find(const QString &folder)
{
    removeStaleLocks(QDir(folder));
    const QFileInfoList files =
        QDir(folder).entryInfoList({QString("*.") + DocumentFile::suffix}, QDir::Files, QDir::Time);
    for (const QFileInfo &file : files) {
        // A live instance holds the lock; one that ended left it stale
        // (QLockFile sees that its process is gone) or removed it.
        auto lock = std::make_unique<QLockFile>(file.dir().filePath(file.completeBaseName() + ".lock"));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            return std::unique_ptr<RecoveryFile>(new RecoveryFile(file.filePath(), std::move(lock)));
    }
    return nullptr;
}

RecoveryFile::RecoveryFile(QString path, std::unique_ptr<QLockFile> lock)
    : recoveryPath(std::move(path)), lock(std::move(lock))
{
}

RecoveryFile::~RecoveryFile() = default;

QDateTime RecoveryFile::written() const
{
    return QFileInfo(recoveryPath).lastModified();
}

QString RecoveryFile::read(Document &document, QString &file) const
{
    QJsonObject root;
    Document recovered;
    if (QString problem = DocumentFile::read(recoveryPath, recovered, &root); !problem.isEmpty())
        return problem;
    const QJsonValue name = root.value("recovery").toObject().value("file");
    if (!name.isUndefined() && !name.isString())
        return QString("%1 does not name its document's file as text.").arg(QDir::toNativeSeparators(recoveryPath));
    document = std::move(recovered);
    file = name.toString();
    return {};
}

void RecoveryFile::discard()
{
    QFile::remove(recoveryPath);
}

QString RecoveryFile::setAside()
{
    QString target = recoveryPath + ".damaged";
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = recoveryPath + QString(".damaged-%1").arg(n);
    return QFile::rename(recoveryPath, target) ? target : QString();
}
