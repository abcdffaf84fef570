#include "view/ShownView.h"

#include "geometry/ControlPoints.h"
#include "render/StudyLayers.h"
#include "view/ConvergencePlot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include <cmath>
#include <memory>

// What the window says about the selected curve beside its figures,
// through the real window's widgets: why nothing is drawn, that u
// diverges, one level in the level box, its label and the read-out, the
// legend's levels and u and the key of Depth Colour, the plot's axes and
// dots, the comb at a deep level, and a Bezier curve of too many control
// points cut short and told.
class GLMainWindowReadoutTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { window.reset(); }

    void hintSaysWhyNothingIsDrawn();
    void divergingWeightIsWarned();
    void oneLevelEverywhere();
    void legendGivesLevelsAndDepthKey();
    void plotKeepsItsDotsAndNamesItsAxes();
    void combThinsItsTeethAtAnyLevel();
    void largeBezierIsCutAndTold();

private:
    template <typename W>
    W *widget(const char *name) const
    {
        return window->findChild<W *>(name);
    }
    // Selects scheme with the keyboard, as a user does.
    void choose(int scheme);
    // The hint below the read-out and in the status bar, once the view
    // has updated (empty when hidden).
    QString hint() const;
    void tick(const char *box, bool on = true) { widget<QCheckBox>(box)->setChecked(on); }

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

const QList<QPointF> heptagon{{-6, -4}, {-7, 4}, {-1, 7}, {5, 5}, {7, -2}, {1, -6}, {-3, -7}};

} // namespace

void GLMainWindowReadoutTest::init()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
}

void GLMainWindowReadoutTest::choose(int scheme)
{
    auto *box = widget<QComboBox>("curveComboBox");
    box->setCurrentIndex(scheme == 0 ? 1 : scheme - 1);
    QTest::keyClick(box, scheme == 0 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(glbox->currentCurve, scheme);
}

QString GLMainWindowReadoutTest::hint() const
{
    glbox->grabFramebuffer();
    QCoreApplication::processEvents();
    const QLabel *below = widget<QLabel>("curveHintLabel");
    const QString status = widget<QLabel>("statusHintLabel")->text();
    if (below->text() != status || below->isVisibleTo(window.get()) == status.isEmpty())
        return "(the read-out and the status bar differ)";
    return status;
}

void GLMainWindowReadoutTest::hintSaysWhyNothingIsDrawn()
{
    // The program starts with an open polygon: the first thing a new user
    // meets.
    choose(2);
    QCOMPARE(hint(), QString("Chaikin refines closed polygons of 3 points or more: click to add points, and tick "
                             "Closed Curve"));
    for (const QPointF p : heptagon.mid(0, 3))
        QTest::mouseClick(glbox, Qt::LeftButton, {}, pixelAt(glbox, p.x(), p.y()).toPoint());
    QCOMPARE(hint(), QString("Chaikin refines closed polygons: tick Closed Curve"));
    QCOMPARE(widget<QLabel>("curveHintLabel")->text(), hint());
    auto *closed = widget<QCheckBox>("openCloseCurveCheckBox");
    QTest::mouseClick(closed, Qt::LeftButton, {}, QPoint(8, closed->height() / 2));
    QVERIFY(glbox->controlPoints->closed);
    QCOMPARE(hint(), QString());
    QVERIFY(!widget<QLabel>("curveHintLabel")->isVisible());

    // The Bezier curve draws open polygons; with two points it draws none.
    choose(1);
    QCOMPARE(hint(), QString());
    QTest::mouseClick(glbox, Qt::LeftButton, Qt::ControlModifier, pixelAt(glbox, -6, -4).toPoint());
    QCOMPARE(glbox->controlPoints->points.count, 2u);
    QCOMPARE(hint(), QString("Bezier needs 3 control points or more: click in the view to add them"));
    choose(0);
    QCOMPARE(hint(), QString());
}

void GLMainWindowReadoutTest::divergingWeightIsWarned()
{
    setPolygon(glbox, heptagon, true);
    choose(4);
    auto *u = widget<QSlider>("uparameter");
    u->setValue(-100);
    QCOMPARE(hint(), QString("Vantrell Proposed diverges at u = -1.00: its levels settle on no curve"));
    u->setValue(50);
    QCOMPARE(hint(), QString());
    choose(2);
    u->setValue(3);
    QCOMPARE(hint(), QString("Chaikin at u = 0.03: convergence not proven"));
    choose(1);
    u->setValue(-100);
    QCOMPARE(hint(), QString()); // the Bezier scheme has no mask to warn from
}

void GLMainWindowReadoutTest::oneLevelEverywhere()
{
    // Three schemes compared leave Chaikin a quarter of the point budget:
    // 7 x 2^17 points fit it, 7 x 2^18 do not.
    setPolygon(glbox, heptagon, true);
    choose(2);
    for (const char *box : {"compareBezierCheckBox", "compareBSplineCheckBox", "compareProposedCheckBox"})
        tick(box);
    tick("showLimitCheckBox");
    auto *level = widget<QSpinBox>("level");
    auto *reached = widget<QLabel>("levelReachedLabel");
    level->setValue(99);
    const QString words = "reached 17: a quarter of the point budget while comparing";
    QTRY_COMPARE(reached->text(), words);
    QVERIFY(window->statusBar()->currentMessage().startsWith("Level 99 limited to 17 ("));
    // The read-out measures some of those levels, of the level asked for,
    // in the same words.
    auto *distance = widget<QLabel>("distanceLabel");
    QTRY_VERIFY2(distance->text().contains(" of 99, " + words), qPrintable(distance->text()));
    // The label stays while it holds: a level that the result gives again
    // keeps it, one it reaches clears it.
    level->setValue(50);
    QTRY_COMPARE(reached->text(), words);
    QTest::qWait(2500); // longer than any status message
    QCOMPARE(reached->text(), words);
    level->setValue(5);
    QTRY_COMPARE(reached->text(), QString());
    QTRY_VERIFY2(distance->text().endsWith("level 5 of 5"), qPrintable(distance->text()));
}

void GLMainWindowReadoutTest::legendGivesLevelsAndDepthKey()
{
    setPolygon(glbox, heptagon, true);
    choose(2);
    widget<QSpinBox>("level")->setValue(3);
    tick("compareBSplineCheckBox");
    glbox->grabFramebuffer();
    QCOMPARE(glbox->legendLines(), QStringList({"Chaikin (level 3, u 0.75)", "Cubic B-Spline (level 0, u 0.50)"}));

    // The key of Depth Colour joins the picture in the view's corner while
    // the Bezier curve shows its depths, compared curves or not.
    tick("compareBSplineCheckBox", false);
    choose(1);
    glbox->grabFramebuffer();
    QVERIFY(glbox->legendLines().isEmpty());
    tick("depthColourCheckBox");
    glbox->grabFramebuffer();
    QCOMPARE(glbox->legendLines(), QStringList({"Depth Colour: split depth 0 (white) to 10 and deeper (black)"}));
    const QImage &key = glbox->studyLayers().legendImage();
    QVERIFY(!key.isNull());
    // The key's swatch (24 pixels after a margin of 5) runs from white to
    // black along its middle row.
    const double r = key.devicePixelRatio();
    const int y = key.height() / 2;
    QVERIFY(qGray(key.pixel(qRound(7 * r), y)) > 200);
    QVERIFY(qGray(key.pixel(qRound(27 * r), y)) < 60);
    tick("depthColourCheckBox", false);
    glbox->grabFramebuffer();
    QVERIFY(glbox->studyLayers().legendImage().isNull());
}

void GLMainWindowReadoutTest::plotKeepsItsDotsAndNamesItsAxes()
{
    setPolygon(glbox, heptagon, true);
    auto *plot = widget<ConvergencePlot>("convergencePlot");
    struct Case
    {
        int scheme, u, level;
        const char *levels, *distances;
    };
    for (const Case &c : {Case{2, 75, 6, "level", "distance to limit"}, Case{2, -30, 5, "level", "levels apart"},
                          Case{1, 50, 0, "split depth", "distance to limit"}}) {
        choose(c.scheme);
        widget<QSlider>("uparameter")->setValue(c.u);
        widget<QSpinBox>("level")->setValue(c.level);
        tick("showLimitCheckBox");
        QTRY_VERIFY(plot->isCurrent() && plot->plottedPoints().size() > 2);
        QCOMPARE(plot->levelTitle(), QString(c.levels));
        QCOMPARE(plot->distanceTitle(), QString(c.distances));
        // Every dot whole inside the frame, the first and last included.
        const QRectF inside = plot->plotArea().adjusted(ConvergencePlot::dotRadius, ConvergencePlot::dotRadius,
                                                        -ConvergencePlot::dotRadius, -ConvergencePlot::dotRadius);
        for (const auto &[level, at] : plot->plottedPoints())
            QVERIFY2(inside.contains(at), qPrintable(QString("level %1").arg(level)));
        tick("showLimitCheckBox", false);
    }
}

void GLMainWindowReadoutTest::combThinsItsTeethAtAnyLevel()
{
    // At the deepest level the comb keeps its teeth a few pixels apart
    // along the curve, however many points the curve has.
    setPolygon(glbox, heptagon, true);
    choose(2);
    tick("curvatureCheckBox");
    for (const char *box : {"compareBezierCheckBox", "compareBSplineCheckBox", "compareProposedCheckBox"})
        tick(box);
    widget<QSpinBox>("level")->setValue(99);
    glbox->grabFramebuffer();
    const Curve &curve = *curveAt(glbox, 2);
    QVERIFY(curve.result->count > 500000);
    double length = 0;
    for (const Node<Point> *n = curve.result->head; n->next; n = n->next)
        length += distance(n->item->position, n->next->item->position);
    const double pixels = length / glbox->worldPerDevicePixel();
    const std::size_t teeth = glbox->studyLayers().teeth();
    QVERIFY2(teeth > pixels / 10 && teeth <= pixels / 4.9 + 1, qPrintable(QString("%1 teeth along %2 pixels")
                                                                           .arg(teeth)
                                                                           .arg(pixels)));
}

void GLMainWindowReadoutTest::largeBezierIsCutAndTold()
{
    // 100,000 control points, the most a file holds, in a zig-zag whose
    // edges are far longer than the precision: the Bezier curve is not
    // split at all, and says why, at once.
    QList<QPointF> many;
    for (int i = 0; i < 100000; ++i)
        many << QPointF(-8 + 16.0 * i / 100000, i % 2 == 0 ? -5 : 5);
    setPolygon(glbox, many, false);
    choose(1);
    QTRY_COMPARE_WITH_TIMEOUT(widget<QLabel>("levelReachedLabel")->text(),
                              QString("depth 0: split work budget (100000 control points)"), 5000);
    QCOMPARE(curveAt(glbox, 1)->result->count, 100000u);
    QVERIFY(window->statusBar()->currentMessage().startsWith("Bezier curve cut at depth 0: split work budget"));
    QTest::mouseClick(glbox, Qt::LeftButton, {}, pixelAt(glbox, 0, 0).toPoint());
    glbox->grabFramebuffer();
    QCOMPARE(curveAt(glbox, 1)->result->count, 100001u);
}

QTEST_MAIN(GLMainWindowReadoutTest)
#include "GLMainWindowReadoutTest.moc"
