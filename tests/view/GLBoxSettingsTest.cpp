#include "ShownView.h"

#include "geometry/ControlPoints.h"

#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include <memory>

// The view's setting slots on the real window: what each stores and shows,
// which curve it touches, and what every repaint reports.
class GLBoxSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void valueSlots_data();
    void valueSlots();
    void checkStateSlots_data();
    void checkStateSlots();
    void withoutSchemeNothingHappens();
    void settingsKeptPerScheme();
    void setAreaOnEveryRepaint_data();
    void setAreaOnEveryRepaint();
    void deleteControlPointsDropsEveryResult();
    void levelLimitedMessage();

private:
    QString message() const { return window->statusBar()->currentMessage(); }
    // Waits for the next repaint of the view with a scheme selected.
    bool nextPaint(QSignalSpy &areas, int timeout = 5000);

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

const QList<QPointF> unitSquare{{0, 0}, {1, 0}, {1, 1}, {0, 1}}; // counter-clockwise

struct Settings
{
    double u, precision;
    int level;
    bool curvePoints, depthColour;
    bool operator==(const Settings &) const = default;
};

Settings settingsOf(const Curve *curve)
{
    return {curve->u(), curve->precision, curve->level, curve->curvePoints, curve->depthColour};
}

} // namespace

void GLBoxSettingsTest::initTestCase()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
}

void GLBoxSettingsTest::cleanupTestCase()
{
    window.reset();
}

void GLBoxSettingsTest::init()
{
    glbox->setCurrentCurve(0);
    setPolygon(glbox, {}, false);
    glbox->drawAxis = true;
    // Every test starts from the schemes' own starting settings.
    const double startU[] = {0.5, 0.75, 0.5, 0.5};
    for (int i = 1; i <= 4; ++i) {
        Curve *curve = curveAt(glbox, i);
        curve->setU(startU[i - 1]);
        curve->precision = 0.2;
        curve->level = 0;
        curve->curvePoints = curve->depthColour = false;
        curve->deltaArea = 0.0;
    }
    QTest::qWait(20);
    window->statusBar()->clearMessage();
}

bool GLBoxSettingsTest::nextPaint(QSignalSpy &areas, int timeout)
{
    const auto before = areas.count();
    return areas.wait(timeout) && areas.count() > before;
}

void GLBoxSettingsTest::valueSlots_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<int>("argument");
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("text");

    // u and precision: the exact ends are nudged, nothing else is clamped.
    QTest::newRow("u 0") << 2 << QByteArray("setU") << 0 << 0.01 << "u = 0.01";
    QTest::newRow("u 100") << 1 << QByteArray("setU") << 100 << 0.99 << "u = 0.99";
    QTest::newRow("u 50") << 4 << QByteArray("setU") << 50 << 0.5 << "u = 0.50";
    QTest::newRow("u -100") << 3 << QByteArray("setU") << -100 << -1.0 << "u = -1.00";
    QTest::newRow("precision 0") << 1 << QByteArray("setPrecision") << 0 << 0.05 << "Precision = 0.05";
    QTest::newRow("precision 3") << 1 << QByteArray("setPrecision") << 3 << 3 * 0.1 << "Precision = 0.30";
    QTest::newRow("level -1") << 2 << QByteArray("setLevel") << -1 << 0.0 << "Level = 0";
    QTest::newRow("level 7") << 3 << QByteArray("setLevel") << 7 << 7.0 << "Level = 7";
    QTest::newRow("grid 0") << 0 << QByteArray("setGridSpace") << 0 << 0.0 << "Grid is off.";
    QTest::newRow("grid -3") << 0 << QByteArray("setGridSpace") << -3 << -3.0 << "Grid is off.";
    QTest::newRow("grid 4") << 2 << QByteArray("setGridSpace") << 4 << 4.0 << "Set grid spacing to 4.";
}

void GLBoxSettingsTest::valueSlots()
{
    QFETCH(int, scheme);
    QFETCH(QByteArray, slot);
    QFETCH(int, argument);
    QFETCH(double, stored);
    QFETCH(QString, text);

    glbox->setCurrentCurve(scheme);
    glbox->controlPoints->dirty = false;
    const double otherU = curveAt(glbox, scheme == 4 ? 1 : 4)->u();

    QVERIFY(QMetaObject::invokeMethod(glbox, slot.constData(), Q_ARG(int, argument)));

    QCOMPARE(message(), text);
    if (slot == "setGridSpace") {
        QCOMPARE(glbox->gridSpace, int(stored));
        QVERIFY(!glbox->controlPoints->dirty); // the curve stays as it is
        glbox->setGridSpace(2);
        return;
    }
    const Curve *curve = curveAt(glbox, scheme);
    const double actual = slot == "setU" ? curve->u() : slot == "setPrecision" ? curve->precision : curve->level;
    QCOMPARE(actual, stored);
    QVERIFY(glbox->controlPoints->dirty);
    QCOMPARE(curveAt(glbox, scheme == 4 ? 1 : 4)->u(), otherU);
}

void GLBoxSettingsTest::checkStateSlots_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<bool>("before");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("after");

    for (const char *slot : {"setOpenCloseCurve", "setDrawAxis", "setDrawCurvePoints", "setDrawDepthColour"}) {
        QTest::addRow("%s on", slot) << QByteArray(slot) << false << 2 << true;
        QTest::addRow("%s off", slot) << QByteArray(slot) << true << 0 << false;
        QTest::addRow("%s undecided keeps on", slot) << QByteArray(slot) << true << 1 << true;
        QTest::addRow("%s undecided keeps off", slot) << QByteArray(slot) << false << 1 << false;
    }
}

void GLBoxSettingsTest::checkStateSlots()
{
    QFETCH(QByteArray, slot);
    QFETCH(bool, before);
    QFETCH(int, state);
    QFETCH(bool, after);

    glbox->setCurrentCurve(1);
    Curve *bezier = curveAt(glbox, 1);
    bool &flag = slot == "setOpenCloseCurve" ? glbox->controlPoints->closed
                 : slot == "setDrawAxis"     ? glbox->drawAxis
                 : slot == "setDrawCurvePoints" ? bezier->curvePoints
                                                : bezier->depthColour;
    flag = before;
    glbox->controlPoints->dirty = false;
    window->statusBar()->clearMessage();

    QVERIFY(QMetaObject::invokeMethod(glbox, slot.constData(), Q_ARG(int, state)));

    QCOMPARE(flag, after);
    QCOMPARE(message(), QString());
    // Only the closed switch changes the curve's shape, whatever the state.
    QCOMPARE(glbox->controlPoints->dirty, slot == "setOpenCloseCurve");
}

void GLBoxSettingsTest::withoutSchemeNothingHappens()
{
    setPolygon(glbox, unitSquare, true);
    QTest::qWait(30);
    std::vector<Settings> before;
    for (int i = 1; i <= 4; ++i)
        before.push_back(settingsOf(curveAt(glbox, i)));
    glbox->controlPoints->dirty = false;
    QSignalSpy frames(glbox, &QOpenGLWidget::frameSwapped);
    QSignalSpy areas(glbox, &GLBox::setArea);

    glbox->setU(30);
    glbox->setPrecision(7);
    glbox->setLevel(4);
    glbox->setDrawCurvePoints(2);
    glbox->setDrawDepthColour(2);
    QTest::qWait(100);

    QCOMPARE(message(), QString());
    QVERIFY(!glbox->controlPoints->dirty);
    QCOMPARE(frames.count(), 0);
    for (int i = 1; i <= 4; ++i)
        QVERIFY(settingsOf(curveAt(glbox, i)) == before[std::size_t(i - 1)]);

    // A repaint with no scheme draws and reports nothing of a curve.
    glbox->update();
    QVERIFY(frames.wait(2000));
    QCOMPARE(areas.count(), 0);
    QCOMPARE(curveAt(glbox, 2)->result, nullptr);
}

void GLBoxSettingsTest::settingsKeptPerScheme()
{
    glbox->setCurrentCurve(1);
    glbox->setU(30);
    glbox->setPrecision(7);
    glbox->setDrawCurvePoints(2);

    // The panel moves the u slider from Bezier's 50 to Chaikin's 75, and
    // the view reports that, but the selection is what stays shown.
    QSignalSpy shown(window->statusBar(), &QStatusBar::messageChanged);
    glbox->setCurrentCurve(2);
    QVERIFY(shown.contains(QVariantList{QString("u = 0.75")}));
    QCOMPARE(message(), QString("Chaikin curve selected"));
    glbox->setU(20);
    glbox->setLevel(3);

    glbox->setCurrentCurve(1);
    QCOMPARE(message(), QString("Bezier curve selected"));
    // Stored exactly as the slots compute them from the panel's integers.
    QVERIFY((settingsOf(curveAt(glbox, 1)) == Settings{30 * 0.01, 7 * 0.1, 0, true, false}));
    QVERIFY((settingsOf(curveAt(glbox, 2)) == Settings{20 * 0.01, 0.2, 3, false, false}));
    QVERIFY((settingsOf(curveAt(glbox, 3)) == Settings{0.5, 0.2, 0, false, false}));
    QVERIFY((settingsOf(curveAt(glbox, 4)) == Settings{0.5, 0.2, 0, false, false}));

    // Numbers the selector never sends leave the selection alone.
    QSignalSpy reloads(glbox, &GLBox::setWidgetValues);
    glbox->setCurrentCurve(5);
    glbox->setCurrentCurve(-1);
    QCOMPARE(glbox->currentCurve, 1);
    QCOMPARE(reloads.count(), 0);
    QCOMPARE(message(), QString("Bezier curve selected"));
}

void GLBoxSettingsTest::setAreaOnEveryRepaint_data()
{
    QTest::addColumn<QList<QPointF>>("polygon");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("scheme");
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("delta");

    // Counter-clockwise: the polygon's area is negative, and so is what
    // one pass cuts off (four corners of 1/32, four vertex triangles of 1/16).
    QTest::newRow("Chaikin, one pass") << unitSquare << true << 2 << -1.0 << -0.125;
    QTest::newRow("B-spline, one pass") << unitSquare << true << 3 << -1.0 << -0.25;
    // Nothing is subdivided: the difference left from before is reported.
    QTest::newRow("two points") << QList<QPointF>{{0, 0}, {3, 1}} << true << 2 << 0.0 << 0.7;
    QTest::newRow("open polygon") << unitSquare << false << 3 << 0.0 << 0.7;
}

void GLBoxSettingsTest::setAreaOnEveryRepaint()
{
    QFETCH(QList<QPointF>, polygon);
    QFETCH(bool, closed);
    QFETCH(int, scheme);
    QFETCH(double, area);
    QFETCH(double, delta);

    Curve *curve = curveAt(glbox, scheme);
    curve->level = 1;
    curve->deltaArea = 0.7;
    setPolygon(glbox, polygon, closed);
    QSignalSpy areas(glbox, &GLBox::setArea);
    glbox->setCurrentCurve(scheme);
    QVERIFY(nextPaint(areas));

    // A repaint where nothing changed reports the same values again.
    glbox->update();
    QVERIFY(nextPaint(areas));
    for (const QList<QVariant> &arguments : areas) {
        QCOMPARE(arguments.at(0).toDouble(), area);
        QCOMPARE(arguments.at(1).toDouble(), delta);
    }
}

void GLBoxSettingsTest::deleteControlPointsDropsEveryResult()
{
    setPolygon(glbox, unitSquare, true);
    QSignalSpy areas(glbox, &GLBox::setArea);
    glbox->setCurrentCurve(1);
    QVERIFY(nextPaint(areas));
    glbox->setCurrentCurve(3);
    QVERIFY(nextPaint(areas));
    QVERIFY(curveAt(glbox, 1)->result && curveAt(glbox, 3)->result);
    glbox->controlPoints->dirty = false;

    glbox->deleteControlPoints();

    QCOMPARE(message(), QString("Cubic B-Spline curve selected")); // no message of its own
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(curveAt(glbox, i)->result, nullptr);
    QCOMPARE(glbox->controlPoints->points.count, 0u);
    QVERIFY(glbox->controlPoints->dirty);
    QVERIFY(glbox->controlPoints->closed);
    QVERIFY(nextPaint(areas));
    QCOMPARE(areas.last().at(0).toDouble(), 0.0);
}

void GLBoxSettingsTest::levelLimitedMessage()
{
    // 4 * 2^22 points fit the point budget, 4 * 2^23 do not.
    setPolygon(glbox, unitSquare, true);
    glbox->setCurrentCurve(2);
    auto *levelBox = window->findChild<QSpinBox *>("level");
    QSignalSpy areas(glbox, &GLBox::setArea);

    levelBox->setValue(30);
    QCOMPARE(message(), QString("Level = 30"));
    QVERIFY(nextPaint(areas, 120000));

    QCOMPARE(message(), QString("Level 30 limited to 22 (16777216 points)"));
    QCOMPARE(curveAt(glbox, 2)->level, 30);
    QCOMPARE(levelBox->value(), 30);

    // The same limit again does not cover the message of the change that
    // led to it (which may time out while the paint runs).
    QSignalSpy shown(window->statusBar(), &QStatusBar::messageChanged);
    glbox->setU(60);
    QVERIFY(nextPaint(areas, 120000));
    QCOMPARE(curveAt(glbox, 2)->reachedLevel, 22);
    QVERIFY(curveAt(glbox, 2)->limited);
    QCOMPARE(shown.first().first().toString(), QString("u = 0.60"));
    for (const QList<QVariant> &text : shown)
        QVERIFY(!text.first().toString().startsWith("Level"));

    levelBox->setValue(0);
    glbox->deleteControlPoints();
}

QTEST_MAIN(GLBoxSettingsTest)
#include "GLBoxSettingsTest.moc"
