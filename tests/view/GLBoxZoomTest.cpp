#include "PixelCounts.h"
#include "ShownView.h"

#include "geometry/ControlPoints.h"
#include "support/Feedback.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <memory>

// Zoom and pan of the view through the real window: wheel and key events,
// picking at several zooms, the limits, "Reset View", what is drawn and
// exported at a zoom, and the read-outs.
class GLBoxZoomTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void ctrlWheelKeepsPointUnderPointer_data();
    void ctrlWheelKeepsPointUnderPointer();
    void wheelPans_data();
    void wheelPans();
    void keysZoomAndPan_data();
    void keysZoomAndPan();
    void keysNeedTheFocus();
    void picksAtZooms_data();
    void picksAtZooms();
    void limits();
    void resetViewRestoresTheWorldSquare();
    void gridAndAxesFollowTheView_data();
    void gridAndAxesFollowTheView();
    void denseGridIsLeftOut();
    void readoutFollowsZoom_data();
    void readoutFollowsZoom();
    void exportHoldsTheZoomedPicture();
    void curveIsSimplifiedForTheZoom();

private:
    void wheel(QPointF pos, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QPoint pixels = {});
    // Ctrl + wheel by notches (fractions allowed) about world point (x, y).
    void zoomAbout(double x, double y, double notches);
    void mouse(QEvent::Type type, double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // Clicks the left button on the view, which gives it the focus; clears
    // the polygon after.
    void focusView();
    QString message() const { return window->statusBar()->currentMessage(); }
    std::vector<FeedbackItem> capture(GLBox *view);

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

bool sameSegment(const FeedbackItem &item, double x1, double y1, double x2, double y2)
{
    const auto &v = item.vertices;
    return item.kind == FeedbackItem::Line && v.size() == 2 && near(v[0].x, x1) && near(v[0].y, y1) &&
           near(v[1].x, x2) && near(v[1].y, y2);
}

// A tenth of a logical pixel of the view, in world units.
double tenthPixel(const GLBox *glbox)
{
    return 0.1 * glbox->viewTransform.side() / glbox->width();
}

// The page positions of the points (" P" records) of an EPS page.
QList<QPointF> pagePoints(const QByteArray &page)
{
    QList<QPointF> points;
    for (const QByteArray &line : page.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() == 4 && words[3] == "P")
            points << QPointF(words[0].toDouble(), words[1].toDouble());
    }
    return points;
}

} // namespace

void GLBoxZoomTest::initTestCase()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    QCOMPARE(glbox->width(), 600);
}

void GLBoxZoomTest::cleanupTestCase()
{
    window.reset();
}

void GLBoxZoomTest::init()
{
    glbox->resetView();
    glbox->controlPoints->clear();
    glbox->gridSpace = 2;
    glbox->drawAxis = true;
    glbox->setCurrentCurve(0);
    window->statusBar()->clearMessage();
}

void GLBoxZoomTest::wheel(QPointF pos, QPoint angle, Qt::KeyboardModifiers modifiers, QPoint pixels)
{
    QWheelEvent event(pos, glbox->mapToGlobal(pos), pixels, angle, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(glbox, &event);
}

void GLBoxZoomTest::zoomAbout(double x, double y, double notches)
{
    wheel(pixelAt(glbox, x, y), QPoint(0, qRound(notches * 120)), Qt::ControlModifier);
}

void GLBoxZoomTest::mouse(QEvent::Type type, double x, double y, Qt::MouseButton button,
                          Qt::KeyboardModifiers modifiers)
{
    const QPointF pos = pixelAt(glbox, x, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, glbox->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      modifiers);
    QApplication::sendEvent(glbox, &event);
}

void GLBoxZoomTest::focusView()
{
    // A click through the platform, as a user's: only such a click moves
    // the focus.
    window->findChild<QSpinBox *>("level")->setFocus();
    QTest::mouseClick(glbox, Qt::LeftButton, Qt::NoModifier, QPoint(glbox->width() / 2, glbox->height() / 2));
    QTRY_COMPARE(QApplication::focusWidget(), glbox);
    glbox->controlPoints->clear();
}

std::vector<FeedbackItem> GLBoxZoomTest::capture(GLBox *view)
{
    const ViewTransform &v = view->viewTransform;
    view->makeCurrent();
    auto items = captureFeedback(
        [view] {
            view->paintGrid();
            view->paintAxis();
        },
        v.left(), v.right(), v.bottom(), v.top());
    view->doneCurrent();
    return items;
}

void GLBoxZoomTest::ctrlWheelKeepsPointUnderPointer_data()
{
    QTest::addColumn<QPointF>("world");
    QTest::addColumn<double>("notches"); // per wheel event
    QTest::addColumn<int>("events");

    QTest::newRow("in at a corner") << QPointF(-9, 9) << 1.0 << 1;
    QTest::newRow("deep in, off centre") << QPointF(3.3, -2.7) << 3.0 << 12;
    QTest::newRow("out") << QPointF(5, 5) << -2.0 << 3;
    QTest::newRow("fine wheel") << QPointF(-4, 1) << 0.25 << 5;
}

void GLBoxZoomTest::ctrlWheelKeepsPointUnderPointer()
{
    QFETCH(QPointF, world);
    QFETCH(double, notches);
    QFETCH(int, events);

    const QPointF pos = pixelAt(glbox, world.x(), world.y());
    for (int i = 1; i <= events; ++i) {
        wheel(pos, QPoint(0, qRound(notches * 120)), Qt::ControlModifier);
        QVERIFY(std::fabs(glbox->viewTransform.zoom() / std::pow(1.25, notches * i) - 1) < 1e-9);
        const Vector under = glbox->mapToWorld(pos);
        QVERIFY2(near(under.x(), world.x(), tenthPixel(glbox)) && near(under.y(), world.y(), tenthPixel(glbox)),
                 qPrintable(QString("(%1, %2) after %3 events").arg(under.x()).arg(under.y()).arg(i)));
    }
    QCOMPARE(message(), QString::asprintf("Zoom %gx", glbox->viewTransform.zoom()));
}

void GLBoxZoomTest::wheelPans_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<QPoint>("pixels");
    QTest::addColumn<QPointF>("move"); // of the centre, in visible sides

    QTest::newRow("wheel up") << 0 << QPoint(0, 120) << QPoint() << QPointF(0, 0.1);
    QTest::newRow("wheel down twice") << 0 << QPoint(0, -240) << QPoint() << QPointF(0, -0.2);
    QTest::newRow("fine wheel") << 0 << QPoint(0, 30) << QPoint() << QPointF(0, 0.025);
    QTest::newRow("shift + wheel down") << int(Qt::ShiftModifier) << QPoint(0, -120) << QPoint() << QPointF(0.1, 0);
    QTest::newRow("horizontal wheel") << 0 << QPoint(120, 0) << QPoint() << QPointF(-0.1, 0);
    // A touchpad's pixels count over its angle: the picture moves by them.
    QTest::newRow("touchpad") << 0 << QPoint(-120, 120) << QPoint(-45, 30) << QPointF(0.075, 0.05);
}

void GLBoxZoomTest::wheelPans()
{
    QFETCH(int, modifiers);
    QFETCH(QPoint, angle);
    QFETCH(QPoint, pixels);
    QFETCH(QPointF, move);

    zoomAbout(0, 0, 4); // the step follows the visible side
    const double side = glbox->viewTransform.side();
    wheel(pixelAt(glbox, 1, 1), angle, Qt::KeyboardModifiers(modifiers), pixels);

    const ViewTransform &v = glbox->viewTransform;
    QVERIFY(near(v.centreX(), move.x() * side, 1e-9) && near(v.centreY(), move.y() * side, 1e-9));
    QVERIFY(near(v.side(), side, 1e-12));
    QCOMPARE(message(), QString::asprintf("Centre (%.2f, %.2f)", v.centreX(), v.centreY()));
    // What is drawn and picked moved with it.
    const Vector middle = glbox->mapToWorld(QPointF(300, 300));
    QVERIFY(near(middle.x(), v.centreX(), 1e-9) && near(middle.y(), v.centreY(), 1e-9));
}

void GLBoxZoomTest::keysZoomAndPan_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QPointF>("move"); // of the centre, in visible sides

    QTest::newRow("+") << int(Qt::Key_Plus) << 1.25 << QPointF();
    QTest::newRow("=") << int(Qt::Key_Equal) << 1.25 << QPointF();
    QTest::newRow("-") << int(Qt::Key_Minus) << 0.8 << QPointF();
    QTest::newRow("left") << int(Qt::Key_Left) << 1.0 << QPointF(-0.1, 0);
    QTest::newRow("right") << int(Qt::Key_Right) << 1.0 << QPointF(0.1, 0);
    QTest::newRow("up") << int(Qt::Key_Up) << 1.0 << QPointF(0, 0.1);
    QTest::newRow("down") << int(Qt::Key_Down) << 1.0 << QPointF(0, -0.1);
}

void GLBoxZoomTest::keysZoomAndPan()
{
    QFETCH(int, key);
    QFETCH(double, factor);
    QFETCH(QPointF, move);

    // Off the world's centre, so that a zoom about the view's centre shows.
    zoomAbout(6, -3, 2);
    const ViewTransform before = glbox->viewTransform;
    focusView();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

    const ViewTransform &v = glbox->viewTransform;
    QVERIFY(std::fabs(v.zoom() / (before.zoom() * factor) - 1) < 1e-12);
    QVERIFY(near(v.centreX(), before.centreX() + move.x() * before.side(), 1e-9));
    QVERIFY(near(v.centreY(), before.centreY() + move.y() * before.side(), 1e-9));
    QVERIFY(message().startsWith(factor == 1.0 ? "Centre (" : "Zoom "));
}

// The arrow keys belong to the view only while it has the focus; the panel
// keeps its own keyboard use.
void GLBoxZoomTest::keysNeedTheFocus()
{
    auto *level = window->findChild<QSpinBox *>("level");
    level->setFocus();
    const int value = level->value();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(level->value(), value + 1);
    QVERIFY(glbox->viewTransform.isReset());

    focusView();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(level->value(), value + 1);
    QVERIFY(near(glbox->viewTransform.centreY(), 2, 1e-12));
    level->setValue(value);
}

void GLBoxZoomTest::picksAtZooms_data()
{
    QTest::addColumn<double>("notches"); // about (3.1, 3)
    QTest::addColumn<int>("rightPans");  // arrow key presses after the zoom
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPointF>("at");     // world position of the press
    QTest::addColumn<QPointF>("to");     // and of the release
    QTest::addColumn<QList<QPointF>>("after");
    QTest::addColumn<QList<int>>("selected");

    const QPointF a(3, 3), b(3.15, 3), c(3, 3.09);
    // Zoom 44: the pick radius, 0.1 world units, is some 130 pixels.
    QTest::newRow("ctrl + click deletes the point under the pointer")
        << 17.0 << 0 << int(Qt::LeftButton) << int(Qt::ControlModifier) << b << b << QList<QPointF>{a, c}
        << QList<int>{};
    QTest::newRow("ctrl + click just beyond the radius deletes nothing")
        << 17.0 << 1 << int(Qt::LeftButton) << int(Qt::ControlModifier) << QPointF(3.15, 3.11) << QPointF(3.15, 3.11)
        << QList<QPointF>{a, b, c} << QList<int>{};
    QTest::newRow("right drag moves by world distance, zoomed and panned")
        << 17.0 << 1 << int(Qt::RightButton) << 0 << QPointF(3.152, 3.001) << QPointF(3.162, 3.021)
        << QList<QPointF>{a, {3.16, 3.02}, c} << QList<int>{};
    QTest::newRow("middle click selects within the radius, zoomed out")
        << -6.0 << 1 << int(Qt::MiddleButton) << 0 << QPointF(3.05, 3.03) << QPointF(3.05, 3.03)
        << QList<QPointF>{a, b, c} << QList<int>{1, 3};
}

void GLBoxZoomTest::picksAtZooms()
{
    QFETCH(double, notches);
    QFETCH(int, rightPans);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(QPointF, at);
    QFETCH(QPointF, to);
    QFETCH(QList<QPointF>, after);
    QFETCH(QList<int>, selected);

    zoomAbout(3.1, 3, notches);
    for (int i = 0; i < rightPans; ++i)
        QTest::keyClick(glbox, Qt::Key_Right);
    setPolygon(glbox, {{3, 3}, {3.15, 3}, {3, 3.09}}, false);

    const auto which = Qt::MouseButton(button);
    const auto mods = Qt::KeyboardModifiers(modifiers);
    mouse(QEvent::MouseButtonPress, at.x(), at.y(), which, mods);
    if (to != at)
        mouse(QEvent::MouseMove, to.x(), to.y(), which, mods);
    mouse(QEvent::MouseButtonRelease, to.x(), to.y(), which, mods);

    QList<QPointF> positions;
    QList<int> chosen;
    int index = 1;
    for (auto *n = glbox->controlPoints->points.head; n; n = n->next, ++index) {
        positions << QPointF(n->item->position.x(), n->item->position.y());
        if (n->item->selected)
            chosen << index;
    }
    QCOMPARE(positions.size(), after.size());
    for (qsizetype i = 0; i < after.size(); ++i)
        QVERIFY2(near(positions[i].x(), after[i].x(), 1e-6) && near(positions[i].y(), after[i].y(), 1e-6),
                 qPrintable(QString("point %1 at (%2, %3)").arg(i + 1).arg(positions[i].x()).arg(positions[i].y())));
    QCOMPARE(chosen, selected);
}

void GLBoxZoomTest::limits()
{
    for (int i = 0; i < 60; ++i)
        zoomAbout(1, 1, 1);
    QCOMPARE(glbox->viewTransform.zoom(), ViewTransform::maxZoom);
    QCOMPARE(message(), QString("Zoom 10000x (limit)"));
    // Even there a pixel is a pixel: the point under the pointer still maps
    // back within a tenth of one.
    const Vector under = glbox->mapToWorld(pixelAt(glbox, 1, 1));
    QVERIFY(near(under.x(), 1, tenthPixel(glbox)) && near(under.y(), 1, tenthPixel(glbox)));

    zoomAbout(1, 1, -100);
    QCOMPARE(glbox->viewTransform.zoom(), ViewTransform::minZoom);
    QCOMPARE(message(), QString("Zoom 0.25x (limit)"));

    for (int i = 0; i < 20; ++i)
        wheel(pixelAt(glbox, 0, 0), QPoint(0, -120), Qt::ShiftModifier);
    QCOMPARE(glbox->viewTransform.centreX(), ViewTransform::centreReach);
    QVERIFY2(message().startsWith("Centre (40.00, ") && message().endsWith(") (edge)"), qPrintable(message()));
}

void GLBoxZoomTest::resetViewRestoresTheWorldSquare()
{
    const auto described = capture(glbox);
    double matrix[16];
    std::copy(glbox->projection, glbox->projection + 16, matrix);

    zoomAbout(7, -2, 9);
    QTest::keyClick(glbox, Qt::Key_Left);
    auto *button = window->findChild<QGroupBox *>("studyBox")->findChild<QPushButton *>("resetViewButton");
    QVERIFY(button && !button->toolTip().isEmpty());
    QVERIFY(window->findChild<QGroupBox *>("studyBox")->y() > window->findChild<QGroupBox *>("areaBox")->y());
    button->click();

    QVERIFY(glbox->viewTransform.isReset());
    QCOMPARE(message(), QString("View reset: zoom 1x, centre (0, 0)"));
    QVERIFY(std::equal(matrix, matrix + 16, glbox->projection));
    const auto restored = capture(glbox);
    QCOMPARE(restored.size(), described.size());
    for (std::size_t i = 0; i < restored.size(); ++i)
        for (std::size_t k = 0; k < restored[i].vertices.size(); ++k) {
            QCOMPARE(restored[i].vertices[k].x, described[i].vertices[k].x);
            QCOMPARE(restored[i].vertices[k].y, described[i].vertices[k].y);
        }
}

void GLBoxZoomTest::gridAndAxesFollowTheView_data()
{
    QTest::addColumn<int>("gridSpace");
    QTest::addColumn<QList<double>>("verticalX");
    QTest::addColumn<QList<double>>("horizontalY");

    // The visible square is x -1.3..3.7, y -3.2..1.8; the lines keep the
    // reset view's lattice (x = -10 + k g, y = 10 - k g).
    QTest::newRow("every 2") << 2 << QList<double>{0, 2} << QList<double>{0, -2};
    QTest::newRow("every 3") << 3 << QList<double>{-1, 2} << QList<double>{1, -2};
    QTest::newRow("every 7") << 7 << QList<double>{} << QList<double>{};
}

void GLBoxZoomTest::gridAndAxesFollowTheView()
{
    QFETCH(int, gridSpace);
    QFETCH(QList<double>, verticalX);
    QFETCH(QList<double>, horizontalY);

    glbox->gridSpace = gridSpace;
    glbox->viewTransform.zoomAbout(0, 0, 4);
    glbox->viewTransform.pan(1.2, -0.7);
    const auto items = capture(glbox);

    QCOMPARE(items.size(), std::size_t(4 + verticalX.size() + horizontalY.size() + 2));
    // The border sits on the visible square, its right and top edges a
    // two-thousandth of the side (5) inside.
    QVERIFY(sameSegment(items[0], -1.3, 1.7975, -1.3, -3.2));
    QVERIFY(sameSegment(items[1], -1.3, -3.2, 3.6975, -3.2));
    QVERIFY(sameSegment(items[2], 3.6975, -3.2, 3.6975, 1.7975));
    QVERIFY(sameSegment(items[3], 3.6975, 1.7975, -1.3, 1.7975));
    std::size_t i = 4;
    for (double x : verticalX)
        QVERIFY2(sameSegment(items[i++], x, 1.8, x, -3.2), qPrintable(QString::number(x)));
    for (double y : horizontalY)
        QVERIFY2(sameSegment(items[i++], -1.3, y, 3.7, y), qPrintable(QString::number(y)));
    QVERIFY(sameSegment(items[i++], -1.3, 0, 3.7, 0));
    QVERIFY(sameSegment(items[i++], 0, 1.8, 0, -3.2));
}

// A grid denser than a few pixels would grey the view over: only the
// border is left. Only a view smaller than the window's can get there.
void GLBoxZoomTest::denseGridIsLeftOut()
{
    GLBox small(nullptr, "small", nullptr);
    small.resize(200, 200);
    small.show();
    QVERIFY(QTest::qWaitForWindowExposed(&small));
    small.viewTransform.zoomAbout(0, 0, 0.25); // 80 units on 200 pixels
    small.gridSpace = 1;                      // 2.5 pixels apart
    small.drawAxis = false;
    QCOMPARE(capture(&small).size(), std::size_t(4));
    small.gridSpace = 2; // 5 pixels: lines every 2 from -40 to 40 each way
    QCOMPARE(capture(&small).size(), std::size_t(4 + 41 + 41));
}

void GLBoxZoomTest::readoutFollowsZoom_data()
{
    QTest::addColumn<double>("notches");
    QTest::addColumn<QString>("hover");

    QTest::newRow("reset") << 0.0 << "(1.23,-0.50)";
    QTest::newRow("zoom 11.6") << 11.0 << "(1.235,-0.500)";
    QTest::newRow("zoom 108") << 21.0 << "(1.2346,-0.5000)";
    QTest::newRow("zoom 10000") << 50.0 << "(1.234560,-0.500000)";
}

void GLBoxZoomTest::readoutFollowsZoom()
{
    QFETCH(double, notches);
    QFETCH(QString, hover);

    zoomAbout(1.23456, -0.5, notches);
    mouse(QEvent::MouseMove, 1.23456, -0.5, Qt::NoButton, Qt::NoModifier);
    QCOMPARE(message(), hover);
}

// The page shows what the view shows: zoomed about one corner of the
// square, only that corner's point is on it, where the view has it.
void GLBoxZoomTest::exportHoldsTheZoomedPicture()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("zoomed.eps");
    glbox->chooseExportFile = [path] { return path; };
    auto exported = [&] {
        QFile::remove(path);
        glbox->exportPS();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? pagePoints(file.readAll()) : QList<QPointF>{};
    };
    // The page may order the points differently from the polygon.
    auto corner = [](const QList<QPointF> &points) {
        return *std::max_element(points.begin(), points.end(),
                                 [](QPointF a, QPointF b) { return a.x() + a.y() < b.x() + b.y(); });
    };
    setPolygon(glbox, {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}}, true);
    const QList<QPointF> described = exported();
    QCOMPARE(described.size(), 4);
    const QPointF top = corner(described);

    zoomAbout(5, 5, 8);
    const QList<QPointF> zoomed = exported();
    QCOMPARE(zoomed.size(), 1);
    QVERIFY(near(zoomed[0].x(), top.x(), 0.01) && near(zoomed[0].y(), top.y(), 0.01));

    // About the centre, the corner's distance from the middle of the page
    // grows with the zoom.
    glbox->resetView();
    QTest::keyClick(glbox, Qt::Key_Plus);
    const QList<QPointF> closer = exported();
    QCOMPARE(closer.size(), 4);
    double middle = 0;
    for (const QPointF p : described)
        middle += p.x() / 4;
    QVERIFY(near(corner(closer).x() - middle, 1.25 * (top.x() - middle), 0.01));
}

// On screen the curve is drawn simplified within a fraction of a pixel:
// zoomed in, that is a fraction of the zoomed pixel, so the zoomed picture
// matches the full drawing as closely as the reset one does.
void GLBoxZoomTest::curveIsSimplifiedForTheZoom()
{
    // A circle of radius 1: at 108x an arc across the view bulges some 14
    // pixels, which the reset view's tolerance (12 zoomed pixels) would
    // flatten.
    QList<QPointF> circle;
    for (int i = 0; i < 10; ++i)
        circle << QPointF(std::cos(i * M_PI / 5), std::sin(i * M_PI / 5));
    setPolygon(glbox, circle, true);
    glbox->setCurrentCurve(2);
    Curve *curve = curveAt(glbox, 2);
    curve->level = 10;
    glbox->controlPoints->dirty = true;
    glbox->grabFramebuffer();
    const Vector &on = curve->result->indexNode(curve->result->count / 3)->item->position;
    zoomAbout(on.x(), on.y(), 21);

    const double scale = glbox->screenFrame().worldPerUnit;
    QCOMPARE(scale, glbox->worldPerDevicePixel());
    QVERIFY(near(scale, glbox->viewTransform.side() / glbox->viewport[2], 1e-15));
    const QImage simplified = glbox->grabFramebuffer();
    glbox->renderer().simplify = false; // every vertex
    const QImage full = glbox->grabFramebuffer();
    glbox->renderer().simplify = true;
    const qsizetype differing = differingPixels(simplified, full);
    QVERIFY(curvePixels(full) > 1000); // the curve is there to compare
    QVERIFY2(differing <= full.width() * full.height() / 1000, qPrintable(QString::number(differing)));
}

QTEST_MAIN(GLBoxZoomTest)
#include "GLBoxZoomTest.moc"
