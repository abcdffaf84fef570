#include "GLBox.h"

#include "curves/Curve.h"
#include "geometry/ControlPoints.h"
#include "model/Document.h"
#include "model/PolygonEditor.h"
#include "model/Scene.h"
#include "render/Frame.h"
#include "render/GlCanvas.h"
#include "render/GlDrawing.h"
#include "render/PostScriptWriter.h"
#include "render/SceneRenderer.h"
#include "view/PointEditor.h"
#include "view/SceneUpdater.h"

#include <QKeyEvent>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <GL/gl.h>

#include <algorithm>
#include <new>

GLBox::GLBox(QWidget *parent, const char *name, QMainWindow *mainWindow)
    : QOpenGLWidget(parent), model(std::make_unique<Scene>()), editor(std::make_unique<PolygonEditor>(*model)),
      painter(std::make_unique<SceneRenderer>(*model)), postScript(std::make_unique<PostScriptWriter>()),
      gestures(*model, *editor, [this](const QString &text, int time) { emit message(text, time); }),
      navigator([this](const QString &text, int time) { emit message(text, time); }), mainWindow(mainWindow),
      viewTransform(navigator.transform), modelview(navigator.modelview), projection(navigator.projection),
      viewport(navigator.viewport), gridSpace(model->backdrop.gridSpace), drawAxis(model->backdrop.drawAxis),
      controlPoints(&model->polygon()), curves(model->curves()), currentCurve(model->selected()),
      mouseMode(gestures.mouseMode), movingPoint(editor->movingPoint), lastX(gestures.lastX), lastY(gestures.lastY)
{
    setObjectName(QString::fromLatin1(name));
    GlDrawing::install();
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
    painter->font = font();

    updater = new SceneUpdater(*model, this);
    connect(updater, &SceneUpdater::areas, this, &GLBox::setArea);
    connect(updater, &SceneUpdater::convergence, this, &GLBox::setConvergence);
    connect(updater, &SceneUpdater::message, this, &GLBox::message);
    connect(updater, &SceneUpdater::notes, this, &GLBox::curveNotes);
    editor->edited = [this](const PolygonSnapshot::Shared &before, const PolygonSnapshot::Shared &after,
                            const std::string &step) {
        emit polygonEdited(before, after, tr(step.c_str()));
    };
}

GLBox::~GLBox() = default;

void GLBox::updateGL()
{
    update();
}

void GLBox::changed()
{
    updater->request();
    update();
}

void GLBox::showStatus(const QString &text, int milliseconds)
{
    emit message(text, milliseconds);
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
    // viewport again before each paintGL; the navigator keeps it for
    // mapToWorld.
    const int deviceSide = qRound(side * devicePixelRatioF());
    glViewport(0, 0, deviceSide, deviceSide);
    navigator.resize(deviceSide);
    loadViewProjection();
}

Frame GLBox::screenFrame() const
{
    return Frame::screen(viewTransform, worldPerDevicePixel(), width(), devicePixelRatioF(), wide);
}

void GLBox::paintGL()
{
    // A caller that changed the scene directly and asks for a frame at once
    // has it updated here; otherwise the updater already has.
    updater->updateIfStale();
    glClear(GL_COLOR_BUFFER_BIT);
    // The view may have changed since the last paint, and feedback
    // captures in the same context load projections of their own.
    loadViewProjection();
    painter->font = font();
    GlCanvas canvas;
    try {
        painter->draw(canvas, screenFrame());
    } catch (const std::bad_alloc &) {
        // Laying out a huge curve for the screen took more than the
        // machine holds: draw what fits from the next change on.
        model->clearCurves();
        showStatus("Not enough memory to draw the curve");
    }
    const Scene::Readout &read = updater->readout();
    if (read.measured)
        emit setArea(read.polygonArea, read.deltaArea);
}

void GLBox::paintStep(void (SceneRenderer::*step)(Canvas &, const Frame &))
{
    // The caller set up the context (a capture in feedback mode, say): the
    // step draws there as a paint would, in the feedback sequence while
    // OpenGL records.
    GlCanvas canvas;
    const Frame frame = GlCanvas::rendering()
                            ? screenFrame()
                            : Frame::postScript(viewTransform, worldPerDevicePixel(), width());
    (painter.get()->*step)(canvas, frame);
}

void GLBox::paintGrid()
{
    paintStep(&SceneRenderer::drawGrid);
}

void GLBox::paintAxis()
{
    paintStep(&SceneRenderer::drawAxes);
}

void GLBox::paintPasses()
{
    paintStep(&SceneRenderer::drawPasses);
}

void GLBox::paintComparedCurves()
{
    paintStep(&SceneRenderer::drawCompared);
}

void GLBox::paintStudyOverlays()
{
    paintStep(&SceneRenderer::drawOverlays);
}

Vector GLBox::mapToWorld(const QPointF &pos) const
{
    return navigator.mapToWorld(pos, height(), devicePixelRatioF());
}

double GLBox::worldPerDevicePixel() const
{
    return navigator.worldPerDevicePixel();
}

const StudyLayers &GLBox::studyLayers() const
{
    return painter->studyLayers();
}

void GLBox::mousePressEvent(QMouseEvent *event)
{
    // A press already counts its own button as held; the state before the
    // press is everything else.
    gestures.placement = Lattice::decimalFor(worldPerDevicePixel());
    gestures.press(event->button(), event->buttons() & ~event->button(), event->modifiers(),
                   mapToWorld(event->position()), navigator.readoutDecimals());
    changed();
}

void GLBox::mouseMoveEvent(QMouseEvent *event)
{
    gestures.placement = Lattice::decimalFor(worldPerDevicePixel());
    if (gestures.move(event->buttons(), event->modifiers(), mapToWorld(event->position()),
                      navigator.readoutDecimals()))
        changed();
}

void GLBox::mouseReleaseEvent(QMouseEvent * /*event*/)
{
    gestures.release();
    changed();
}

void GLBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int index = gestures.doubleClick(event->button(), event->buttons() & ~event->button(), event->modifiers(),
                                           mapToWorld(event->position()));
    if (index < 0) {
        QOpenGLWidget::mouseDoubleClickEvent(event); // another press
        return;
    }
    // The first click appended a point on top of the one meant.
    emit lastEditWithdrawn();
    changed();
    const Point &point = *controlPoints->points.indexNode(std::uint32_t(index) + 1)->item;
    auto *dialog = new PointEditor(this, std::size_t(index), point.position, navigator.readoutDecimals() + 2);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const Vector p = dialog->position();
        if (editor->setPosition(dialog->index(), p))
            showStatus(QString::asprintf("Moved control point %zu to (%2.*f, %2.*f)", dialog->index() + 1,
                                         navigator.readoutDecimals(), p.x(), navigator.readoutDecimals(), p.y()));
        changed();
    });
    // Window-modal and not blocking: the release of this click still
    // reaches the view, and the polygon cannot change under the dialog.
    dialog->open();
}

void GLBox::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const Qt::KeyboardModifiers keys = event->modifiers();
    if (navigator.wheel(event->angleDelta(), event->pixelDelta(), keys & Qt::ControlModifier,
                        keys & Qt::ShiftModifier, mapToWorld(event->position()), width()))
        update();
}

void GLBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        event->accept();
        deleteSelectedPoints();
        return;
    }
    bool moved = false;
    if (!navigator.key(event->key(), moved)) {
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (moved)
        update();
}

void GLBox::resetView()
{
    navigator.reset();
    update();
}

Curve *GLBox::selectedCurve()
{
    return model->selectedCurve();
}

std::array<float, 3> GLBox::compareColour(int scheme)
{
    return Schemes::row(Schemes::isScheme(scheme) ? scheme : Schemes::None).colour;
}

QStringList GLBox::legendLines() const
{
    QStringList lines;
    for (const Scene::LegendLine &line : model->legend())
        lines << QString::fromStdString(line.text);
    return lines;
}

