// The recovery files: written a moment after a change, never while busy,
// removed when the work is saved or the instance ends, and found again only
// once their instance has gone.
#include "document/Autosave.h"
#include "document/DocumentFile.h"
#include "document/RecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class AutosaveTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesAMomentAfterAChange();
    void waitsWhileBusy();
    void savedWorkAndACleanEndLeaveNoFile();
    void twoInstancesKeepTwoFiles();
    void onlyEndedInstancesLeaveRecoveries();
    void damagedFilesAreToldAndSetAside();

private:
    Autosave::Work work;
    std::unique_ptr<QTemporaryDir> folder;
};

namespace {

Document triangle()
{
    Document d;
    d.points = {{-24.77, 14.96, 0}, {1.0 / 3.0, -2, 0}, {79.5, -80, 0}};
    d.closed = true;
    d.scheme = 3;
    return d;
}

} // namespace

void AutosaveTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    work = {triangle(), "/somewhere/study.ornelle"};
}

void AutosaveTest::writesAMomentAfterAChange()
{
    Autosave autosave([this] { return work; }, {}, folder->path());
    QVERIFY(autosave.error().isEmpty());
    autosave.changed(true);
    QVERIFY(!QFileInfo::exists(autosave.path())); // not from inside the change
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(autosave.path()), Autosave::writeDelay + 1000);

    Document read;
    QCOMPARE(DocumentFile::read(autosave.path(), read), QString());
    QVERIFY(read == work.document); // bit for bit
}

void AutosaveTest::waitsWhileBusy()
{
    bool busy = true;
    Autosave autosave([this] { return work; }, [&busy] { return busy; }, folder->path());
    autosave.changed(true);
    QTest::qWait(Autosave::writeDelay + 3 * Autosave::retryDelay);
    QVERIFY(!QFileInfo::exists(autosave.path()));
    busy = false;
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(autosave.path()), 2 * Autosave::retryDelay);
}

void AutosaveTest::savedWorkAndACleanEndLeaveNoFile()
{
    QString path;
    {
        Autosave autosave([this] { return work; }, {}, folder->path());
        path = autosave.path();
        QVERIFY(autosave.writeNow());
        autosave.changed(false); // saved: nothing left to recover
        QVERIFY(!QFileInfo::exists(path));
        autosave.changed(true);
        QVERIFY(autosave.writeNow());
    }
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList());
}

void AutosaveTest::twoInstancesKeepTwoFiles()
{
    Autosave first([this] { return work; }, {}, folder->path());
    Autosave second([] { return Autosave::Work{}; }, {}, folder->path());
    QVERIFY(first.path() != second.path());
    QVERIFY(first.writeNow() && second.writeNow());
    Document a, b;
    QCOMPARE(DocumentFile::read(first.path(), a), QString());
    QCOMPARE(DocumentFile::read(second.path(), b), QString());
    QCOMPARE(a.points.size(), std::size_t(3));
    QCOMPARE(b.points.size(), std::size_t(0));
}

void AutosaveTest::onlyEndedInstancesLeaveRecoveries()
{
    auto running = std::make_unique<Autosave>([this] { return work; }, std::function<bool()>{}, folder->path());
    QVERIFY(running->writeNow());
    // Its instance runs: nothing to offer.
    QVERIFY(!RecoveryFile::find(folder->path()));

    // An instance that was killed left its file, and a lock that no
    // process holds any more (here: none at all).
    const QString path = running->path();
    QVERIFY(QFile::copy(path, folder->filePath("killed.ornelle")));
    auto orphan = RecoveryFile::find(folder->path());
    QVERIFY(orphan);
    QCOMPARE(QFileInfo(orphan->path()).fileName(), QString("killed.ornelle"));
    // Taken by this instance: a second one starting now does not see it.
    QVERIFY(!RecoveryFile::find(folder->path()));

    Document document;
    QString file;
    QCOMPARE(orphan->read(document, file), QString());
    QVERIFY(document == work.document);
    QCOMPARE(file, work.file);
    orphan->discard();
    QVERIFY(!QFileInfo::exists(folder->filePath("killed.ornelle")));

    // An ended instance's lock without a file goes; a live one's stays.
    const QString stale = folder->filePath("ended.lock");
    QFile lock(stale);
    QVERIFY(lock.open(QIODevice::WriteOnly) && lock.write("2147480000\nornelle\n\n") > 0);
    lock.close();
    running->changed(false);
    QVERIFY(!RecoveryFile::find(folder->path()));
    QVERIFY(!QFileInfo::exists(stale));
    QVERIFY(QFileInfo::exists(QFileInfo(running->path()).dir().filePath(QFileInfo(running->path()).completeBaseName() + ".lock")));
}

void AutosaveTest::damagedFilesAreToldAndSetAside()
{
    QFile damaged(folder->filePath("torn.ornelle"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\": \"ornelle\", \"version\": 1, \"points\": [[1, 2], [3");
    damaged.close();

    auto orphan = RecoveryFile::find(folder->path());
    QVERIFY(orphan);
    Document document;
    QString file;
    const QString problem = orphan->read(document, file);
    QVERIFY2(problem.contains("torn.ornelle") && problem.contains("not valid JSON"), qPrintable(problem));
    const QString aside = orphan->setAside();
    QCOMPARE(QFileInfo(aside).fileName(), QString("torn.ornelle.damaged"));
    orphan.reset();
    QVERIFY(!RecoveryFile::find(folder->path()));
}

QTEST_GUILESS_MAIN(AutosaveTest)
#include "AutosaveTest.moc"
