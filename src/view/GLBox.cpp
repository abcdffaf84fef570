#include "GLBox.h"

#include "curves/BSplineCurve.h"
#include "curves/BezierCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/ProposedCurve.h"
#include "geometry/ControlPoints.h"

#include <QFileDialog>
#include <QMainWindow>
#include <QStatusBar>
#include <QSurfaceFormat>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <new>

namespace {

constexpr double worldHalf = 10.0;

// Projection of the fixed world square onto whatever viewport is current.
void loadWorldProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(-worldHalf, worldHalf, -worldHalf, worldHalf);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void line(double x1, double y1, double x2, double y2)
{
    glBegin(GL_LINES);
    glVertex2d(x1, y1);
    glVertex2d(x2, y2);
    glEnd();
}

} // namespace

GLBox::GLBox(QWidget *parent, const char *name, QMainWindow *mainWindow)
    : QOpenGLWidget(parent), mainWindow(mainWindow), controlPoints(new ControlPoints)
{
    setObjectName(QString::fromLatin1(name));
    // Immediate mode and feedback mode only exist in a compatibility
    // profile; a core profile would draw nothing.
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    setFormat(format);
    // Hover feedback needs moves without a button held.
    setMouseTracking(true);

    // The order fixes the scheme numbers that the panel and the export use.
    curves.append(new BezierCurve(controlPoints), 0);
    curves.append(new ChaikinCurve(controlPoints), 0);
    curves.append(new BSplineCurve(controlPoints), 0);
    curves.append(new ProposedCurve(controlPoints), 0);

    chooseExportFile = [this] {
        // The export asks its own question before it replaces a file; a
        // second one from the dialog would ask twice.
        return QFileDialog::getSaveFileName(this, QString(), ".", "PostScript (*.ps)", nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
}

GLBox::~GLBox()
{
    for (Node<Curve> *n = curves.head; n; n = n->next)
        delete n->item;
    delete controlPoints;
}

void GLBox::updateGL()
{
    update();
}

void GLBox::showStatus(const QString &text, int milliseconds)
{
    if (mainWindow)
        mainWindow->statusBar()->showMessage(text, milliseconds);
}

void GLBox::initializeGL()
{
    glClearColor(0.75f, 0.75f, 0.75f, 0.75f);
    loadWorldProjection();
}

void GLBox::resizeGL(int w, int h)
{
    // w and h are logical pixels. Keeping the widget itself square keeps
    // one world unit equally long on both axes; the geometry change comes
    // back here once more with w == h.
    const int side = std::min(w, h);
    setGeometry(10, 10, side, side);

    // The framebuffer is in device pixels: a viewport in logical pixels
    // would draw into a corner on a high-density screen. Qt sets the same
    // viewport again before each paintGL; the copy stored here is what
    // mapToWorld un-projects against.
    const int deviceSide = qRound(side * devicePixelRatioF());
    glViewport(0, 0, deviceSide, deviceSide);
    loadWorldProjection();
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // The curves simplify what they draw for this many world units per
    // device pixel (an empty view shows nothing to simplify for).
    for (Node<Curve> *n = curves.head; n; n = n->next)
        n->item->displayScale = deviceSide > 0 ? 2 * worldHalf / deviceSide : 0.0;
}

void GLBox::paintGL()
{
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    paintGrid();
    paintAxis();
    controlPoints->draw();
    if (Curve *curve = selectedCurve())
        paintCurve(*curve);

    glPopMatrix();
}

void GLBox::paintCurve(Curve &curve)
{
    // The polygon's area is taken before render() clears dirty, so that it
    // is recomputed from the points that the curve is about to use.
    const double area = controlPoints->area();
    const bool wasDirty = controlPoints->dirty;
    try {
        curve.render();
    } catch (const std::bad_alloc &) {
        // The level asked for more than the machine holds: drop what was
        // made of it and keep the polygon and the program going. dirty is
        // already clear, so the next paint does not try again; the next
        // edit or setting does.
        curve.clearResult();
        showStatus(curve.usesPrecision ? QString::asprintf("Not enough memory for precision %2.2f", curve.precision)
                                       : QString::asprintf("Not enough memory for level %d", curve.level),
                   actionMessageTime);
        emit setArea(area, area);
        return;
    }
    // A curve that is not drawn has no area: the final area reads 0, and
    // not the difference of a curve that is no longer there. (The polygon
    // has no area either then, unless memory ran out.)
    emit setArea(area, curve.drawsCurve() ? curve.deltaArea : area);
    // render() clears dirty exactly when it rebuilt and subdivided.
    if (wasDirty && !controlPoints->dirty)
        reportLimit(curve);
}

void GLBox::reportLimit(const Curve &curve)
{
    // Only the level-driven schemes can be cut short in practice, and only
    // a closed polygon subdivides them; otherwise limited is left over from
    // an earlier subdivision.
    if (!curve.usesLevel || !controlPoints->closed || !curve.limited || !curve.result) {
        shownLimit = {};
        return;
    }
    const QString text = QString::asprintf("Level %d limited to %d (%u points)", curve.level, curve.reachedLevel,
                                           static_cast<unsigned>(curve.result->count));
    const std::pair<int, QString> limit{currentCurve, text};
    if (limit == shownLimit)
        return;
    shownLimit = limit;
    showStatus(text, actionMessageTime);
}

void GLBox::paintGrid()
{
    glLineWidth(1.0f);
    glColor3d(0.5, 0.5, 0.5);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // The right and top edges sit just inside the world square so that
    // they fall on the last pixel row and column instead of outside.
    glBegin(GL_LINE_LOOP);
    glVertex2d(-10, 9.99);
    glVertex2d(-10, -10);
    glVertex2d(9.99, -10);
    glVertex2d(9.99, 9.99);
    glEnd();

    if (gridSpace > 0) {
        for (int x = -10; x <= 10; x += gridSpace)
            line(x, 10, x, -10);
        for (int y = 10; y >= -10; y -= gridSpace)
            line(-10, y, 10, y);
    }

    glPopMatrix();
}

void GLBox::paintAxis()
{
    if (!drawAxis)
        return;
    glLineWidth(2.0f);
    glColor3d(0.5, 0.5, 0.5);
    line(-10, 0, 10, 0);
    line(0, 10, 0, -10);
    glLineWidth(1.0f);
}

Vector GLBox::mapToWorld(const QPointF &pos) const
{
    // Mouse positions are logical pixels while the stored viewport is in
    // device pixels: scale before un-projecting. The window y axis points
    // up from the bottom edge of the widget.
    const double ratio = devicePixelRatioF();
    const double winX = pos.x() * ratio;
    const double winY = (height() - pos.y()) * ratio;
    double x = 0, y = 0, z = 0;
    if (gluUnProject(winX, winY, 0.0, modelview, projection, viewport, &x, &y, &z) != GL_TRUE)
        return {};
    return {x, y, 0.0};
}
