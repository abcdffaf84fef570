// A seeded random user drives the real main window through thousands of
// actions: presses with every button and modifier, drags, hovering,
// releases out of order, scheme changes, every panel control including its
// ends and the Study box's switches, "Delete Control Points", exports
// answered Yes and No, and zooms, pans and "Reset View" by wheel, keys and
// button. After every action the view repaints and the model and the view
// transform are checked; every twentieth, the document is saved and opened
// again.
//
// Replay a failing run with the seed it prints:
//   ORNELLE_SESSION_SEEDS=<seed> build/test/tests/app/RandomSessionTest
// ORNELLE_SESSION_ACTIONS sets the number of actions per seed.

#include "model/Document.h"
#include "document/DocumentFile.h"
#include "geometry/ControlPoints.h"
#include "support/ListInvariants.h"
#include "view/ShownView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <deque>
#include <random>

namespace {

QList<quint32> seedsFromEnvironment()
{
    QList<quint32> seeds;
    for (const QString &s : qEnvironmentVariable("ORNELLE_SESSION_SEEDS").split(',', Qt::SkipEmptyParts))
        seeds << s.trimmed().toUInt();
    if (seeds.isEmpty())
        seeds = {11, 23, 37, 41};
    return seeds;
}

int actionsFromEnvironment()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ORNELLE_SESSION_ACTIONS", &ok);
    return ok && n > 0 ? n : 1500;
}

// One random user with a window to work on.
class Session
{
public:
    Session(quint32 seed, const QString &folder) : random(seed), folder(folder)
    {
        window.resize(1000, 700);
        view = showAndFindView(window);
        combo = window.findChild<QComboBox *>("curveComboBox");
        closedBox = window.findChild<QCheckBox *>("openCloseCurveCheckBox");
        pointsBox = window.findChild<QCheckBox *>("drawCurvePointsCheckBox");
        depthBox = window.findChild<QCheckBox *>("depthColourCheckBox");
        axisBox = window.findChild<QCheckBox *>("axisCheckBox");
        uSlider = window.findChild<QSlider *>("uparameter");
        precisionSlider = window.findChild<QSlider *>("precision");
        gridSlider = window.findChild<QSlider *>("grid space");
        levelBox = window.findChild<QSpinBox *>("level");
        deleteButton = window.findChild<QPushButton *>("deleteControlPointsButton");
        resetViewButton = window.findChild<QPushButton *>("resetViewButton");
        for (const char *name : {"compareBezierCheckBox", "compareChaikinCheckBox", "compareBSplineCheckBox",
                                 "compareProposedCheckBox", "showPassesCheckBox", "showLimitCheckBox",
                                 "curvatureCheckBox"})
            studyBoxes << window.findChild<QCheckBox *>(name);
        distance = window.findChild<QLabel *>("distanceLabel");
        if (auto *box = window.findChild<QGroupBox *>("areaBox"))
            labels = box->findChildren<QLabel *>();
        view->chooseExportFile = [this] { return exportName; };
    }

    bool ready() const
    {
        return view && combo && closedBox && pointsBox && depthBox && axisBox && uSlider && precisionSlider &&
               gridSlider && levelBox && deleteButton && resetViewButton && labels.size() == 3 && distance &&
               !studyBoxes.contains(nullptr);
    }

    // Does one random action; returns what it did, for the failure log.
    QString act()
    {
        const int roll = pick(0, 999);
        if (roll < 285)
            return press();
        if (roll < 300)
            return toggle(studyBoxes[pick(0, int(studyBoxes.size()) - 1)]);
        if (roll < 590)
            return move();
        if (roll < 620)
            return changeView();
        if (roll < 780)
            return release();
        if (roll < 820)
            return chooseScheme();
        if (roll < 850)
            return slide(uSlider, "u");
        if (roll < 875)
            return slide(precisionSlider, "precision");
        if (roll < 895)
            return slide(gridSlider, "grid");
        if (roll < 930)
            return setLevel();
        if (roll < 955)
            return toggle(closedBox);
        if (roll < 970)
            return toggle(pointsBox);
        if (roll < 982)
            return toggle(depthBox);
        if (roll < 988)
            return toggle(axisBox);
        if (roll < 994)
            return deleteAll();
        return exportPicture();
    }

    // Saves the document as it is now and opens the file again: whatever
    // the editor made must come back bit for bit. Returns what is wrong.
    QString saveAndReopen()
    {
        Document saved = view->snapshot();
        const QString path = QDir(folder).filePath("session.ornelle");
        if (const QString problem = DocumentFile::write(path, saved); !problem.isEmpty())
            return problem;
        Document opened;
        if (const QString problem = DocumentFile::read(path, opened); !problem.isEmpty())
            return problem;
        if (opened.points != saved.points || opened.closed != saved.closed)
            return QString("the saved polygon of %1 points opens as %2 points, or differently")
                .arg(saved.points.size())
                .arg(opened.points.size());
        // A file keeps each scheme's settings that the scheme uses.
        for (int s = 1; s <= Document::schemeCount; ++s) {
            Document::SchemeSettings &kept = saved.settings(s);
            if (s == 1)
                kept.level = opened.settings(s).level;
            else
                std::tie(kept.precision, kept.depthColour) =
                    std::pair(opened.settings(s).precision, opened.settings(s).depthColour);
        }
        return opened == saved ? QString() : QString("the saved document opens differently");
    }

    // Repaints at once and checks the model; returns what is wrong.
    QString check()
    {
        view->repaint();
        QCoreApplication::processEvents();
        ControlPoints &cp = *view->controlPoints;
        if (QString p = QString::fromStdString(listProblem(cp.points)); !p.isEmpty())
            return "control polygon: " + p;
        int ghosts = 0;
        for (auto *n = cp.points.head; n; n = n->next) {
            if (n->item->hasGhost) {
                ++ghosts;
                if (view->movingPoint != n->item)
                    return "a control point has a ghost outside its drag";
            }
        }
        if (ghosts > 1)
            return QString("%1 control points have ghosts").arg(ghosts);
        if (view->movingPoint && !cp.points.node(view->movingPoint))
            return "the dragged point is not in the polygon";
        for (std::uint32_t i = 1; i <= view->curves.count; ++i) {
            const Curve &curve = *view->curves.indexNode(i)->item;
            if (curve.result)
                if (QString p = QString::fromStdString(listProblem(*curve.result)); !p.isEmpty())
                    return QString("curve %1: ").arg(i) + p;
        }
        if (QString p = checkCounts(); !p.isEmpty())
            return p;
        if (QString p = checkView(); !p.isEmpty())
            return p;
        if (closedBox->isChecked() != cp.closed)
            return "the Closed Curve box disagrees with the polygon";
        static const QRegularExpression number("^(Control Points|Delta|Final) = -?\\d+(\\.\\d\\d)?$");
        for (const QLabel *label : labels)
            if (!number.match(label->text()).hasMatch())
                return "unreadable area label: " + label->text();
        static const QRegularExpression readout("^(Distance to limit( = \\d\\.\\d\\de[-+]\\d+|: .+)|Levels \\d+ to "
                                                "\\d+ apart = \\d\\.\\d\\de[-+]\\d+)\n.+$");
        if (!readout.match(distance->text()).hasMatch())
            return "unreadable distance read-out: " + distance->text();
        std::uint64_t shares = 0;
        for (std::uint32_t i = 1; i <= view->curves.count; ++i)
            if (int(i) == view->currentCurve || view->scene().study().compared[i])
                shares += view->curves.indexNode(i)->item->pointLimit;
        if (shares > Curve::pointBudget)
            return QString("the drawn curves may make %1 points together").arg(shares);
        return {};
    }

    QMainWindow &mainWindow() { return window; }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chance(int percent) { return pick(0, 99) < percent; }

    // The point counts that the rules give for the level actually reached,
    // for the selected curve and every compared one.
    QString checkCounts()
    {
        for (int scheme = 1; scheme <= 4; ++scheme) {
            if (scheme != view->currentCurve && !view->scene().study().compared[std::size_t(scheme)])
                continue;
            if (QString p = countProblem(scheme); !p.isEmpty())
                return p;
        }
        return {};
    }

    QString countProblem(int scheme)
    {
        if (view->controlPoints->points.count < 3)
            return {};
        const Curve &curve = *curveAt(view, scheme);
        if (!curve.result)
            return QString("curve %1 was not rendered").arg(scheme);
        const quint64 n = view->controlPoints->points.count;
        const quint64 count = curve.result->count;
        const bool closed = view->controlPoints->closed;
        if (scheme == 1) {
            const quint64 m = n + (closed ? 1 : 0);
            if (count < m || (count - m) % (m - 1) != 0)
                return QString("Bezier: %1 points from %2").arg(count).arg(m);
            return {};
        }
        if (!closed)
            return count == n ? QString() : QString("open polygon, %1 copies of %2 points").arg(count).arg(n);
        if (!curve.limited && curve.reachedLevel != curve.level)
            return "reached level differs from the level without a limit";
        quint64 expected = n;
        for (int k = 0; k < curve.reachedLevel; ++k)
            expected *= scheme == 4 ? 3 : 2;
        if (count != expected)
            return QString("scheme %1: %2 points, expected %3").arg(scheme).arg(count).arg(expected);
        return {};
    }

    // Zoom and centre within their limits, and the view's middle pixel on
    // the centre.
    QString checkView()
    {
        const ViewTransform &v = view->viewTransform;
        if (v.zoom() < ViewTransform::minZoom || v.zoom() > ViewTransform::maxZoom)
            return QString("zoom %1 out of range").arg(v.zoom());
        if (std::fabs(v.centreX()) > ViewTransform::centreReach || std::fabs(v.centreY()) > ViewTransform::centreReach)
            return QString("centre (%1, %2) out of reach").arg(v.centreX()).arg(v.centreY());
        const Vector middle = view->mapToWorld(QPointF(view->width() / 2.0, view->height() / 2.0));
        const double tolerance = 1e-6 * v.side();
        if (std::fabs(middle.x() - v.centreX()) > tolerance || std::fabs(middle.y() - v.centreY()) > tolerance)
            return QString("the view's middle maps to (%1, %2), not its centre").arg(middle.x()).arg(middle.y());
        return {};
    }

    // A widget position near a control point most of the time (so that
    // picks hit), anywhere in the view otherwise, now and then outside it.
    QPointF position()
    {
        double x, y;
        auto &points = view->controlPoints->points;
        if (points.count > 0 && chance(60)) {
            const Point &p = *points.indexNode(static_cast<std::uint32_t>(pick(1, int(points.count))))->item;
            x = p.position.x() + pick(-12, 12) * 0.01;
            y = p.position.y() + pick(-12, 12) * 0.01;
        } else {
            // As fractions of the visible square, a little beyond it too.
            const ViewTransform &v = view->viewTransform;
            x = v.left() + (pick(-1050, 1050) * 0.01 + 10) / 20 * v.side();
            y = v.bottom() + (pick(-1050, 1050) * 0.01 + 10) / 20 * v.side();
        }
        return pixelAt(view, x, y);
    }

    Qt::KeyboardModifiers modifiers()
    {
        static const Qt::KeyboardModifiers choices[] = {
            Qt::NoModifier, Qt::NoModifier,         Qt::ControlModifier,
            Qt::ShiftModifier, Qt::AltModifier,     Qt::ControlModifier | Qt::ShiftModifier,
        };
        return choices[pick(0, 5)];
    }

    Qt::MouseButton button()
    {
        static const Qt::MouseButton choices[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                                  Qt::RightButton, Qt::MiddleButton, Qt::BackButton};
        return choices[pick(0, 5)];
    }

    void send(QEvent::Type type, QPointF at, Qt::MouseButton which, Qt::KeyboardModifiers mods)
    {
        QMouseEvent event(type, at, view->mapToGlobal(at), which, held, mods);
        QApplication::sendEvent(view, &event);
    }

    QString press()
    {
        // Keep the polygon small enough for quick repaints.
        const bool crowded = view->controlPoints->points.count > 40;
        const Qt::MouseButton which = button();
        const Qt::KeyboardModifiers mods = crowded && which == Qt::LeftButton ? Qt::ControlModifier : modifiers();
        held |= which;
        const QPointF at = position();
        send(QEvent::MouseButtonPress, at, which, mods);
        return QString("press %1 mods %2 at (%3, %4)").arg(which).arg(mods.toInt()).arg(at.x()).arg(at.y());
    }

    QString move()
    {
        const QPointF at = position();
        const Qt::KeyboardModifiers mods = modifiers();
        send(QEvent::MouseMove, at, Qt::NoButton, mods);
        return QString("move mods %1 to (%2, %3)").arg(mods.toInt()).arg(at.x()).arg(at.y());
    }

    QString release()
    {
        // Usually a held button; sometimes one that was never pressed.
        Qt::MouseButton which = button();
        if (held != Qt::NoButton && chance(80)) {
            for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton})
                if (held & b)
                    which = b;
        }
        held &= ~Qt::MouseButtons(which);
        const QPointF at = position();
        send(QEvent::MouseButtonRelease, at, which, modifiers());
        return QString("release %1 at (%2, %3)").arg(which).arg(at.x()).arg(at.y());
    }

    QString chooseScheme()
    {
        const int index = pick(0, 4);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        return QString("scheme %1").arg(index);
    }

    QString slide(QSlider *slider, const char *name)
    {
        const int roll = pick(0, 9);
        const int value = roll == 0 ? slider->minimum() : roll == 1 ? slider->maximum() : pick(slider->minimum(), slider->maximum());
        slider->setValue(value);
        return QString("%1 slider %2").arg(name).arg(value);
    }

    QString setLevel()
    {
        // The top of the range only while it cannot make a closed scheme
        // refine to the point budget on every following action; the budget
        // itself is exercised by its own tests.
        const bool harmless = view->currentCurve <= 1;
        const int value = harmless && chance(30) ? levelBox->maximum() : pick(0, 6);
        levelBox->setValue(value);
        return QString("level %1").arg(value);
    }

    QString toggle(QCheckBox *box)
    {
        box->click();
        return QString("toggle %1").arg(box->objectName());
    }

    QString deleteAll()
    {
        deleteButton->click();
        return "delete control points";
    }

    // Ctrl + wheel (now and then far enough to reach a limit), the plain or
    // Shift wheel, a key, or "Reset View".
    QString changeView()
    {
        const int kind = pick(0, 5);
        if (kind == 5) {
            // Far out and to a corner, by many notches of the wheel: where
            // presses and drags reach the farthest points any view shows.
            const QPointF at = position();
            const auto wheel = [&](QPoint angle, Qt::KeyboardModifiers mods) {
                QWheelEvent event(at, view->mapToGlobal(at), {}, angle, held, mods, Qt::NoScrollPhase, false);
                QApplication::sendEvent(view, &event);
            };
            const int dx = pick(0, 1) * 2 - 1, dy = pick(0, 1) * 2 - 1;
            wheel(QPoint(0, -40 * 120), Qt::ControlModifier);
            wheel(QPoint(0, dx * 40 * 120), Qt::ShiftModifier);
            wheel(QPoint(0, dy * 40 * 120), Qt::NoModifier);
            return QString("far out to corner (%1, %2)").arg(dx).arg(dy);
        }
        if (kind == 4) {
            resetViewButton->click();
            return "reset view";
        }
        if (kind == 3) {
            static const Qt::Key keys[] = {Qt::Key_Plus, Qt::Key_Equal, Qt::Key_Minus, Qt::Key_Left,
                                           Qt::Key_Right, Qt::Key_Up,   Qt::Key_Down};
            const Qt::Key key = keys[pick(0, 6)];
            QTest::keyClick(view, key);
            return QString("key %1").arg(key);
        }
        const bool zoom = kind < 2;
        const int angle = zoom && chance(10) ? pick(-1, 1) * 40 * 120 : pick(-9, 9) * 40;
        const Qt::KeyboardModifiers mods = zoom ? Qt::ControlModifier : chance(50) ? Qt::ShiftModifier : Qt::NoModifier;
        const QPoint pixels = !zoom && chance(30) ? QPoint(pick(-50, 50), pick(-50, 50)) : QPoint();
        const QPointF at = position();
        QWheelEvent event(at, view->mapToGlobal(at), pixels, QPoint(0, angle), held, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
        return QString("wheel %1 mods %2 pixels (%3, %4) at (%5, %6)")
            .arg(angle)
            .arg(mods.toInt())
            .arg(pixels.x())
            .arg(pixels.y())
            .arg(at.x())
            .arg(at.y());
    }

    QString exportPicture()
    {
        static const char *names[] = {"picture.eps", "picture", "missing/folder/picture.eps", ""};
        const char *name = names[pick(0, 3)];
        exportName = *name ? folder + "/" + name : QString();
        const QMessageBox::StandardButton answer = chance(50) ? QMessageBox::Yes : QMessageBox::No;
        answerModalBox([this] { view->exportPS(); }, answer);
        return QString("export to '%1' answering %2").arg(exportName).arg(answer == QMessageBox::Yes ? "Yes" : "No");
    }

    std::mt19937 random;
    QString folder;
    QString exportName;
    GLMainWindow window;
    GLBox *view = nullptr;
    QComboBox *combo = nullptr;
    QCheckBox *closedBox = nullptr, *pointsBox = nullptr, *depthBox = nullptr, *axisBox = nullptr;
    QSlider *uSlider = nullptr, *precisionSlider = nullptr, *gridSlider = nullptr;
    QSpinBox *levelBox = nullptr;
    QPushButton *deleteButton = nullptr, *resetViewButton = nullptr;
    QList<QLabel *> labels;
    QList<QCheckBox *> studyBoxes;
    QLabel *distance = nullptr;
    Qt::MouseButtons held = Qt::NoButton;
};

} // namespace

class RandomSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void session_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : seedsFromEnvironment())
            QTest::newRow(qPrintable(QString("seed %1").arg(seed))) << seed;
    }

    void session()
    {
        QFETCH(quint32, seed);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        Session user(seed, folder.path());
        QVERIFY2(user.ready(), "the window lacks a widget the session drives");
        const int actions = actionsFromEnvironment();
        std::deque<QString> recent;
        for (int i = 1; i <= actions; ++i) {
            recent.push_back(user.act());
            if (recent.size() > 12)
                recent.pop_front();
            QString problem = user.check();
            if (problem.isEmpty() && i % 20 == 0)
                problem = user.saveAndReopen();
            if (!problem.isEmpty()) {
                QString log;
                for (const QString &a : recent)
                    log += "\n  " + a;
                QFAIL(qPrintable(QString("seed %1, action %2: %3\nlast actions:%4\nreplay: ORNELLE_SESSION_SEEDS=%1")
                                     .arg(seed)
                                     .arg(i)
                                     .arg(problem, log)));
            }
        }
        qInfo("seed %u: %d actions, status \"%s\"", seed, actions,
              qPrintable(user.mainWindow().statusBar()->currentMessage()));
    }
};

QTEST_MAIN(RandomSessionTest)
#include "RandomSessionTest.moc"
