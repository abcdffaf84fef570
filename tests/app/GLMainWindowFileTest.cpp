#include "view/ShownView.h"

#include "model/Document.h"
#include "document/DocumentFile.h"
#include "geometry/ControlPoints.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Polygon files through the real window: open and save round trips, the
// title and its modified marker, the unsaved-changes question, and bad
// files, each of which is told in one sentence and changes nothing.
class GLMainWindowFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUpIsTheDefaultDocument();
    void saveNewOpenRoundTrip();
    void unsavedChangesQuestion_data();
    void unsavedChangesQuestion();
    void exitAsksFirst_data();
    void exitAsksFirst();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void everyBadFileIsChecked();
    void failedSaveIsReported();

private:
    template <typename W>
    W *widget(const char *name) const
    {
        return window->findChild<W *>(name);
    }
    void click(double x, double y, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void choose(int scheme);
    void key(int key, Qt::KeyboardModifiers modifiers);
    // What the panel shows, for comparing before and after.
    QVariantList panel() const;

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
    std::unique_ptr<QTemporaryDir> folder;
    QString openName, saveName; // what the file choosers answer
    int openQuestions = 0;      // times the open chooser was asked
};

namespace {

// The files of the bad-file folder with the one sentence each must give;
// %1 stands for the file's path.
struct BadFile
{
    const char *file;
    const char *message;
};

const BadFile badFiles[] = {
    {"missing.ornelle", "Could not read %1: No such file or directory."},
    {"not-json.ornelle", "%1 is not valid JSON: unterminated array at line 4, column 1."},
    {"other-format.ornelle", "%1 is not an Ornelle polygon file."},
    {"newer-version.ornelle", "%1 was written by a newer Ornelle (format version 2; this one reads version 1)."},
    {"closed-not-boolean.ornelle", "In %1, \"closed\" must be true or false."},
    {"point-not-pair.ornelle", "In %1, point 3 must be a pair of numbers [x, y]."},
    // JSON has no infinite numbers: the toolkit's parser refuses 1e999.
    {"infinite-coordinate.ornelle", "%1 is not valid JSON: illegal number at line 2, column 22."},
    {"outside-world.ornelle", "In %1, point 3 (80.5, 3) lies outside the square -80..80 that the view reaches."},
    {"too-many-points.ornelle", "%1 holds 100001 points, more than the limit of 100000."},
    {"u-out-of-range.ornelle", "In %1, \"schemes.chaikin.u\" is 1.5, outside -1.00..0.99."},
    {"precision-out-of-range.ornelle", "In %1, \"schemes.bezier.precision\" is 0, outside 0.05..10."},
    {"level-out-of-range.ornelle", "In %1, \"schemes.proposed.level\" is 100, outside 0..99."},
    {"level-not-whole.ornelle", "In %1, \"schemes.bspline.level\" must be a whole number."},
    {"grid-out-of-range.ornelle", "In %1, \"view.gridSpacing\" is 11, outside 0..10."},
    {"unknown-scheme.ornelle",
     "In %1, \"scheme\" must be one of \"none\", \"bezier\", \"chaikin\", \"bspline\", \"proposed\" or "
     "\"custom\"."},
    {"custom-arity.ornelle", "In %1, \"schemes.custom.arity\" must be 2 or 3."},
    {"custom-mask-not-numbers.ornelle", "In %1, \"schemes.custom.mask\" must be an array of numbers."},
    {"custom-mask-not-affine.ornelle", "In %1, \"schemes.custom.mask\" is refused: sub-masks sum to 2 and 1: the "
                                       "scheme is not affine invariant."},
};

} // namespace

void GLMainWindowFileTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    window = std::make_unique<GLMainWindow>();
    window->chooseOpenFile = [this] {
        ++openQuestions;
        return openName;
    };
    window->chooseSaveFile = [this] { return saveName; };
    openQuestions = 0;
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
}

void GLMainWindowFileTest::cleanup()
{
    window.reset();
}

void GLMainWindowFileTest::click(double x, double y, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(glbox, Qt::LeftButton, modifiers, pixelAt(glbox, x, y).toPoint());
}

void GLMainWindowFileTest::choose(int scheme)
{
    auto *box = widget<QComboBox>("curveComboBox");
    box->setCurrentIndex(scheme);
    emit box->activated(scheme);
}

void GLMainWindowFileTest::key(int key, Qt::KeyboardModifiers modifiers)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), static_cast<Qt::Key>(key), modifiers);
}

QVariantList GLMainWindowFileTest::panel() const
{
    // A disabled control shows whatever it showed before: only whether it
    // is enabled counts.
    const auto *precision = widget<QSlider>("precision");
    const auto *level = widget<QSpinBox>("level");
    const auto *depth = widget<QCheckBox>("depthColourCheckBox");
    return {widget<QComboBox>("curveComboBox")->currentIndex(),
            widget<QCheckBox>("openCloseCurveCheckBox")->isChecked(),
            widget<QSlider>("uparameter")->value(),
            precision->isEnabled() ? precision->value() : -1,
            level->isEnabled() ? level->value() : -1,
            widget<QCheckBox>("drawCurvePointsCheckBox")->isChecked(),
            depth->isEnabled() ? int(depth->isChecked()) : -1,
            widget<QCheckBox>("axisCheckBox")->isChecked(),
            widget<QSlider>("grid space")->value(),
            // The value labels must show what the sliders hold.
            widget<QLabel>("uparameterValue")->text(),
            precision->isEnabled() ? widget<QLabel>("precisionValue")->text() : QString(),
            widget<QLabel>("grid spaceValue")->text()};
}

void GLMainWindowFileTest::startUpIsTheDefaultDocument()
{
    QVERIFY(glbox->snapshot() == Document());
    QCOMPARE(window->windowTitle(), QString("Untitled[*]"));
    QVERIFY(!window->isWindowModified());
}

void GLMainWindowFileTest::saveNewOpenRoundTrip()
{
    // Every kind of setting, set the way a user sets it, on three schemes.
    for (const QPointF p : QList<QPointF>{{-6, -3}, {-7, 2}, {-2, 6}, {6, 4}})
        click(p.x(), p.y());
    click(-2, 6, Qt::ShiftModifier); // the midpoint of (-2, 6) - (6, 4)
    QVERIFY(window->isWindowModified());
    widget<QCheckBox>("openCloseCurveCheckBox")->click();
    choose(1);
    widget<QSlider>("uparameter")->setValue(-45);
    widget<QSlider>("precision")->setValue(7);
    widget<QCheckBox>("depthColourCheckBox")->click();
    choose(2);
    widget<QSpinBox>("level")->setValue(3);
    widget<QCheckBox>("axisCheckBox")->click();
    widget<QSlider>("grid space")->setValue(5);
    // 0.29 x 100 lies just below 29: a panel that truncated it and sent
    // the result back would store 0.28.
    choose(4);
    widget<QSlider>("uparameter")->setValue(29);
    widget<QCheckBox>("drawCurvePointsCheckBox")->click();
    const Document made = glbox->snapshot();
    const QVariantList shown = panel();
    QCOMPARE(made.points.size(), std::size_t(5));
    QCOMPARE(made.settings(4).u, Document::uFromSlider(29));

    // Ctrl+S on an untitled polygon asks for a name.
    saveName = folder->filePath("figure.ornelle");
    key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(window->currentFile(), saveName);
    QCOMPARE(window->windowTitle(), QString("figure.ornelle[*]"));
    QVERIFY(!window->isWindowModified());
    Document saved;
    QCOMPARE(DocumentFile::read(saveName, saved), QString());
    QVERIFY(saved == made);

    key(Qt::Key_N, Qt::ControlModifier);
    QVERIFY(glbox->snapshot() == Document());
    QCOMPARE(window->windowTitle(), QString("Untitled[*]"));
    QCOMPARE(widget<QComboBox>("curveComboBox")->currentIndex(), 0);

    // Other values in the panel and in the selected curve, unsaved, so
    // that Open asks first; the loaded values must win over both.
    choose(3);
    widget<QSlider>("uparameter")->setValue(80);
    QVERIFY(window->isWindowModified());
    openName = saveName;
    QString question;
    QVERIFY(answerModalBox([this] { key(Qt::Key_O, Qt::ControlModifier); }, QMessageBox::Discard, nullptr,
                           &question));
    QCOMPARE(question, QString("Untitled has been modified.\nDo you want to save your changes?"));
    QVERIFY(glbox->snapshot() == made);
    QCOMPARE(panel(), shown);
    QCOMPARE(window->windowTitle(), QString("figure.ornelle[*]"));
    QVERIFY(!window->isWindowModified());

    // Save As writes the same file again under another name.
    saveName = folder->filePath("copy.ornelle");
    key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window->currentFile(), saveName);
    QFile first(folder->filePath("figure.ornelle")), second(saveName);
    QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), first.readAll());
}

void GLMainWindowFileTest::unsavedChangesQuestion_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("goesOn");    // the action happened
    QTest::addColumn<int>("savedPoints"); // points in the file afterwards

    QTest::newRow("new, save") << "new" << QMessageBox::Save << true << 2;
    QTest::newRow("new, discard") << "new" << QMessageBox::Discard << true << 1;
    QTest::newRow("new, cancel") << "new" << QMessageBox::Cancel << false << 1;
    QTest::newRow("open, cancel") << "open" << QMessageBox::Cancel << false << 1;
    QTest::newRow("close, cancel") << "close" << QMessageBox::Cancel << false << 1;
    QTest::newRow("close, discard") << "close" << QMessageBox::Discard << true << 1;
}

void GLMainWindowFileTest::unsavedChangesQuestion()
{
    QFETCH(QString, action);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, goesOn);
    QFETCH(int, savedPoints);

    saveName = folder->filePath("one.ornelle");
    click(1, 1);
    QVERIFY(window->save());
    click(2, 2);
    QVERIFY(window->isWindowModified());
    const Document before = glbox->snapshot();

    QString title, text;
    QVERIFY(answerModalBox(
        [&] {
            if (action == "new")
                window->newFile();
            else if (action == "open")
                window->open();
            else
                window->close();
        },
        answer, &title, &text));

    QCOMPARE(title, QString("Unsaved Changes"));
    QCOMPARE(text, QDir::toNativeSeparators(saveName) + " has been modified.\nDo you want to save your changes?");
    Document onDisk;
    QCOMPARE(DocumentFile::read(saveName, onDisk), QString());
    QCOMPARE(int(onDisk.points.size()), savedPoints);
    QCOMPARE(openQuestions, 0);
    if (action == "close") {
        QCOMPARE(window->isVisible(), !goesOn);
    } else {
        QCOMPARE(glbox->snapshot() == Document(), goesOn);
        QCOMPARE(glbox->snapshot() == before, !goesOn);
        QCOMPARE(window->isWindowModified(), !goesOn);
    }
}

void GLMainWindowFileTest::exitAsksFirst_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<int>("result"); // 0: quit, 1: still running at the safety timer

    QTest::newRow("cancel") << QMessageBox::Cancel << 1;
    QTest::newRow("discard") << QMessageBox::Discard << 0;
}

void GLMainWindowFileTest::exitAsksFirst()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, result);

    click(1, 1);
    // Ctrl+Q inside the application's own event loop, as in the program.
    int exitCode = -1;
    QTimer::singleShot(0, [this] { key(Qt::Key_Q, Qt::ControlModifier); });
    // The safety timer must not outlive this test: exit() would end the
    // event loop of any later modal box.
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    safety.start(3000);
    QVERIFY(answerModalBox([&] { exitCode = QApplication::exec(); }, answer));
    QCOMPARE(exitCode, result);
    QCOMPARE(window->isVisible(), result == 1);
}

void GLMainWindowFileTest::badFileChangesNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    for (const BadFile &bad : badFiles)
        QTest::newRow(bad.file) << bad.file << bad.message;
}

void GLMainWindowFileTest::badFileChangesNothing()
{
    QFETCH(QString, file);
    QFETCH(QString, message);

    // A saved, then edited polygon with a scheme and its panel.
    saveName = folder->filePath("kept.ornelle");
    for (const QPointF p : QList<QPointF>{{-5, -5}, {5, -5}, {0, 5}})
        click(p.x(), p.y());
    choose(2);
    widget<QSpinBox>("level")->setValue(2);
    QVERIFY(window->save());
    widget<QSlider>("uparameter")->setValue(60);
    const Document before = glbox->snapshot();
    const QVariantList shownBefore = panel();

    const QString path = QDir(ORNELLE_BAD_FILES).filePath(file);
    QString title, text;
    QVERIFY(answerModalBox([&] { QVERIFY(!window->openFile(path)); }, QMessageBox::Ok, &title, &text));

    QCOMPARE(title, QString("Open"));
    QCOMPARE(text, QString(message).arg(QDir::toNativeSeparators(path)));
    QVERIFY(glbox->snapshot() == before);
    QCOMPARE(panel(), shownBefore);
    QCOMPARE(window->currentFile(), saveName);
    QCOMPARE(window->windowTitle(), QString("kept.ornelle[*]"));
    QVERIFY(window->isWindowModified());
}

void GLMainWindowFileTest::everyBadFileIsChecked()
{
    QStringList checked;
    for (const BadFile &bad : badFiles)
        checked << bad.file;
    for (const QString &name : QDir(ORNELLE_BAD_FILES).entryList(QDir::Files))
        QVERIFY2(checked.contains(name), qPrintable(name + " has no row in badFiles"));
}

void GLMainWindowFileTest::failedSaveIsReported()
{
    click(1, 1);
    saveName = folder->filePath("missing/figure.ornelle");
    QString title, text;
    QVERIFY(answerModalBox([this] { QVERIFY(!window->save()); }, QMessageBox::Ok, &title, &text));
    QCOMPARE(title, QString("Save"));
    QVERIFY2(text.startsWith("Could not save " + QDir::toNativeSeparators(saveName) + ": "), qPrintable(text));
    QCOMPARE(window->windowTitle(), QString("Untitled[*]"));
    QVERIFY(window->isWindowModified());
}

QTEST_MAIN(GLMainWindowFileTest)
#include "GLMainWindowFileTest.moc"
