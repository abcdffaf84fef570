#include "GLBox.h"

#include "StudyLayers.h"
#include "curves/BSplineCurve.h"
#include "curves/BezierCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/ProposedCurve.h"
#include "geometry/ControlPoints.h"
#include "geometry/DrawStyle.h"

#include <QFileDialog>
#include <QMainWindow>
#include <QStatusBar>
#include <QSurfaceFormat>
#include <QTimer>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <optional>
#include <cmath>
#include <new>

namespace {

void line(double x1, double y1, double x2, double y2)
{
    glBegin(GL_LINES);
    glVertex2d(x1, y1);
    glVertex2d(x2, y2);
    glEnd();
}

} // namespace

GLBox::GLBox(QWidget *parent, const char *name, QMainWindow *mainWindow)
    : QOpenGLWidget(parent), mainWindow(mainWindow), controlPoints(new ControlPoints), study(new StudyLayers)
{
    setObjectName(QString::fromLatin1(name));
    // Immediate mode and feedback mode only exist in a compatibility
    // profile; a core profile would draw nothing.
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    setFormat(format);
    // Hover feedback needs moves without a button held.
    setMouseTracking(true);
    // A click gives the view the keyboard for zooming and panning; the
    // click itself still does what its button does. Tabbing does not stop
    // here, so the panel's keyboard use stays as it was.
    setFocusPolicy(Qt::ClickFocus);

    // The order fixes the scheme numbers that the panel and the export use.
    curves.append(new BezierCurve(controlPoints), 0);
    curves.append(new ChaikinCurve(controlPoints), 0);
    curves.append(new BSplineCurve(controlPoints), 0);
    curves.append(new ProposedCurve(controlPoints), 0);

    // The full convergence series waits until the edits pause.
    convergenceTimer = new QTimer(this);
    convergenceTimer->setSingleShot(true);
    convergenceTimer->setInterval(convergenceDelay);
    connect(convergenceTimer, &QTimer::timeout, this, [this] {
        if (showLimit)
            measureConvergence(true);
    });

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
    loadViewProjection();
}

void GLBox::loadViewProjection()
{
    double matrix[16];
    viewTransform.projectionMatrix(matrix);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(matrix);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
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
    glGetIntegerv(GL_VIEWPORT, viewport);
    loadViewProjection();
    storeViewMatrices();
}

void GLBox::storeViewMatrices()
{
    // The same matrices as loadViewProjection gives OpenGL, kept in double
    // precision: read back from OpenGL they would carry its single
    // precision, a good part of a pixel at the largest zooms.
    viewTransform.projectionMatrix(projection);
    std::fill(modelview, modelview + 16, 0.0);
    for (int i = 0; i < 16; i += 5)
        modelview[i] = 1.0;
    // The curves simplify what they draw for this many world units per
    // device pixel (an empty view shows nothing to simplify for); a change
    // of the scale makes them simplify again at their next paint.
    const double scale = worldPerDevicePixel();
    for (Node<Curve> *n = curves.head; n; n = n->next)
        n->item->displayScale = scale;
}

void GLBox::paintGL()
{
    glClear(GL_COLOR_BUFFER_BIT);
    // The view may have changed since the last paint, and feedback
    // captures in the same context load projections of their own.
    loadViewProjection();
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // Wider lines for a projector, on screen only: a PNG export paints
    // through here too, under a style of its own, which stays in force.
    static const DrawStyle presentation = [] {
        DrawStyle style;
        style.widthScale = 2.0f;
        return style;
    }();
    std::optional<DrawStyle::Scope> wide;
    if (presentationWidths && DrawStyle::onScreen())
        wide.emplace(presentation);

    // The study's additions come in drawing order around the polygon and
    // the selected curve; with every switch off they draw nothing.
    const bool polygonChanged = beginStudyFrame();
    paintGrid();
    paintAxis();
    paintPasses();
    controlPoints->draw();
    paintComparedCurves();
    if (Curve *curve = selectedCurve())
        paintCurve(*curve);
    paintStudyOverlays();
    paintLegend();
    endStudyFrame(polygonChanged);
    if (showLimit && convergenceStale)
        measureConvergence(false);

    glPopMatrix();
}

void GLBox::setPresentationWidths(bool on)
{
    presentationWidths = on;
    updateGL();
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
    QString text = QString::asprintf("Level %d limited to %d (%u points", curve.level, curve.reachedLevel,
                                     static_cast<unsigned>(curve.result->count));
    text += curve.pointLimit < Curve::pointBudget ? ", " + budgetShare(curve) + " while comparing)" : ")";
    const std::pair<int, QString> limit{currentCurve, text};
    if (limit == shownLimit)
        return;
    shownLimit = limit;
    showStatus(text, actionMessageTime);
}

void GLBox::paintGrid()
{
    DrawStyle::lineWidth(1.0f);
    glColor3d(0.5, 0.5, 0.5);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const ViewTransform &v = viewTransform;
    // The right and top edges sit just inside the visible square so that
    // they fall on the last pixel row and column instead of outside: 0.01
    // world units at the reset view, the same share of the side at others.
    const double inset = v.side() * 0.0005;
    glBegin(GL_LINE_LOOP);
    glVertex2d(v.left(), v.top() - inset);
    glVertex2d(v.left(), v.bottom());
    glVertex2d(v.right() - inset, v.bottom());
    glVertex2d(v.right() - inset, v.top() - inset);
    glEnd();

    // The lattice of the reset view's lines (verticals counted from x = -10,
    // horizontals from y = 10), cut to the visible square; at the reset view
    // k runs from 0 while the line stays within -10..10, as it always did.
    // A grid denser than a few pixels would only grey the view over.
    const double g = gridSpace;
    if (gridSpace > 0 && g * width() / v.side() >= minGridPixels) {
        const auto first = static_cast<long long>(std::ceil((v.left() + 10) / g));
        const auto last = static_cast<long long>(std::floor((v.right() + 10) / g));
        for (long long k = first; k <= last; ++k)
            line(-10 + k * g, v.top(), -10 + k * g, v.bottom());
        const auto top = static_cast<long long>(std::ceil((10 - v.top()) / g));
        const auto bottom = static_cast<long long>(std::floor((10 - v.bottom()) / g));
        for (long long k = top; k <= bottom; ++k)
            line(v.left(), 10 - k * g, v.right(), 10 - k * g);
    }

    glPopMatrix();
}

void GLBox::paintAxis()
{
    if (!drawAxis)
        return;
    const ViewTransform &v = viewTransform;
    DrawStyle::lineWidth(2.0f);
    glColor3d(0.5, 0.5, 0.5);
    line(v.left(), 0, v.right(), 0);
    line(0, v.top(), 0, v.bottom());
    DrawStyle::lineWidth(1.0f);
}

Vector GLBox::mapToWorld(const QPointF &pos) const
{
    // Mouse positions are logical pixels while the stored viewport is in
    // device pixels: scale before un-projecting. The window y axis points
    // up from the bottom edge of the widget.
    if (viewport[2] <= 0)
        return {};
    const double ratio = devicePixelRatioF();
    const double winX = pos.x() * ratio;
    const double winY = (height() - pos.y()) * ratio;
    double x = 0, y = 0, z = 0;
    if (gluUnProject(winX, winY, 0.0, modelview, projection, viewport, &x, &y, &z) != GL_TRUE)
        return {};
    return {x, y, 0.0};
}
