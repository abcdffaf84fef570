#pragma once

#include "geometry/Vector.h"

#include <QOpenGLWidget>

class ControlPoints;
class Point;
class QMainWindow;
class QMouseEvent;
class QPointF;
class QString;

// The OpenGL view of the world square -10..10 (y up), always square and
// placed 10 pixels from its parent's top-left corner. It owns the control
// polygon, draws grid, axes and polygon on every repaint, turns mouse
// gestures into edits of the polygon and reports through the status bar of
// mainWindow. Settings are plain public members that the view's own slots
// and the main window read and write.
class GLBox : public QOpenGLWidget
{
    Q_OBJECT

public:
    // Which mouse action is under way; only Move changes how moves are
    // handled, Insert and Select are recorded for completeness.
    enum MouseMode { None = 0, Insert = 1, Select = 2, Move = 3 };

    // Status-bar time-outs in milliseconds: results of actions and hints,
    // and coordinate read-outs while hovering or dragging.
    static constexpr int actionMessageTime = 2000;
    static constexpr int readoutMessageTime = 1000;

    // parent owns the view as usual; name becomes the object name;
    // mainWindow (not owned, may be null in which case messages are
    // dropped) receives every status message. Asks for a compatibility
    // profile because all drawing is immediate mode and export uses
    // feedback mode.
    GLBox(QWidget *parent, const char *name, QMainWindow *mainWindow);
    ~GLBox() override;

    // Asks for a repaint; every change to what is drawn ends with this.
    void updateGL();

    // Border at 9.99 and grid lines every gridSpace world units (none when
    // gridSpace <= 0), grey, width 1. Leaves the matrix stack as it was.
    void paintGrid();
    // The two axes through the origin at width 2, when drawAxis is set;
    // leaves the line width at 1.
    void paintAxis();

    // The world point (x, y, 0) under a widget position given in logical
    // (device-independent) pixels, whatever the device pixel ratio. Uses
    // the matrices and viewport stored by the last resize; (0, 0, 0) before
    // the first resize.
    Vector mapToWorld(const QPointF &pos) const;

    int gridSpace = 2;  // grid spacing in world units; <= 0 draws the border only
    bool drawAxis = true;

    // GL state as captured at the end of the last resize, in device pixels.
    double modelview[16] = {};
    double projection[16] = {};
    int viewport[4] = {};

    QMainWindow *mainWindow;            // not owned
    ControlPoints *controlPoints;       // owned; lives as long as the view
    MouseMode mouseMode = None;
    Point *movingPoint = nullptr;       // point of controlPoints being dragged, not owned
    double lastX = 0.0;                 // world position of the last press or move
    double lastY = 0.0;

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Shows text in mainWindow's status bar for milliseconds.
    void showStatus(const QString &text, int milliseconds);
};
