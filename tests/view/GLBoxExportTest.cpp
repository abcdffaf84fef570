#include "ShownView.h"

#include "geometry/ControlPoints.h"
#include "render/PostScriptWriter.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <iostream>
#include <memory>
#include <sstream>

#include <sys/resource.h>

// PostScript export from the real view into real files: what the page
// holds, the overwrite question, failures, and pages that need a larger
// feedback buffer than the first pass offers.
class GLBoxExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void pagePerScheme_data();
    void pagePerScheme();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void cancelledChooserWritesNothing();
    void unwritablePathIsReported();
    void largeCurveFitsOnePage();
    void curveOverTheLimitIsWrittenSimplified();
    void dialogLeavesTheQuestionToTheExport_data();
    void dialogLeavesTheQuestionToTheExport();
    void takenNamesAreAsked_data();
    void takenNamesAreAsked();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();

private:
    // Exports to name inside the temporary folder and returns the file's
    // text; answer, when given, is clicked in the overwrite question,
    // whose title and text land in title and text.
    QByteArray exportAs(const QString &name, QMessageBox::StandardButton answer = QMessageBox::NoButton,
                        QString *title = nullptr, QString *text = nullptr);

    GLBox *glbox = nullptr;
    // Writes an old file at name in the folder and returns its contents.
    QByteArray oldFile(const QString &name);

    std::unique_ptr<GLMainWindow> window;
    std::function<QString()> dialogChooser; // the view's own, with the real dialog
    std::unique_ptr<QTemporaryDir> folder;
};

namespace {

const QList<QPointF> square{{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};

// Colours as gl2ps writes them before a primitive ("r g b C").
const QByteArray curveColour = "0.65 0.53 1 C";
const QByteArray polygonColour = "1 1 0 C";
const QByteArray gridColour = "0.5 0.5 0.5 C";

QByteArray titleOf(const QByteArray &page)
{
    for (const QByteArray &line : page.split('\n'))
        if (line.startsWith("%%Title: "))
            return line.mid(9);
    return {};
}

} // namespace

void GLBoxExportTest::initTestCase()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    dialogChooser = glbox->chooseExportFile;
}

void GLBoxExportTest::cleanupTestCase()
{
    window.reset();
}

void GLBoxExportTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    glbox->setCurrentCurve(0);
    setPolygon(glbox, square, true);
    window->statusBar()->clearMessage();
}

QByteArray GLBoxExportTest::exportAs(const QString &name, QMessageBox::StandardButton answer, QString *title,
                                     QString *text)
{
    const QString path = name.isEmpty() ? QString() : folder->filePath(name);
    glbox->chooseExportFile = [path] { return path; };
    if (answer == QMessageBox::NoButton)
        glbox->exportPS();
    else if (!answerModalBox([this] { glbox->exportPS(); }, answer, title, text))
        return "no question asked";
    if (path.isEmpty())
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void GLBoxExportTest::pagePerScheme_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QByteArray>("title");

    QTest::newRow("none") << 0 << false << QByteArray("Control Points");
    QTest::newRow("Bezier") << 1 << false << QByteArray("Bezier curve");
    QTest::newRow("Chaikin") << 2 << false << QByteArray("Chaikin curve");
    QTest::newRow("B-spline") << 3 << false << QByteArray("Cubic B-Spline curve");
    QTest::newRow("proposed") << 4 << false << QByteArray("Dr. Vantrell proposed curve");
    // Nothing to record: gl2ps still writes a whole, empty page.
    QTest::newRow("empty polygon") << 3 << true << QByteArray("Cubic B-Spline curve");
}

void GLBoxExportTest::pagePerScheme()
{
    QFETCH(int, scheme);
    QFETCH(bool, empty);
    QFETCH(QByteArray, title);

    glbox->setCurrentCurve(scheme);
    if (empty)
        glbox->deleteControlPoints();
    // No extension is added to the name, although the dialog asks for .ps.
    const QByteArray page = exportAs("page");

    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{"page"});
    QCOMPARE(page.left(page.indexOf('\n')), QByteArray("%!PS-Adobe-3.0 EPSF-3.0"));
    QCOMPARE(titleOf(page), title);
    QCOMPARE(page.contains(polygonColour), !empty);
    QCOMPARE(page.contains(curveColour), scheme != 0 && !empty);
    QVERIFY(!page.contains(gridColour)); // neither grid nor axes
    QVERIFY(page.trimmed().endsWith("%%EOF"));
}

void GLBoxExportTest::overwriteQuestion_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("overwritten");

    QTest::newRow("yes") << QMessageBox::Yes << true;
    QTest::newRow("no") << QMessageBox::No << false;
}

void GLBoxExportTest::overwriteQuestion()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, overwritten);

    const QByteArray old("an older picture\n\0with a zero byte", 34);
    QFile existing(folder->filePath("old.ps"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write(old);
    existing.close();

    QString title, text;
    const QByteArray page = exportAs("old.ps", answer, &title, &text);

    QCOMPARE(title, QString("Warning..."));
    QCOMPARE(text, "File " + folder->filePath("old.ps") + " already exist! Overwrite?");
    if (overwritten)
        QCOMPARE(titleOf(page), QByteArray("Control Points"));
    else
        QCOMPARE(page, old);
}

void GLBoxExportTest::cancelledChooserWritesNothing()
{
    exportAs(QString());
    QVERIFY(QDir(folder->path()).isEmpty());
}

void GLBoxExportTest::unwritablePathIsReported()
{
    const QString name = folder->filePath("missing/page.ps");
    glbox->chooseExportFile = [name] { return name; };
    std::ostringstream errors;
    std::streambuf *saved = std::cerr.rdbuf(errors.rdbuf());

    glbox->exportPS();

    std::cerr.rdbuf(saved);
    QCOMPARE(QString::fromStdString(errors.str()),
             "Could not create file " + name + ": No such file or directory. Aborting Postscript export!\n");
    QCOMPARE(window->statusBar()->currentMessage(), "Could not create file " + name + ": No such file or directory");
    QVERIFY(QDir(folder->path()).isEmpty());
}

void GLBoxExportTest::largeCurveFitsOnePage()
{
    // 16384 points drawn as curve, ghost and dots need more feedback
    // values than the first pass offers.
    glbox->setCurrentCurve(2);
    Curve *chaikin = curveAt(glbox, 2);
    chaikin->level = 12;
    chaikin->curvePoints = true;

    const QByteArray page = exportAs("large.eps");

    chaikin->level = 0;
    chaikin->curvePoints = false;
    QCOMPARE(page.count("%!PS-Adobe-3.0"), 1);
    QCOMPARE(page.count("%%EOF"), 1);
    QCOMPARE(titleOf(page), QByteArray("Chaikin curve"));
    QVERIFY(page.contains(curveColour));
    QVERIFY(page.count(" P\n") >= 16384); // every curve point as a dot
}

void GLBoxExportTest::curveOverTheLimitIsWrittenSimplified()
{
    // 4 * 2^17 = 524,288 segments, more than a page shows: written as the
    // few thousand that a printer could tell apart, and the user is told.
    glbox->setCurrentCurve(2);
    Curve *chaikin = curveAt(glbox, 2);
    chaikin->level = 17;
    const QByteArray page = exportAs("huge.eps");
    chaikin->level = 0;

    QCOMPARE(window->statusBar()->currentMessage(),
             QString("Curve of 524288 segments written simplified, within 0.01 pt"));
    QCOMPARE(page.count("%%EOF"), 1);
    QVERIFY(page.contains(curveColour));
    const qsizetype segments = page.count(" L\n");
    QVERIFY2(segments > 100 && segments < 20000, qPrintable(QString::number(segments)));
    // The next export of a smaller curve is exact: every one of the 128
    // segments of its loop and of its ghost is written.
    chaikin->level = 5;
    glbox->controlPoints->dirty = true;
    window->statusBar()->clearMessage();
    const QByteArray exact = exportAs("exact.eps");
    chaikin->level = 0;
    QVERIFY2(exact.count(" L\n") >= 2 * 128, qPrintable(QString::number(exact.count(" L\n"))));
    QCOMPARE(window->statusBar()->currentMessage(), QString());
}

QByteArray GLBoxExportTest::oldFile(const QString &name)
{
    const QByteArray old("an older picture\n");
    QFile file(folder->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(old) != old.size())
        return {};
    return old;
}

void GLBoxExportTest::dialogLeavesTheQuestionToTheExport_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("no") << QMessageBox::No;
    QTest::newRow("yes") << QMessageBox::Yes;
}

void GLBoxExportTest::dialogLeavesTheQuestionToTheExport()
{
    QFETCH(QMessageBox::StandardButton, answer);

    // The real dialog picks an existing file; the only question is the
    // export's own, and its answer ends the matter.
    const QByteArray old = oldFile("figure.eps");
    const QString path = folder->filePath("figure.eps");
    glbox->chooseExportFile = dialogChooser;
    QStringList questions;
    int dialogs = 0;
    QTimer answerer;
    answerer.setInterval(20);
    connect(&answerer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            // Typed as a user would; the dialog may still be reading the
            // folder it opened in.
            ++dialogs;
            if (auto *edit = dialog->findChild<QLineEdit *>("fileNameEdit"))
                edit->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            questions << box->text();
            box->button(questions.size() == 1 ? answer : QMessageBox::No)->click();
        }
    });
    answerer.start();
    glbox->exportPS();
    answerer.stop();

    QCOMPARE(dialogs, 1);
    QCOMPARE(questions, QStringList{"File " + path + " already exist! Overwrite?"});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray now = file.readAll();
    QCOMPARE(now == old, answer == QMessageBox::No);
    QCOMPARE(titleOf(now).isEmpty(), answer == QMessageBox::No);
}

void GLBoxExportTest::takenNamesAreAsked_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("unreadable file") << "unreadable";
    QTest::newRow("link to nowhere") << "dangling link";
}

void GLBoxExportTest::takenNamesAreAsked()
{
    QFETCH(QString, kind);

    // A name that is taken is asked about, whether or not it can be read.
    const QString path = folder->filePath("taken.eps");
    if (kind == "unreadable") {
        QVERIFY(!oldFile("taken.eps").isEmpty());
        QFile::setPermissions(path, QFileDevice::Permissions());
        if (QFile(path).open(QIODevice::ReadOnly))
            QSKIP("this user reads every file");
    } else {
        QVERIFY(QFile::link(folder->filePath("nowhere.eps"), path));
    }
    const QByteArray answered = exportAs("taken.eps", QMessageBox::No);
    QVERIFY(answered != "no question asked");
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::System), QStringList{"taken.eps"});
    QCOMPARE(QFileInfo(path).isSymLink(), kind == "dangling link");
}

void GLBoxExportTest::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("reason");
    // Level 8 makes a page of about 50 KB; level 12 with its dots needs a
    // second, larger feedback buffer (see largeCurveFitsOnePage).
    QTest::newRow("disk full") << "file size" << 8 << "File too large";
    QTest::newRow("page too large") << "feedback" << 12 << "the picture is too large to export";
}

void GLBoxExportTest::failedWriteKeepsTheOldFile()
{
    QFETCH(QString, failure);
    QFETCH(int, level);
    QFETCH(QString, reason);

    glbox->setCurrentCurve(2);
    Curve *chaikin = curveAt(glbox, 2);
    chaikin->level = level;
    chaikin->curvePoints = true;
    const QByteArray old = oldFile("figure.eps");
    const QString path = folder->filePath("figure.eps");
    glbox->chooseExportFile = [path] { return path; };

    // Past the size limit a write fails with EFBIG, as on a full disk.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    if (failure == "file size") {
        rlimit limited = saved;
        limited.rlim_cur = 16384;
        setrlimit(RLIMIT_FSIZE, &limited);
    } else {
        glbox->postScriptWriter().feedbackLimit = 1048576;
    }
    std::ostringstream errors;
    std::streambuf *savedErrors = std::cerr.rdbuf(errors.rdbuf());
    answerModalBox([this] { glbox->exportPS(); }, QMessageBox::Yes);
    std::cerr.rdbuf(savedErrors);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
    glbox->postScriptWriter().feedbackLimit = PostScriptWriter::maxFeedback;
    chaikin->level = 0;
    chaikin->curvePoints = false;

    const QString message = "Could not write file " + path + ": " + reason;
    QCOMPARE(window->statusBar()->currentMessage(), message);
    QCOMPARE(QString::fromStdString(errors.str()), message + "\n");
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"figure.eps"});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
}

QTEST_MAIN(GLBoxExportTest)
#include "GLBoxExportTest.moc"
