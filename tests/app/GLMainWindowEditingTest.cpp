#include "view/ShownView.h"

#include "geometry/ControlPoints.h"
#include "render/PolygonVertices.h"
#include "view/PointEditor.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QtTest>

#include <cmath>
#include <memory>

// Editing single control points through the real window: the selection
// drawn as a ring and deleted with Delete or Backspace, a double click
// that asks for a point's coordinates, Ctrl while dragging onto the grid,
// and clicked points stored as the decimals the read-out shows. Each edit
// is one undo step.
class GLMainWindowEditingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { window.reset(); }

    void deleteRemovesTheSelection_data();
    void deleteRemovesTheSelection();
    void selectionIsRinged();
    void doubleClickAsksForCoordinates();
    void ctrlDragSnapsToTheGrid();
    void clickedPointsAreShortDecimals();

private:
    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QString message() const { return window->statusBar()->currentMessage(); }
    const Point &point(int i) const { return *glbox->controlPoints->points.indexNode(std::uint32_t(i))->item; }
    QAction *undoAction() const { return window->findChild<QAction *>("undoAction"); }

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
};

namespace {

const QList<QPointF> square{{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};

} // namespace

void GLMainWindowEditingTest::init()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    setPolygon(glbox, square, false);
}

void GLMainWindowEditingTest::send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
                                  Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, at, glbox->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(glbox, &event);
}

void GLMainWindowEditingTest::deleteRemovesTheSelection_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Delete") << int(Qt::Key_Delete);
    QTest::newRow("Backspace") << int(Qt::Key_Backspace);
}

void GLMainWindowEditingTest::deleteRemovesTheSelection()
{
    QFETCH(int, key);
    // The middle click selects as ever, and gives the view the keyboard.
    QTest::mouseClick(glbox, Qt::MiddleButton, {}, pixelAt(glbox, 5, 5).toPoint());
    QCOMPARE(message(), QString("Selected control point at (5.00, 5.00)"));
    QVERIFY(point(3).selected);
    QTest::keyClick(glbox, Qt::Key(key));
    QCOMPARE(glbox->controlPoints->points.count, 3u);
    QCOMPARE(message(), QString("Deleted the selected control point"));
    QCOMPARE(undoAction()->text(), QString("Undo Delete Selected Points"));
    undoAction()->trigger();
    QCOMPARE(glbox->controlPoints->points.count, 4u);
    QCOMPARE(point(3).position, Vector(5, 5));

    // Nothing selected (an undo puts the points back unselected): nothing
    // deleted, and the way to select is told.
    QTest::keyClick(glbox, Qt::Key(key));
    QCOMPARE(glbox->controlPoints->points.count, 4u);
    QCOMPARE(message(), QString("No control point selected: select one with the middle mouse button"));
    QCOMPARE(undoAction()->text(), QString("Undo"));
}

void GLMainWindowEditingTest::selectionIsRinged()
{
    // A blue ring round the selected point, where the unselected one has
    // the grey background; counted in the layout of the view's frame.
    auto blueAt = [this](QPointF logical) {
        const QImage picture = glbox->grabFramebuffer();
        const QPoint at = (logical * glbox->devicePixelRatioF()).toPoint();
        const QColor c = picture.pixelColor(at);
        return c.blue() > 150 && c.red() < 120 && c.green() < 120;
    };
    const double ring = PolygonVertices::ringRadius / glbox->devicePixelRatioF();
    const QPointF on = pixelAt(glbox, 5, 5) + QPointF(ring, 0);
    QVERIFY(!blueAt(on));
    QTest::mouseClick(glbox, Qt::MiddleButton, {}, pixelAt(glbox, 5, 5).toPoint());
    QVERIFY(blueAt(on));
    QVERIFY(!blueAt(pixelAt(glbox, 5, 5) + QPointF(2 * ring, 0)));
    PolygonVertices layout;
    layout.fill(*glbox->controlPoints, glbox->screenFrame());
    QCOMPARE(layout.ringCount(), std::size_t(1));
}

void GLMainWindowEditingTest::doubleClickAsksForCoordinates()
{
    // A double click is press, release, double click, release: the first
    // press appends a point, which the double click takes back.
    const QPointF at = pixelAt(glbox, 5, -5);
    auto doubleClick = [&] {
        send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    };
    doubleClick();
    auto *editor = window->findChild<PointEditor *>("pointEditor");
    QVERIFY(editor);
    QTRY_VERIFY(editor->isVisible());
    QCOMPARE(editor->index(), std::size_t(1));
    QCOMPARE(glbox->controlPoints->points.count, 4u);
    QCOMPARE(undoAction()->text(), QString("Undo")); // the append is forgotten
    editor->findChild<QDoubleSpinBox *>("pointXSpinBox")->setValue(2.5);
    editor->findChild<QDoubleSpinBox *>("pointYSpinBox")->setValue(-1.25);
    editor->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(point(2).position, Vector(2.5, -1.25));
    QCOMPARE(glbox->controlPoints->points.count, 4u);
    QCOMPARE(undoAction()->text(), QString("Undo Edit Point"));
    undoAction()->trigger();
    QCOMPARE(point(2).position, Vector(5, -5));
    QCOMPARE(undoAction()->text(), QString("Undo"));
    QTRY_VERIFY(!window->findChild<PointEditor *>("pointEditor"));

    // Cancelled, nothing changes; a double click off every point appends
    // twice, as before.
    doubleClick();
    editor = window->findChild<PointEditor *>("pointEditor");
    QVERIFY(editor);
    editor->reject();
    QCOMPARE(glbox->controlPoints->points.count, 4u);
    QCOMPARE(point(2).position, Vector(5, -5));
    QTRY_VERIFY(!window->findChild<PointEditor *>("pointEditor"));
    const QPointF off = pixelAt(glbox, 0, 0);
    send(QEvent::MouseButtonPress, off, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, off, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, off, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, off, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(glbox->controlPoints->points.count, 6u);
    QVERIFY(!window->findChild<PointEditor *>("pointEditor"));
}

void GLMainWindowEditingTest::ctrlDragSnapsToTheGrid()
{
    // Grid spacing 3: lines at x = -10 + 3k, y = 10 - 3k.
    window->findChild<QSlider *>("grid space")->setValue(3);
    QPointF at = pixelAt(glbox, -5, 5);
    send(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    at = pixelAt(glbox, -2.2, 3.3);
    send(QEvent::MouseMove, at, Qt::NoButton, Qt::RightButton, Qt::ControlModifier);
    QVERIFY(std::abs(point(4).position.x() + 1) < 1e-12 && std::abs(point(4).position.y() - 4) < 1e-12);
    QVERIFY2(message().endsWith("-> (-1.00, 4.00) [d=4.12] on the grid"), qPrintable(message()));
    // Without Ctrl the point follows the pointer again.
    at = pixelAt(glbox, -2.3, 3.6);
    send(QEvent::MouseMove, at, Qt::NoButton, Qt::RightButton);
    QVERIFY(std::abs(point(4).position.x() + 2.3) < 0.05 && std::abs(point(4).position.y() - 3.6) < 0.05);
    send(QEvent::MouseMove, at, Qt::NoButton, Qt::RightButton, Qt::ControlModifier);
    send(QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
    QCOMPARE(point(4).position, Vector(-1, 4));
    QCOMPARE(undoAction()->text(), QString("Undo Move Point"));
}

void GLMainWindowEditingTest::clickedPointsAreShortDecimals()
{
    // Pixels whose world positions are no short decimals: each point is
    // stored as the decimal of the read-out, within half a pixel.
    const double pixel = glbox->worldPerDevicePixel() * glbox->devicePixelRatioF();
    for (const QPoint at : {QPoint(101, 203), QPoint(317, 59), QPoint(250, 250)}) {
        const Vector raw = glbox->mapToWorld(at);
        QTest::mouseClick(glbox, Qt::LeftButton, {}, at);
        const Vector &placed = glbox->controlPoints->points.tail->item->position;
        for (double c : {placed.x(), placed.y()})
            QCOMPARE(std::round(c * 100) / 100, c);
        QVERIFY(std::abs(placed.x() - raw.x()) <= pixel / 2 && std::abs(placed.y() - raw.y()) <= pixel / 2);
        QCOMPARE(message(), QString::asprintf("Inserted control point at (%.2f, %.2f)", placed.x(), placed.y()));
    }
}

QTEST_MAIN(GLMainWindowEditingTest)
#include "GLMainWindowEditingTest.moc"
