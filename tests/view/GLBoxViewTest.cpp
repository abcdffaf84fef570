#include "ShownView.h"

#include "geometry/ControlPoints.h"
#include "support/Feedback.h"

#include <QImage>
#include <QtTest>

#include <GL/gl.h>

#include <memory>

// The frame of the view: grid and axes as issued to OpenGL, the square
// geometry after resizes, and the mapping of mouse positions to world
// coordinates, also on a screen with a device pixel ratio other than 1.
class GLBoxViewTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void gridLines_data();
    void gridLines();
    void axes_data();
    void axes();
    void viewStaysSquare_data();
    void viewStaysSquare();
    void mapToWorld_data();
    void mapToWorld();
    void paintFillsDeviceFramebuffer();

private:
    std::vector<FeedbackItem> capture(const std::function<void()> &draw);

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

struct Segment
{
    double x1, y1, x2, y2;
};

Segment segmentOf(const FeedbackItem &item)
{
    return {item.vertices[0].x, item.vertices[0].y, item.vertices[1].x, item.vertices[1].y};
}

bool same(const Segment &s, double x1, double y1, double x2, double y2)
{
    return near(s.x1, x1) && near(s.y1, y1) && near(s.x2, x2) && near(s.y2, y2);
}

} // namespace

void GLBoxViewTest::initTestCase()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
    if (!scale.isEmpty())
        QCOMPARE(glbox->devicePixelRatioF(), scale.toDouble());
}

void GLBoxViewTest::cleanupTestCase()
{
    window.reset();
}

void GLBoxViewTest::init()
{
    glbox->gridSpace = 2;
    glbox->drawAxis = true;
    glbox->controlPoints->clear();
}

std::vector<FeedbackItem> GLBoxViewTest::capture(const std::function<void()> &draw)
{
    glbox->makeCurrent();
    auto items = captureFeedback(draw);
    glbox->doneCurrent();
    return items;
}

void GLBoxViewTest::gridLines_data()
{
    QTest::addColumn<int>("gridSpace");
    QTest::addColumn<QList<int>>("verticalX");
    QTest::addColumn<QList<int>>("horizontalY");

    QTest::newRow("every 2") << 2 << QList<int>{-10, -8, -6, -4, -2, 0, 2, 4, 6, 8, 10}
                             << QList<int>{10, 8, 6, 4, 2, 0, -2, -4, -6, -8, -10};
    QTest::newRow("every 3") << 3 << QList<int>{-10, -7, -4, -1, 2, 5, 8}
                             << QList<int>{10, 7, 4, 1, -2, -5, -8};
    QTest::newRow("wider than the world") << 25 << QList<int>{-10} << QList<int>{10};
    QTest::newRow("off") << 0 << QList<int>{} << QList<int>{};
    QTest::newRow("negative") << -3 << QList<int>{} << QList<int>{};
}

void GLBoxViewTest::gridLines()
{
    QFETCH(int, gridSpace);
    QFETCH(QList<int>, verticalX);
    QFETCH(QList<int>, horizontalY);

    glbox->gridSpace = gridSpace;
    const auto items = capture([this] { glbox->paintGrid(); });

    // The border loop: four segments.
    QCOMPARE(items.size(), std::size_t(4 + verticalX.size() + horizontalY.size()));
    QVERIFY(same(segmentOf(items[0]), -10, 9.99, -10, -10));
    QVERIFY(same(segmentOf(items[1]), -10, -10, 9.99, -10));
    QVERIFY(same(segmentOf(items[2]), 9.99, -10, 9.99, 9.99));
    QVERIFY(same(segmentOf(items[3]), 9.99, 9.99, -10, 9.99));

    // Then every grid line: verticals left to right, horizontals top to
    // bottom, all in grey.
    std::size_t i = 4;
    for (int x : verticalX) {
        QVERIFY2(same(segmentOf(items[i++]), x, 10, x, -10), qPrintable(QString::number(x)));
    }
    for (int y : horizontalY) {
        QVERIFY2(same(segmentOf(items[i++]), -10, y, 10, y), qPrintable(QString::number(y)));
    }
    for (const auto &item : items) {
        QCOMPARE(item.kind, FeedbackItem::Line);
        QCOMPARE(colourOf(item.vertices[0]), std::string("0.50,0.50,0.50"));
    }
}

void GLBoxViewTest::axes_data()
{
    QTest::addColumn<bool>("drawAxis");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

void GLBoxViewTest::axes()
{
    QFETCH(bool, drawAxis);

    glbox->drawAxis = drawAxis;
    float widthAfter = 0;
    const auto items = capture([&] {
        glLineWidth(3.0f);
        glbox->paintAxis();
        glGetFloatv(GL_LINE_WIDTH, &widthAfter);
    });

    if (!drawAxis) {
        QVERIFY(items.empty());
        QCOMPARE(widthAfter, 3.0f);
        return;
    }
    QCOMPARE(items.size(), std::size_t(2));
    QVERIFY(same(segmentOf(items[0]), -10, 0, 10, 0));
    QVERIFY(same(segmentOf(items[1]), 0, 10, 0, -10));
    QCOMPARE(colourOf(items[1].vertices[1]), std::string("0.50,0.50,0.50"));
    QCOMPARE(widthAfter, 1.0f);
}

void GLBoxViewTest::viewStaysSquare_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<int>("side");

    QTest::newRow("wide") << QSize(800, 600) << 600;
    QTest::newRow("tall") << QSize(650, 900) << 650;
    QTest::newRow("square") << QSize(700, 700) << 700;
}

void GLBoxViewTest::viewStaysSquare()
{
    QFETCH(QSize, requested);
    QFETCH(int, side);

    glbox->resize(requested);
    QCOMPARE(glbox->geometry(), QRect(10, 10, side, side));
    const int deviceSide = qRound(side * glbox->devicePixelRatioF());
    QCOMPARE(QRect(glbox->viewport[0], glbox->viewport[1], glbox->viewport[2], glbox->viewport[3]),
             QRect(0, 0, deviceSide, deviceSide));
}

void GLBoxViewTest::mapToWorld_data()
{
    QTest::addColumn<QPointF>("fraction"); // of the view's side
    QTest::addColumn<QPointF>("world");

    QTest::newRow("centre") << QPointF(0.5, 0.5) << QPointF(0, 0);
    QTest::newRow("top-left pixel") << QPointF(0, 0) << QPointF(-10, 10);
    QTest::newRow("bottom-right corner") << QPointF(1, 1) << QPointF(10, -10);
    QTest::newRow("lower-left quarter") << QPointF(0.25, 0.75) << QPointF(-5, -5);
    QTest::newRow("right of centre, up") << QPointF(0.6, 0.45) << QPointF(2, 1);
}

void GLBoxViewTest::mapToWorld()
{
    QFETCH(QPointF, fraction);
    QFETCH(QPointF, world);

    glbox->resize(600, 600);
    const Vector v = glbox->mapToWorld(QPointF(fraction.x() * 600, fraction.y() * 600));
    QVERIFY2(near(v.x(), world.x()) && near(v.y(), world.y()),
             qPrintable(QString("(%1, %2)").arg(v.x()).arg(v.y())));
    QCOMPARE(v.z(), 0.0);

    // An integer widget position takes the same road.
    const Vector w = glbox->mapToWorld(QPoint(300, 300));
    QVERIFY(near(w.x(), 0) && near(w.y(), 0));
}

void GLBoxViewTest::paintFillsDeviceFramebuffer()
{
    glbox->resize(600, 600);
    glbox->controlPoints->insertPoint(Vector(1, 1));
    const QImage image = glbox->grabFramebuffer();
    const int deviceSide = glbox->viewport[2];
    QCOMPARE(image.width(), deviceSide);
    QCOMPARE(image.height(), deviceSide);

    // World (x, y) in device pixels of the image, y down.
    auto pixel = [&](double x, double y) {
        return image.pixelColor(qRound((x + 10) / 20 * deviceSide), qRound((10 - y) / 20 * deviceSide));
    };
    // Background between grid lines, in every quarter: the drawing covers
    // the whole framebuffer, not one corner of it.
    for (const QPointF p : {QPointF(-9, 9), QPointF(9, 9), QPointF(-9, -9), QPointF(9, -9)})
        QCOMPARE(pixel(p.x(), p.y()), QColor(191, 191, 191));
    const QColor point = pixel(1, 1);
    QVERIFY2(point.red() > 200 && point.green() < 80 && point.blue() < 80, qPrintable(point.name()));
}

QTEST_MAIN(GLBoxViewTest)
#include "GLBoxViewTest.moc"
