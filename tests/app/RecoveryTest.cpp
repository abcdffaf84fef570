// No work is lost: the recovery files of a real window and of the real
// program, killed, started again, and given a damaged file; and a polygon
// made far out in a zoomed-out view saved and opened again. The program
// runs as its own process, driven with xdotool on an X server with a
// window manager (see with-window-manager.sh).
#include "document/Autosave.h"
#include "document/DocumentFile.h"
#include "view/ShownView.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <memory>
#include <optional>

class RecoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void aCleanCloseLeavesNoFile();
    void twoWindowsKeepTwoFiles();
    void farPointsSurviveSaveAndOpen();
    void killedWorkIsOfferedBack();
    void aDamagedFileDoesNotBlockTheStart();

private:
    QString recoveryFolder() const { return QDir(home->path()).filePath("ornelle/recovery"); }
    QStringList recoveries() const
    {
        return QDir(recoveryFolder()).entryList({QString("*.") + DocumentFile::suffix}, QDir::Files);
    }
    // The real program, on this display, with this test's data folder.
    std::unique_ptr<QProcess> start();
    // Runs xdotool with arguments; its output, or nothing when it failed or
    // took longer than timeout milliseconds.
    static std::optional<QString> xdotool(const QStringList &arguments, int timeout = 15000);
    // The shown X window whose name matches pattern, waiting up to 15 s for
    // it; empty when none shows.
    static QString windowNamed(const QString &pattern);

    std::unique_ptr<QTemporaryDir> home;
};

std::unique_ptr<QProcess> RecoveryTest::start()
{
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", home->path());
    environment.insert("XDG_CONFIG_HOME", home->path());
    // Not a first start, which would show an example instead of the empty
    // polygon these tests edit.
    QDir(home->path()).mkpath("ornelle");
    QFile settings(QDir(home->path()).filePath("ornelle/ornelle.conf"));
    if (!settings.exists() && (!settings.open(QIODevice::WriteOnly) || settings.write("[start]\nstarted=true\n") < 0))
        return nullptr;
    settings.close();
    program->setProcessEnvironment(environment);
    program->start(ORNELLE_EXECUTABLE, {});
    return program->waitForStarted() ? std::move(program) : nullptr;
}

std::optional<QString> RecoveryTest::xdotool(const QStringList &arguments, int timeout)
{
    QProcess tool;
    tool.start("xdotool", arguments);
    if (!tool.waitForFinished(timeout) || tool.exitCode() != 0) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QString RecoveryTest::windowNamed(const QString &pattern)
{
    // xdotool's own --sync waits for ever when an unshown window matches.
    QDeadlineTimer deadline(15000);
    do {
        if (const QString found = xdotool({"search", "--onlyvisible", "--name", pattern}).value_or(""); !found.isEmpty())
            return found.section('\n', 0, 0);
        QTest::qWait(200);
    } while (!deadline.hasExpired());
    return {};
}

void RecoveryTest::initTestCase()
{
    // The windows made in this process keep their files where the
    // program's do.
    QCoreApplication::setApplicationName("ornelle");
}

void RecoveryTest::init()
{
    home = std::make_unique<QTemporaryDir>();
    QVERIFY(home->isValid());
    // The windows made inside this process keep their files there too.
    qputenv("XDG_DATA_HOME", home->path().toLocal8Bit());
}

void RecoveryTest::cleanup()
{
    home.reset();
}

void RecoveryTest::aCleanCloseLeavesNoFile()
{
    auto window = std::make_unique<GLMainWindow>();
    GLBox *glbox = showAndFindView(*window);
    QVERIFY(glbox);
    QTest::mouseClick(glbox, Qt::LeftButton, {}, pixelAt(glbox, 1, 2).toPoint());
    QTRY_COMPARE_WITH_TIMEOUT(recoveries().size(), 1, 3000);
    // Closing asks about the unsaved change; Discard ends it cleanly.
    QVERIFY(answerModalBox([&] { window->close(); }, QMessageBox::Discard));
    window.reset();
    QCOMPARE(recoveries(), QStringList());
    QCOMPARE(QDir(recoveryFolder()).entryList(QDir::Files), QStringList()); // no lock left either
}

void RecoveryTest::twoWindowsKeepTwoFiles()
{
    GLMainWindow first, second;
    for (GLMainWindow *window : {&first, &second}) {
        GLBox *glbox = showAndFindView(*window);
        QVERIFY(glbox);
        QTest::mouseClick(glbox, Qt::LeftButton, {}, pixelAt(glbox, window == &first ? 1 : 2, 3).toPoint());
    }
    QTRY_COMPARE_WITH_TIMEOUT(recoveries().size(), 2, 3000);
    QVERIFY(first.autosaveFile().path() != second.autosaveFile().path());
}

void RecoveryTest::farPointsSurviveSaveAndOpen()
{
    GLMainWindow window;
    GLBox *glbox = showAndFindView(window);
    QVERIFY(glbox);
    // As far out and as far to a corner as the wheel goes, then clicks at
    // the view's far edge and a drag well beyond it.
    const auto wheel = [glbox](QPoint angle, Qt::KeyboardModifiers modifiers) {
        const QPointF at(glbox->width() / 2.0, glbox->height() / 2.0);
        QWheelEvent event(at, glbox->mapToGlobal(at), {}, angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(glbox, &event);
    };
    wheel({0, -50 * 120}, Qt::ControlModifier);
    wheel({0, 50 * 120}, Qt::ShiftModifier);
    wheel({0, 50 * 120}, Qt::NoModifier);
    const int far = glbox->width() - 1;
    const ViewTransform &v = glbox->viewTransform;
    QTest::mouseClick(glbox, Qt::LeftButton, {}, QPoint(v.centreX() > 0 ? far : 0, v.centreY() > 0 ? 0 : far));
    QTest::mouseClick(glbox, Qt::LeftButton, {}, QPoint(far / 2, far / 2));
    QTest::mousePress(glbox, Qt::RightButton, {}, QPoint(far / 2, far / 2));
    QMouseEvent beyond(QEvent::MouseMove, QPointF(3 * far, 2 * far), glbox->mapToGlobal(QPointF(3 * far, 2 * far)),
                       Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(glbox, &beyond);
    QTest::mouseRelease(glbox, Qt::RightButton, {}, QPoint(3 * far, 2 * far));

    const Document made = glbox->snapshot();
    QCOMPARE(made.points.size(), std::size_t(2));
    QVERIFY(std::abs(made.points[0].x()) > 70); // really far out
    const QString path = QDir(home->path()).filePath("far.ornelle");
    window.chooseSaveFile = [&path] { return path; };
    QVERIFY(window.saveAs());
    GLMainWindow reopened;
    QVERIFY(reopened.openFile(path));
    GLBox *other = reopened.findChild<GLBox *>("glbox");
    QVERIFY(other->snapshot().points == made.points);
}

void RecoveryTest::killedWorkIsOfferedBack()
{
    auto program = start();
    QVERIFY(program);
    const QString window = windowNamed("Untitled");
    QVERIFY2(!window.isEmpty(), "the program's window did not show");
    for (const QStringList &at : {QStringList{"150", "150"}, {"350", "160"}, {"250", "360"}})
        QVERIFY(xdotool(QStringList{"mousemove", "--window", window, "--sync"} + at + QStringList{"click", "1"}));
    QTest::qWait(3000);
    program->kill(); // SIGKILL: no chance to clean up
    program->waitForFinished();
    QCOMPARE(recoveries().size(), 1);
    Document killed;
    QCOMPARE(DocumentFile::read(QDir(recoveryFolder()).filePath(recoveries().constFirst()), killed), QString());
    QCOMPARE(killed.points.size(), std::size_t(3));

    // The next start asks; Return takes the default, Recover.
    auto again = start();
    QVERIFY(again);
    QVERIFY2(!windowNamed("Recover Work").isEmpty(), "no recovery question");
    QVERIFY(xdotool({"key", "--clearmodifiers", "Return"}));
    // Shown unsaved, and kept in the new instance's own file.
    QVERIFY(!windowNamed("Untitled\\*").isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(recoveries().size(), 1, 5000);
    Document recovered;
    QCOMPARE(DocumentFile::read(QDir(recoveryFolder()).filePath(recoveries().constFirst()), recovered), QString());
    QVERIFY(recovered.points == killed.points);
    again->kill();
    again->waitForFinished();
}

void RecoveryTest::aDamagedFileDoesNotBlockTheStart()
{
    QVERIFY(QDir().mkpath(recoveryFolder()));
    QFile damaged(QDir(recoveryFolder()).filePath("old.ornelle"));
    QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("{\"format\": \"orn") > 0);
    damaged.close();

    auto program = start();
    QVERIFY(program);
    QVERIFY2(!windowNamed("Untitled").isEmpty(), "the window did not show");
    QVERIFY(xdotool({"search", "--onlyvisible", "--name", "Recover Work"}).value_or("").isEmpty()); // nothing asked
    QCOMPARE(recoveries(), QStringList());
    QVERIFY(QFileInfo::exists(damaged.fileName() + ".damaged"));
    program->kill();
    program->waitForFinished();
    QVERIFY(program->readAllStandardError().contains("damaged recovery file was set aside"));
}

QTEST_MAIN(RecoveryTest)
#include "RecoveryTest.moc"
