#include "view/ShownView.h"

#include "model/Document.h"
#include "geometry/ControlPoints.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Undo and redo through the real window: each kind of polygon edit made
// with real mouse events is taken back and made again exactly, named in
// the Edit menu, with the curve's read-out following; saving marks the
// state that undo can return to unmodified.
class GLMainWindowEditTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void undoRedoRestoresEachEdit_data();
    void undoRedoRestoresEachEdit();
    void undoDuringDragTakesBackTheDrag();
    void savingMarksTheCleanState();

private:
    template <typename W>
    W *widget(const char *name) const
    {
        return window->findChild<W *>(name);
    }
    void send(QEvent::Type type, double x, double y, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void click(double x, double y, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A click on a check box's indicator: the box may be wider than its
    // label, and a click beside the label does nothing.
    static void clickBox(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }
    void key(int key, Qt::KeyboardModifiers modifiers);
    void undo() { key(Qt::Key_Z, Qt::ControlModifier); }
    void redo() { key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }
    // The three area read-outs after a paint of the current polygon.
    QStringList readOut() const;
    PolygonSnapshot polygon() const { return {glbox->snapshot().points, glbox->controlPoints->closed}; }

    std::unique_ptr<GLMainWindow> window;
    GLBox *glbox = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
};

void GLMainWindowEditTest::init()
{
    window = std::make_unique<GLMainWindow>();
    glbox = showAndFindView(*window);
    QVERIFY(glbox);
    undoAction = widget<QAction>("undoAction");
    redoAction = widget<QAction>("redoAction");
    QVERIFY(undoAction && redoAction);
}

void GLMainWindowEditTest::cleanup()
{
    window.reset();
}

void GLMainWindowEditTest::send(QEvent::Type type, double x, double y, Qt::MouseButton button,
                                Qt::MouseButtons held, Qt::KeyboardModifiers modifiers)
{
    const QPointF local = pixelAt(glbox, x, y);
    QMouseEvent event(type, local, glbox->mapToGlobal(local), button, held, modifiers);
    QApplication::sendEvent(glbox, &event);
}

void GLMainWindowEditTest::click(double x, double y, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(glbox, Qt::LeftButton, modifiers, pixelAt(glbox, x, y).toPoint());
}

void GLMainWindowEditTest::key(int key, Qt::KeyboardModifiers modifiers)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), static_cast<Qt::Key>(key), modifiers);
}

QStringList GLMainWindowEditTest::readOut() const
{
    glbox->grabFramebuffer();
    QStringList texts;
    for (QLabel *label : window->findChild<QGroupBox *>("areaBox")->findChildren<QLabel *>())
        texts << label->text();
    return texts;
}

void GLMainWindowEditTest::undoRedoRestoresEachEdit_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("step");

    QTest::newRow("append") << "append" << "Append Point";
    QTest::newRow("split") << "split" << "Split Edge";
    QTest::newRow("delete") << "delete" << "Delete Point";
    QTest::newRow("drag") << "drag" << "Move Point";
    QTest::newRow("delete control points") << "delete all" << "Delete Control Points";
    QTest::newRow("close") << "close" << "Close Polygon";
    QTest::newRow("open") << "open" << "Open Polygon";
}

void GLMainWindowEditTest::undoRedoRestoresEachEdit()
{
    QFETCH(QString, edit);
    QFETCH(QString, step);

    // Appends in a row, each its own step, so that an undo that took back
    // more than one edit leaves fewer points than before.
    for (const QPointF p : QList<QPointF>{{-6, -3}, {-7, 2}, {-2, 6}, {6, 4}})
        click(p.x(), p.y());
    auto *closed = widget<QCheckBox>("openCloseCurveCheckBox");
    if (edit != "close")
        clickBox(closed);
    QCOMPARE(glbox->controlPoints->closed, edit != "close");
    auto *schemes = widget<QComboBox>("curveComboBox");
    schemes->setCurrentIndex(3);
    emit schemes->activated(3);
    // A curve that is not the polygon, so that its read-out tells them apart.
    widget<QSpinBox>("level")->setValue(3);
    const PolygonSnapshot before = polygon();
    const QStringList readOutBefore = readOut();
    const QString previousStep = undoAction->text();

    if (edit == "append") {
        click(5, -6);
    } else if (edit == "split") {
        click(-7, 2, Qt::ShiftModifier);
    } else if (edit == "delete") {
        click(-2, 6, Qt::ControlModifier);
    } else if (edit == "drag") {
        send(QEvent::MouseButtonPress, 6, 4, Qt::RightButton, Qt::RightButton);
        for (const QPointF p : QList<QPointF>{{5, 3}, {4, 1}, {3.5, -1}})
            send(QEvent::MouseMove, p.x(), p.y(), Qt::NoButton, Qt::RightButton);
        send(QEvent::MouseButtonRelease, 3.5, -1, Qt::RightButton, Qt::NoButton);
    } else if (edit == "delete all") {
        QTest::mouseClick(widget<QPushButton>("deleteControlPointsButton"), Qt::LeftButton);
    } else {
        clickBox(closed);
    }
    const PolygonSnapshot after = polygon();
    const QStringList readOutAfter = readOut();
    QVERIFY(!(after == before));
    QCOMPARE(undoAction->text(), "Undo " + step);

    undo();
    QVERIFY(polygon() == before);
    QCOMPARE(closed->isChecked(), before.closed);
    QCOMPARE(readOut(), readOutBefore);
    QCOMPARE(redoAction->text(), "Redo " + step);
    QCOMPARE(undoAction->text(), previousStep);

    redo();
    QVERIFY(polygon() == after);
    QCOMPARE(closed->isChecked(), after.closed);
    QCOMPARE(readOut(), readOutAfter);
    QCOMPARE(undoAction->text(), "Undo " + step);
    QCOMPARE(redoAction->text(), QString("Redo"));
    QVERIFY(!redoAction->isEnabled());
}

// Ctrl+Z while the right button is still down (the release may never
// come, when a box takes it): the drag so far is taken back as one step,
// and the moves after it no longer move the point.
void GLMainWindowEditTest::undoDuringDragTakesBackTheDrag()
{
    click(0, 0);
    click(4, 0);
    const Document before = glbox->snapshot();
    send(QEvent::MouseButtonPress, 4, 0, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseMove, 4, 3, Qt::NoButton, Qt::RightButton);
    const Document dragged = glbox->snapshot();

    undo();
    QVERIFY(glbox->snapshot() == before);
    send(QEvent::MouseMove, 2, 5, Qt::NoButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, 2, 5, Qt::RightButton, Qt::NoButton);
    QVERIFY(glbox->snapshot() == before);

    redo();
    QVERIFY(glbox->snapshot() == dragged);
}

void GLMainWindowEditTest::savingMarksTheCleanState()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    window->chooseSaveFile = [&folder] { return folder.filePath("clean.ornelle"); };

    click(-3, -3);
    QVERIFY(window->isWindowModified());
    QVERIFY(window->save());
    QVERIFY(!window->isWindowModified());
    QVERIFY(undoAction->isEnabled()); // saving keeps the history

    click(3, 3);
    QVERIFY(window->isWindowModified());
    undo();
    QVERIFY(!window->isWindowModified());
    undo(); // past the saved state
    QVERIFY(window->isWindowModified());
    redo();
    QVERIFY(!window->isWindowModified());

    // A setting is no step of the history: undoing does not take it back,
    // and the file no longer matches until it is saved.
    widget<QSlider>("grid space")->setValue(5);
    click(0, 5);
    undo();
    QVERIFY(window->isWindowModified());
    QCOMPARE(glbox->gridSpace, 5);

    QVERIFY(answerModalBox([this] { window->newFile(); }, QMessageBox::Discard));
    QVERIFY(!undoAction->isEnabled());
    QVERIFY(!redoAction->isEnabled());
    QCOMPARE(undoAction->text(), QString("Undo"));
    QVERIFY(!window->isWindowModified());
}

QTEST_MAIN(GLMainWindowEditTest)
#include "GLMainWindowEditTest.moc"
