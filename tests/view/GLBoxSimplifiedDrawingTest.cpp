#include "PixelCounts.h"
#include "ShownView.h"

#include "geometry/ControlPoints.h"

#include <QImage>
#include <QtTest>

#include <cmath>
#include <cstdlib>
#include <memory>

// The curve as the view draws it on screen, simplified for the view's
// scale, against the full drawing of the same curve, pixel by pixel in the
// view's own framebuffer; and the curve's visibility as the level rises.
class GLBoxSimplifiedDrawingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { window.reset(); }

    void looksLikeTheFullDrawing_data();
    void looksLikeTheFullDrawing();
    void staysVisibleAtEveryLevel();

private:
    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

// n points on a circle of radius 8; with step 11 and an even n, a star
// whose refined curve crosses itself.
QList<QPointF> circle(int n, int step = 1)
{
    QList<QPointF> points;
    for (int i = 0; i < n; ++i) {
        const double angle = 2 * M_PI * i * step / n;
        points << QPointF(8 * std::cos(angle), 8 * std::sin(angle));
    }
    return points;
}

QList<QPointF> zigzag()
{
    QList<QPointF> points;
    for (int i = 0; i < 10; ++i)
        points << QPointF(-9 + 2 * i, i % 2 ? 7 : -7);
    return points;
}

} // namespace

void GLBoxSimplifiedDrawingTest::init()
{
    window = std::make_unique<GLMainWindow>();
    window->resize(1300, 950); // a view of about 840 pixels, as in the benchmark
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
}

void GLBoxSimplifiedDrawingTest::looksLikeTheFullDrawing_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QList<QPointF>>("polygon");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("dragged"); // the first point moved, its ghost left behind
    QTest::addColumn<bool>("extras");  // dots (closed schemes) or depth colour (Bezier)

    // The star stops at level 8 (segments of about 2 pixels): from level 9
    // on, this renderer already draws the full curve paler, the fading
    // that the simplified drawing avoids.
    QTest::newRow("smooth, dragged") << 2 << circle(10) << true << 7 << true << false;
    QTest::newRow("smooth with dots") << 3 << circle(7) << true << 6 << false << true;
    QTest::newRow("star 24 crossing itself") << 2 << circle(24, 11) << true << 8 << false << false;
    QTest::newRow("proposed star") << 4 << circle(24, 11) << true << 5 << false << false;
    QTest::newRow("Bezier depth colour") << 1 << zigzag() << false << 0 << false << true;
}

void GLBoxSimplifiedDrawingTest::looksLikeTheFullDrawing()
{
    QFETCH(int, scheme);
    QFETCH(QList<QPointF>, polygon);
    QFETCH(bool, closed);
    QFETCH(int, level);
    QFETCH(bool, dragged);
    QFETCH(bool, extras);

    setPolygon(glbox, polygon, closed);
    if (dragged) {
        Point &first = *glbox->controlPoints->points.head->item;
        first.hasGhost = true;
        first.ghost = first.position;
        first.position = first.position * 0.6;
    }
    glbox->setCurrentCurve(scheme);
    Curve *curve = curveAt(glbox, scheme);
    curve->level = level;
    curve->precision = 0.05;
    curve->curvePoints = extras && scheme != 1;
    curve->depthColour = extras && scheme == 1;
    glbox->controlPoints->dirty = true;

    const QImage simplified = glbox->grabFramebuffer();
    QVERIFY(glbox->screenFrame().tolerance > 0);
    glbox->renderer().simplify = false; // every vertex, as feedback mode issues them
    const QImage full = glbox->grabFramebuffer();
    glbox->renderer().simplify = true;

    QCOMPARE(simplified.size(), full.size());
    const double share = double(differingPixels(simplified, full)) / (full.width() * full.height());
    qInfo("%u points: %.4f%% of %dx%d pixels differ", unsigned(curve->result->count), 100 * share, full.width(),
          full.height());
    QVERIFY(curvePixels(full) > 1000); // the curve is there to compare
    QVERIFY2(share <= 0.001, qPrintable(QString::number(100 * share) + "% of the pixels differ"));
}

void GLBoxSimplifiedDrawingTest::staysVisibleAtEveryLevel()
{
    setPolygon(glbox, circle(6), true);
    glbox->setCurrentCurve(2);
    Curve *chaikin = curveAt(glbox, 2);
    qsizetype atLevel6 = 0;
    for (int level : {6, 12, 16, 20}) {
        chaikin->level = level;
        glbox->controlPoints->dirty = true;
        const qsizetype pixels = curvePixels(glbox->grabFramebuffer());
        qInfo("level %d (reached %d): %lld curve pixels", level, chaikin->reachedLevel, qlonglong(pixels));
        if (level == 6)
            atLevel6 = pixels;
        QVERIFY(atLevel6 > 1000);
        QVERIFY2(std::abs(pixels - atLevel6) <= atLevel6 / 10, qPrintable(QString("level %1").arg(level)));
    }
}

QTEST_MAIN(GLBoxSimplifiedDrawingTest)
#include "GLBoxSimplifiedDrawingTest.moc"
