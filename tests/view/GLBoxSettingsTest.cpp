#include "ShownView.h"

#include "curves/Schemes.h"
#include "geometry/ControlPoints.h"

#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include <memory>

// The view's setting slots in a fresh real window each time: what each
// stores and shows, which curve it touches, and what every repaint reports.
class GLBoxSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { window.reset(); }

    void slotStoresAndShows_data();
    void slotStoresAndShows();
    void withoutSchemeNothingHappens();
    void settingsKeptPerScheme();
    void setAreaOnEveryRepaint_data();
    void setAreaOnEveryRepaint();
    void levelLimitedMessage();

private:
    QString message() const { return window->statusBar()->currentMessage(); }

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

const QList<QPointF> unitSquare{{0, 0}, {1, 0}, {1, 1}, {0, 1}}; // counter-clockwise

// Every setting a slot can write, as one number (flags as 0 or 1).
double settingOf(GLBox *glbox, const QByteArray &slot)
{
    const Curve *curve = curveAt(glbox, glbox->currentCurve ? glbox->currentCurve : 1);
    return slot == "setU"                 ? curve->u()
           : slot == "setPrecision"       ? curve->precision
           : slot == "setLevel"           ? curve->level
           : slot == "setGridSpace"       ? glbox->gridSpace
           : slot == "setOpenCloseCurve"  ? glbox->controlPoints->closed
           : slot == "setDrawAxis"        ? glbox->drawAxis
           : slot == "setDrawCurvePoints" ? curve->curvePoints
                                          : curve->depthColour;
}

QList<double> schemeSettings(GLBox *glbox)
{
    QList<double> all;
    for (int i = 1; i <= 4; ++i) {
        const Curve *c = curveAt(glbox, i);
        all << c->u() << c->precision << c->level << c->curvePoints << c->depthColour;
    }
    return all;
}

} // namespace

void GLBoxSettingsTest::init()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
}

void GLBoxSettingsTest::slotStoresAndShows_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<int>("argument");
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("dirty");

    // The exact ends of u and the precision are nudged; nothing else is
    // clamped. Check boxes: 2 on, 0 off, 1 keeps the setting.
    QTest::newRow("u 0") << 2 << QByteArray("setU") << 0 << 0.01 << "u = 0.01" << true;
    QTest::newRow("u 100") << 1 << QByteArray("setU") << 100 << 0.99 << "u = 0.99" << true;
    QTest::newRow("u 50") << 4 << QByteArray("setU") << 50 << 0.5 << "u = 0.50" << true;
    QTest::newRow("u -100") << 3 << QByteArray("setU") << -100 << -1.0 << "u = -1.00" << true;
    QTest::newRow("precision 0") << 1 << QByteArray("setPrecision") << 0 << 0.05 << "Precision = 0.05" << true;
    QTest::newRow("precision 3") << 1 << QByteArray("setPrecision") << 3 << 3 * 0.1 << "Precision = 0.30" << true;
    QTest::newRow("level -1") << 2 << QByteArray("setLevel") << -1 << 0.0 << "Level = 0" << true;
    QTest::newRow("grid 0") << 0 << QByteArray("setGridSpace") << 0 << 0.0 << "Grid is off." << false;
    QTest::newRow("grid 4") << 2 << QByteArray("setGridSpace") << 4 << 4.0 << "Set grid spacing to 4." << false;
    QTest::newRow("closed undecided") << 0 << QByteArray("setOpenCloseCurve") << 1 << 0.0 << "" << true;
    QTest::newRow("closed on") << 0 << QByteArray("setOpenCloseCurve") << 2 << 1.0 << "" << true;
    QTest::newRow("axis off") << 0 << QByteArray("setDrawAxis") << 0 << 0.0 << "" << false;
    QTest::newRow("curve points on") << 3 << QByteArray("setDrawCurvePoints") << 2 << 1.0 << "" << false;
    QTest::newRow("depth undecided") << 1 << QByteArray("setDrawDepthColour") << 1 << 0.0 << "" << false;
}

void GLBoxSettingsTest::slotStoresAndShows()
{
    QFETCH(int, scheme);
    QFETCH(QByteArray, slot);
    QFETCH(int, argument);
    QFETCH(double, stored);
    QFETCH(QString, text);
    QFETCH(bool, dirty);

    glbox->setCurrentCurve(scheme);
    glbox->controlPoints->dirty = false;
    window->statusBar()->clearMessage();
    const double otherU = curveAt(glbox, scheme == 4 ? 1 : 4)->u();

    QVERIFY(QMetaObject::invokeMethod(glbox, slot.constData(), Q_ARG(int, argument)));

    QCOMPARE(settingOf(glbox, slot), stored);
    QCOMPARE(message(), text);
    QCOMPARE(glbox->controlPoints->dirty, dirty);
    QCOMPARE(curveAt(glbox, scheme == 4 ? 1 : 4)->u(), otherU);
}

void GLBoxSettingsTest::withoutSchemeNothingHappens()
{
    QSignalSpy frames(glbox, &QOpenGLWidget::frameSwapped);
    setPolygon(glbox, unitSquare, true);
    QVERIFY(frames.wait(2000));
    frames.clear();
    const QList<double> before = schemeSettings(glbox);
    glbox->controlPoints->dirty = false;
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
    QCOMPARE(schemeSettings(glbox), before);
    // A repaint draws no curve and reports no areas.
    glbox->update();
    QVERIFY(frames.wait(2000));
    QCOMPARE(areas.count(), 0);
}

void GLBoxSettingsTest::settingsKeptPerScheme()
{
    glbox->setCurrentCurve(1);
    glbox->setU(30);
    glbox->setPrecision(7);
    glbox->setDrawCurvePoints(2);

    // The panel moves the u slider from Bezier's 30 to Chaikin's 75 and
    // the view reports it, but the selection is what stays shown.
    QSignalSpy shown(window->statusBar(), &QStatusBar::messageChanged);
    glbox->setCurrentCurve(2);
    QVERIFY(shown.contains(QVariantList{QString("u = 0.75")}));
    QCOMPARE(message(), QString("Chaikin curve selected"));
    glbox->setU(20);
    glbox->setLevel(3);
    glbox->setCurrentCurve(1);

    // Stored exactly as the slots compute them from the panel's integers.
    QCOMPARE(schemeSettings(glbox), QList<double>({30 * 0.01, 7 * 0.1, 0, 1, 0, 20 * 0.01, 0.2, 3, 0, 0,
                                                   0.5, 0.2, 0, 0, 0, 0.5, 0.2, 0, 0, 0}));
    // Numbers the selector never sends leave the selection alone.
    QSignalSpy reloads(glbox, &GLBox::setWidgetValues);
    glbox->setCurrentCurve(Schemes::count + 1);
    glbox->setCurrentCurve(-1);
    QCOMPARE(glbox->currentCurve, 1);
    QCOMPARE(reloads.count(), 0);
    QCOMPARE(message(), QString("Bezier curve selected"));
}

void GLBoxSettingsTest::setAreaOnEveryRepaint_data()
{
    QTest::addColumn<QList<QPointF>>("polygon");
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("delta");

    // Counter-clockwise: the area is negative and so are the four corners
    // of 1/32 that one pass cuts off. With two points no curve is drawn,
    // and the difference left from an earlier curve is not reported.
    QTest::newRow("one pass") << unitSquare << -1.0 << -0.125;
    QTest::newRow("two points") << QList<QPointF>{{0, 0}, {3, 1}} << 0.0 << 0.0;
}

void GLBoxSettingsTest::setAreaOnEveryRepaint()
{
    QFETCH(QList<QPointF>, polygon);
    QFETCH(double, area);
    QFETCH(double, delta);

    curveAt(glbox, 2)->level = 1;
    curveAt(glbox, 2)->deltaArea = 0.7;
    setPolygon(glbox, polygon, true);
    QSignalSpy areas(glbox, &GLBox::setArea);
    glbox->setCurrentCurve(2);
    QVERIFY(areas.wait(2000));
    glbox->update(); // nothing changed: the same report again
    QVERIFY(areas.wait(2000));

    QVERIFY(areas.count() >= 2); // a slow machine may see extra exposes
    for (const QList<QVariant> &arguments : areas)
        QCOMPARE(arguments, QVariantList({area, delta}));
}

void GLBoxSettingsTest::levelLimitedMessage()
{
    // 4 * 2^20 points fit the point budget, 4 * 2^21 do not.
    setPolygon(glbox, unitSquare, true);
    glbox->setCurrentCurve(2);
    auto *levelBox = window->findChild<QSpinBox *>("level");
    QSignalSpy areas(glbox, &GLBox::setArea);

    levelBox->setValue(30);
    QCOMPARE(message(), QString("Level = 30"));
    QVERIFY(areas.wait(120000));
    QCOMPARE(message(), QString("Level 30 limited to 20 (4194304 points)"));
    QCOMPARE(levelBox->value(), 30);

    // The same limit again does not cover the message of the change that
    // led to it (which may time out while the paint runs).
    QSignalSpy shown(window->statusBar(), &QStatusBar::messageChanged);
    glbox->setU(60);
    QVERIFY(areas.wait(120000));
    QVERIFY(curveAt(glbox, 2)->limited);
    QCOMPARE(shown.first().first().toString(), QString("u = 0.60"));
    for (const QList<QVariant> &text : shown)
        QVERIFY(!text.first().toString().startsWith("Level"));

    // Levels down to the one reached give the same capped result: it is
    // kept (a subdivision would overwrite the marked point) and the message
    // still tells where the subdivision stopped. Below it, a new one runs.
    Curve *chaikin = curveAt(glbox, 2);
    chaikin->result->head->item->level = -1;
    levelBox->setValue(29);
    QCOMPARE(message(), QString("Level 29 limited to 20 (4194304 points)"));
    levelBox->setValue(20);
    QCOMPARE(message(), QString("Level = 20"));
    QVERIFY(areas.wait(2000));
    QVERIFY(!chaikin->limited);
    QCOMPARE(chaikin->result->head->item->level, -1);
    levelBox->setValue(19);
    QVERIFY(areas.wait(120000));
    QCOMPARE(chaikin->result->count, 4u << 19);
    QCOMPARE(chaikin->result->head->item->level, 0);
}

QTEST_MAIN(GLBoxSettingsTest)
#include "GLBoxSettingsTest.moc"
