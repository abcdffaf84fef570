#include "ShownView.h"

#include "geometry/ControlPoints.h"
#include "support/Feedback.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStatusBar>
#include <QtTest>

#include <memory>

// Mouse gestures on the real window's view: which edit each gesture makes,
// what the status bar says, and when the view repaints.
class GLBoxEditingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void leftPressAppends_data();
    void leftPressAppends();
    void pressEdits_data();
    void pressEdits();
    void rightDragMovesPoint();
    void rightPressOnEmptySpaceIsQuiet();
    void interruptedDragsLeaveNoGhost();
    void moveWithoutButtonEndsDrag();
    void hover_data();
    void hover();
    void hoverAwayClearsHighlight_data();
    void hoverAwayClearsHighlight();
    void releaseMarksDirty_data();
    void releaseMarksDirty();
    void clickThroughPlatformAppends();

private:
    void send(QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers);
    void press(Qt::MouseButton button, QPointF pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButtons heldBefore = Qt::NoButton);
    void move(QPointF pos, Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void release(Qt::MouseButton button, QPointF pos);
    QString message() const { return window->statusBar()->currentMessage(); }
    Point *point(std::uint32_t i) const { return glbox->controlPoints->points.indexNode(i)->item; }
    void addPoints(const QList<QPointF> &world);
    // Lets pending repaints happen, then starts counting paints afresh.
    void settle();

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
    int paints = 0;
};

namespace {

// Counts paint events reaching the view.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(int &count) : count(count) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }

private:
    int &count;
};

bool at(const Vector &v, double x, double y)
{
    return near(v.x(), x) && near(v.y(), y);
}

} // namespace

void GLBoxEditingTest::initTestCase()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    QCOMPARE(glbox->width(), 600);
    auto *counter = new PaintCounter(paints);
    counter->setParent(glbox);
    glbox->installEventFilter(counter);
}

void GLBoxEditingTest::cleanupTestCase()
{
    window.reset();
}

void GLBoxEditingTest::init()
{
    glbox->controlPoints->clear();
    glbox->controlPoints->closed = false;
    glbox->mouseMode = GLBox::None;
    glbox->movingPoint = nullptr;
    window->statusBar()->clearMessage();
}

// A second right press before the release, and "Delete Control Points"
// in the middle of a drag, must leave no ghost behind and no dangling point.
void GLBoxEditingTest::interruptedDragsLeaveNoGhost()
{
    addPoints({{0, 0}, {2, 0}});
    Point *first = glbox->controlPoints->points.head->item;
    press(Qt::RightButton, pixelAt(glbox, 0, 0));
    move(pixelAt(glbox, 0, 1), Qt::RightButton);
    QVERIFY(first->hasGhost);
    press(Qt::RightButton, pixelAt(glbox, 2, 0), Qt::NoModifier, Qt::RightButton);
    QVERIFY(!first->hasGhost);
    move(pixelAt(glbox, 2, 1), Qt::RightButton);
    QVERIFY(glbox->controlPoints->points.tail->item->hasGhost);
    release(Qt::RightButton, pixelAt(glbox, 2, 1));
    for (auto *n = glbox->controlPoints->points.head; n; n = n->next)
        QVERIFY(!n->item->hasGhost);

    press(Qt::RightButton, pixelAt(glbox, 0, 1));
    QVERIFY(glbox->movingPoint);
    glbox->deleteControlPoints();
    QCOMPARE(glbox->movingPoint, nullptr);
    move(pixelAt(glbox, 3, 3), Qt::RightButton);
    release(Qt::RightButton, pixelAt(glbox, 3, 3));
    QCOMPARE(glbox->controlPoints->points.count, 0u);

    // A drag whose release went elsewhere, then Ctrl + click on its point.
    addPoints({{5, 5}});
    press(Qt::RightButton, pixelAt(glbox, 5, 5));
    QVERIFY(glbox->movingPoint);
    press(Qt::LeftButton, pixelAt(glbox, 5, 5), Qt::ControlModifier); // no release in between
    QCOMPARE(glbox->controlPoints->points.count, 0u);
    QCOMPARE(glbox->movingPoint, nullptr);
    move(pixelAt(glbox, 6, 6));
}

// A modal box took the right button's release: the next move without the
// button ends the drag as the release would have, and is then a hover.
void GLBoxEditingTest::moveWithoutButtonEndsDrag()
{
    addPoints({{0, 0}, {4, 0}});
    press(Qt::RightButton, pixelAt(glbox, 0, 0));
    move(pixelAt(glbox, 1, 1), Qt::RightButton);
    QVERIFY(point(1)->hasGhost);
    glbox->controlPoints->dirty = false;
    settle();

    move(pixelAt(glbox, 4, 0));

    QCOMPARE(glbox->mouseMode, GLBox::None);
    QCOMPARE(glbox->movingPoint, nullptr);
    QVERIFY(!point(1)->hasGhost);
    QVERIFY(at(point(1)->position, 1, 1));
    QVERIFY(glbox->controlPoints->dirty);
    QVERIFY(point(2)->highlighted);
    QCOMPARE(message(), QString("(4.00,0.00)"));
    QTRY_VERIFY(paints > 0);
    move(pixelAt(glbox, 3, 3));
    QVERIFY(at(point(1)->position, 1, 1));
}

void GLBoxEditingTest::send(QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, pos, glbox->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(glbox, &event);
}

void GLBoxEditingTest::press(Qt::MouseButton button, QPointF pos, Qt::KeyboardModifiers modifiers,
                             Qt::MouseButtons heldBefore)
{
    send(QEvent::MouseButtonPress, pos, button, heldBefore | button, modifiers);
}

void GLBoxEditingTest::move(QPointF pos, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers)
{
    send(QEvent::MouseMove, pos, Qt::NoButton, held, modifiers);
}

void GLBoxEditingTest::release(Qt::MouseButton button, QPointF pos)
{
    send(QEvent::MouseButtonRelease, pos, button, Qt::NoButton, Qt::NoModifier);
}

void GLBoxEditingTest::addPoints(const QList<QPointF> &world)
{
    for (const QPointF p : world)
        QVERIFY(glbox->controlPoints->insertPoint(Vector(p.x(), p.y())));
}

void GLBoxEditingTest::settle()
{
    QTest::qWait(30);
    paints = 0;
}

void GLBoxEditingTest::leftPressAppends_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<Qt::MouseButtons>("heldBefore");
    QTest::addColumn<bool>("onExistingPoint");

    QTest::newRow("plain") << Qt::KeyboardModifiers() << Qt::MouseButtons() << false;
    QTest::newRow("plain on an existing point") << Qt::KeyboardModifiers() << Qt::MouseButtons() << true;
    QTest::newRow("ctrl+shift") << (Qt::ControlModifier | Qt::ShiftModifier) << Qt::MouseButtons() << true;
    QTest::newRow("alt") << Qt::KeyboardModifiers(Qt::AltModifier) << Qt::MouseButtons() << true;
    QTest::newRow("ctrl with right held") << Qt::KeyboardModifiers(Qt::ControlModifier)
                                          << Qt::MouseButtons(Qt::RightButton) << true;
    QTest::newRow("shift with middle held") << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                            << Qt::MouseButtons(Qt::MiddleButton) << true;
}

void GLBoxEditingTest::leftPressAppends()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Qt::MouseButtons, heldBefore);
    QFETCH(bool, onExistingPoint);

    addPoints({{5, 5}});
    if (onExistingPoint)
        addPoints({{1.5, -3}});
    const auto before = glbox->controlPoints->points.count;

    press(Qt::LeftButton, pixelAt(glbox, 1.5, -3), modifiers, heldBefore);

    QCOMPARE(glbox->controlPoints->points.count, before + 1);
    QVERIFY(at(glbox->controlPoints->points.tail->item->position, 1.5, -3));
    QCOMPARE(glbox->mouseMode, GLBox::Insert);
    QCOMPARE(message(), QString("Inserted control point at (1.50, -3.00)"));
    QVERIFY(near(glbox->lastX, 1.5) && near(glbox->lastY, -3));
    release(Qt::LeftButton, pixelAt(glbox, 1.5, -3));
    QCOMPARE(glbox->mouseMode, GLBox::None);
}

void GLBoxEditingTest::pressEdits_data()
{
    QTest::addColumn<QList<QPointF>>("polygon");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QPointF>("where");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QPointF>>("after");
    QTest::addColumn<QList<bool>>("selected");
    QTest::addColumn<GLBox::MouseMode>("mode");

    const Qt::KeyboardModifiers ctrl(Qt::ControlModifier), shift(Qt::ShiftModifier), none;
    const double twoPixels = 2.0 / 30.0; // in world units on a 600-pixel view
    const QList<QPointF> corner{{0, 0}, {2, 0}, {2, 2}};
    const QList<QPointF> pair{{-4, -4}, {1, 1}, {1.05, 1}};

    // Ctrl reports the mouse position, not the removed point's own.
    QTest::newRow("ctrl deletes the point under the cursor")
        << QList<QPointF>{{1, 1}, {4, 4}} << Qt::LeftButton << ctrl << QPointF(1 + twoPixels, 1)
        << "Deleted control point at (1.07, 1.00)" << QList<QPointF>{{4, 4}} << QList<bool>{false}
        << GLBox::None;
    QTest::newRow("ctrl on empty space") << corner << Qt::LeftButton << ctrl << QPointF(3, 3) << "" << corner
                                         << QList<bool>{false, false, false} << GLBox::None;
    // Shift reports the new midpoint's own coordinates.
    QTest::newRow("shift splits the edge") << corner << Qt::LeftButton << shift << QPointF(2 + twoPixels, 0)
                                           << "Inserted control point at midpoint (2.00, 1.00)"
                                           << QList<QPointF>{{0, 0}, {2, 0}, {2, 1}, {2, 2}}
                                           << QList<bool>{false, false, false, false} << GLBox::None;
    QTest::newRow("shift at the end of an open polygon") << corner << Qt::LeftButton << shift << QPointF(2, 2)
                                                         << "" << corner << QList<bool>{false, false, false}
                                                         << GLBox::None;
    // Both points under the cursor are selected, the later one reported,
    // and the point selected before loses its selection.
    QTest::newRow("middle selects") << pair << Qt::MiddleButton << none << QPointF(1, 1)
                                    << "Selected control point at (1.05, 1.00)" << pair
                                    << QList<bool>{false, true, true} << GLBox::Select;
    QTest::newRow("middle on empty space") << pair << Qt::MiddleButton << none << QPointF(-6, 2) << "" << pair
                                           << QList<bool>{false, false, false} << GLBox::Select;
}

void GLBoxEditingTest::pressEdits()
{
    QFETCH(QList<QPointF>, polygon);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPointF, where);
    QFETCH(QString, text);
    QFETCH(QList<QPointF>, after);
    QFETCH(QList<bool>, selected);
    QFETCH(GLBox::MouseMode, mode);

    addPoints(polygon);
    point(1)->selected = true;
    settle();

    press(button, pixelAt(glbox, where.x(), where.y()), modifiers);

    QCOMPARE(message(), text);
    QCOMPARE(glbox->mouseMode, mode);
    QCOMPARE(glbox->controlPoints->points.count, std::uint32_t(after.size()));
    for (int i = 0; i < after.size(); ++i) {
        QVERIFY2(at(point(i + 1)->position, after[i].x(), after[i].y()), qPrintable(QString::number(i + 1)));
        if (button == Qt::MiddleButton)
            QCOMPARE(point(i + 1)->selected, selected[i]);
    }
    QTRY_VERIFY(paints > 0); // every press repaints, also when nothing changed
}

void GLBoxEditingTest::rightDragMovesPoint()
{
    addPoints({{-5, -5}, {1, 1}});
    const QPointF grab = pixelAt(glbox, 1, 1) + QPointF(2, 0);

    press(Qt::RightButton, grab);
    QCOMPARE(glbox->mouseMode, GLBox::Move);
    QCOMPARE(glbox->movingPoint, point(2));
    QVERIFY(at(point(2)->ghost, 1, 1));
    QVERIFY(!point(2)->hasGhost);
    QCOMPARE(message(), QString());
    settle();

    // 30 logical pixels are one world unit: move by (1, 2) in two steps.
    glbox->controlPoints->dirty = false;
    move(grab + QPointF(15, -30), Qt::RightButton);
    move(grab + QPointF(30, -60), Qt::RightButton);

    QVERIFY(point(2)->hasGhost);
    QVERIFY(at(point(2)->ghost, 1, 1));
    QVERIFY(at(point(2)->position, 2, 3));
    QVERIFY(at(point(1)->position, -5, -5));
    QVERIFY(glbox->controlPoints->dirty);
    QCOMPARE(message(), QString("(1.00, 1.00) -> (2.07, 3.00) [d=2.24]"));
    QTRY_VERIFY(paints > 0);

    glbox->controlPoints->dirty = false;
    release(Qt::RightButton, grab + QPointF(30, -60));
    QCOMPARE(glbox->mouseMode, GLBox::None);
    QCOMPARE(glbox->movingPoint, nullptr);
    QVERIFY(!point(2)->hasGhost);
    QVERIFY(at(point(2)->position, 2, 3));
    QVERIFY(glbox->controlPoints->dirty);
}

void GLBoxEditingTest::rightPressOnEmptySpaceIsQuiet()
{
    addPoints({{1, 1}, {3, 3}});

    press(Qt::RightButton, pixelAt(glbox, -5, 5));
    QCOMPARE(glbox->mouseMode, GLBox::Move);
    QCOMPARE(glbox->movingPoint, nullptr);
    settle();

    // Passing over a point with and without Ctrl changes nothing.
    move(pixelAt(glbox, 1, 1), Qt::RightButton);
    move(pixelAt(glbox, 3, 3), Qt::RightButton, Qt::ControlModifier);
    QTest::qWait(30);

    QCOMPARE(paints, 0);
    QCOMPARE(message(), QString());
    QVERIFY(!glbox->controlPoints->highlighted);
    QVERIFY(!point(1)->highlighted && !point(2)->highlighted);
    QVERIFY(at(point(1)->position, 1, 1));
    QVERIFY(near(glbox->lastX, 3) && near(glbox->lastY, 3));

    release(Qt::RightButton, pixelAt(glbox, 3, 3));
    QCOMPARE(glbox->mouseMode, GLBox::None);
}

void GLBoxEditingTest::hover_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("overPoint");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pointHighlighted");
    QTest::addColumn<bool>("edgeHighlighted");

    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers ctrl(Qt::ControlModifier);
    const Qt::KeyboardModifiers shift(Qt::ShiftModifier);
    const QString plain("(1.50,-3.00)");

    QTest::newRow("plain, empty") << none << false << plain << false << false;
    QTest::newRow("plain, over a point") << none << true << plain << true << false;
    QTest::newRow("ctrl, empty") << ctrl << false << QString("(1.50, -3.00)") << false << false;
    QTest::newRow("ctrl, over a point")
        << ctrl << true << QString("Press left mouse button to delete highlighted point") << true << false;
    QTest::newRow("shift, empty") << shift << false << plain << false << false;
    QTest::newRow("shift, over a point")
        << shift << true << QString("Press left mouse button to insert midpoint on highlighted edge") << false
        << true;
    QTest::newRow("ctrl+shift, over a point") << (ctrl | shift) << true << plain << true << false;
    QTest::newRow("alt, over a point") << Qt::KeyboardModifiers(Qt::AltModifier) << true << plain << true << false;
}

void GLBoxEditingTest::hover()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, overPoint);
    QFETCH(QString, text);
    QFETCH(bool, pointHighlighted);
    QFETCH(bool, edgeHighlighted);

    addPoints({overPoint ? QPointF(1.5, -3) : QPointF(7, 7), {5, 5}});
    settle();

    move(pixelAt(glbox, 1.5, -3), Qt::NoButton, modifiers);

    QCOMPARE(message(), text);
    QCOMPARE(point(1)->highlighted, pointHighlighted);
    QCOMPARE(point(1)->edgeHighlighted, edgeHighlighted);
    QCOMPARE(glbox->controlPoints->highlighted, pointHighlighted || edgeHighlighted);
    QVERIFY(near(glbox->lastX, 1.5) && near(glbox->lastY, -3));
    QTRY_VERIFY(paints > 0);
}

void GLBoxEditingTest::hoverAwayClearsHighlight_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("plain") << Qt::KeyboardModifiers();
    QTest::newRow("ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier);
}

void GLBoxEditingTest::hoverAwayClearsHighlight()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);

    addPoints({{1, 1}, {5, 5}});
    move(pixelAt(glbox, 5, 5), Qt::NoButton, Qt::ShiftModifier); // highlights edge 2
    move(pixelAt(glbox, 1, 1), Qt::NoButton, modifiers);         // highlights point 1
    QVERIFY(point(1)->highlighted);

    move(pixelAt(glbox, -6, -6), Qt::NoButton, modifiers);

    QVERIFY(!glbox->controlPoints->highlighted);
    QVERIFY(!point(1)->highlighted);
    QVERIFY(!point(2)->edgeHighlighted);
}

void GLBoxEditingTest::releaseMarksDirty_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("middle") << Qt::MiddleButton;
    QTest::newRow("right") << Qt::RightButton;
}

void GLBoxEditingTest::releaseMarksDirty()
{
    QFETCH(Qt::MouseButton, button);

    addPoints({{1, 1}});
    const QPointF pos = pixelAt(glbox, 6, -6);
    press(button, pos);
    glbox->controlPoints->dirty = false;
    settle();

    release(button, pos);

    QVERIFY(glbox->controlPoints->dirty);
    QCOMPARE(glbox->mouseMode, GLBox::None);
    QTRY_VERIFY(paints > 0);
}

void GLBoxEditingTest::clickThroughPlatformAppends()
{
    // The same gesture delivered through the platform's event path.
    QTest::mouseClick(glbox, Qt::LeftButton, Qt::NoModifier, pixelAt(glbox, -4, 6).toPoint());

    QCOMPARE(glbox->controlPoints->points.count, 1u);
    QVERIFY(at(point(1)->position, -4, 6));
    QCOMPARE(message(), QString("Inserted control point at (-4.00, 6.00)"));
    QCOMPARE(glbox->mouseMode, GLBox::None);
    QVERIFY(glbox->controlPoints->dirty);
}

QTEST_MAIN(GLBoxEditingTest)
#include "GLBoxEditingTest.moc"
