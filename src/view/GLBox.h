#pragma once

#include "analysis/ConvergenceSeries.h"
#include "model/PolygonSnapshot.h"
#include "model/Scene.h"
#include "view/GestureHandler.h"
#include "view/ViewNavigator.h"

#include <QOpenGLWidget>
#include <QStringList>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>

class Canvas;
class ControlPoints;
class Curve;
class Document;
class ExportOptions;
class Point;
class PolygonEditor;
class PostScriptWriter;
class QMainWindow;
class SceneRenderer;
class SceneUpdater;
class StudyLayers;
struct Frame;
template <typename T> class List;

// The OpenGL view of a square part of the plane (y up), a thin widget over
// its collaborators: the Scene (control polygon, four curves, selection,
// study, grid and axes), which changes only through the view's slots and
// gestures and is brought up to date by the SceneUpdater outside any
// paint; the SceneRenderer, which draws it in a Frame on a Canvas; the
// GestureHandler, which turns the mouse into PolygonEditor edits (each an
// undo step, told by polygonEdited); and the ViewNavigator, the visible
// square with its zooms and pans. Square, 10 pixels from its parent's
// top-left corner. It tells every message by a signal and asks the
// exports' questions through chooseExportFile and confirmReplace, which
// the window answers. The members that name the collaborators' state
// (controlPoints, curves, currentCurve, gridSpace, ...) refer into them.
class GLBox : public QOpenGLWidget
{
    Q_OBJECT

    // The collaborators come first: the public references below are bound
    // to them on construction.
    std::unique_ptr<Scene> model;
    std::unique_ptr<PolygonEditor> editor;
    std::unique_ptr<SceneRenderer> painter;
    std::unique_ptr<PostScriptWriter> postScript;
    GestureHandler gestures;
    ViewNavigator navigator;
    SceneUpdater *updater = nullptr;

public:
    using MouseMode = GestureHandler::MouseMode;
    using enum GestureHandler::MouseMode;
    static constexpr int actionMessageTime = GestureHandler::actionMessageTime;

    // parent owns the view as usual; name becomes the object name;
    // mainWindow (not owned, may be null) is the window that shows the
    // view's messages. Asks for a compatibility profile because all drawing
    // is OpenGL 1.1 and the PostScript export records feedback. Creates the
    // scene: the control polygon, then the four curves.
    GLBox(QWidget *parent, const char *name, QMainWindow *mainWindow);
    ~GLBox() override;

    // Asks for a repaint.
    void updateGL();
    // Steps of a frame, drawn into the current context as a paint draws
    // them (every vertex, in the feedback sequence, while OpenGL records
    // feedback): the border and grid lines, the axes, the pass polygons,
    // the compared curves, and the overlays over the selected curve
    // (limit, comb, pass marks). See SceneRenderer.
    void paintGrid();
    void paintAxis();
    void paintPasses();
    void paintComparedCurves();
    void paintStudyOverlays();

    // The world point (x, y, 0) under a widget position in logical pixels,
    // whatever the device pixel ratio; (0, 0, 0) before the first resize.
    Vector mapToWorld(const QPointF &pos) const;
    // World units per device pixel of the current view and size (0 before
    // the first resize): what the screen's curves are simplified against.
    double worldPerDevicePixel() const;
    // The frame the next paint draws in.
    Frame screenFrame() const;

    // The collaborators, for the window and for tests; the study's drawing
    // as last laid out.
    Scene &scene() { return *model; }
    SceneRenderer &renderer() { return *painter; }
    PostScriptWriter &postScriptWriter() { return *postScript; }
    const StudyLayers &studyLayers() const;

    // State kept in the collaborators: the visible square, the matrices
    // and viewport of the last resize (device pixels), the grid spacing
    // (<= 0: border only) and the axes, the polygon and the four curves
    // (positions 1 Bezier to 4 Vantrell proposed), the selected scheme (0:
    // none), the mouse action under way, the dragged point and the world
    // position of the last press or move.
    QMainWindow *mainWindow;
    ViewTransform &viewTransform;
    double (&modelview)[16];
    double (&projection)[16];
    int (&viewport)[4];
    int &gridSpace;
    bool &drawAxis;
    ControlPoints *controlPoints;
    List<Curve> &curves;
    const int &currentCurve;
    MouseMode &mouseMode;
    Point *&movingPoint;
    double &lastX;
    double &lastY;
    // The selected curve, or null when none is selected.
    Curve *selectedCurve();

    // Red, green and blue of scheme i's compared curve (1 to 4); black for
    // any other i.
    static std::array<float, 3> compareColour(int scheme);
    // The legend's lines, one per drawn curve (the selected first); empty
    // while nothing is compared.
    QStringList legendLines() const;
    // Lines and points twice as wide on screen; exports keep their widths.
    bool presentationWidths() const { return wide; }

    // The polygon, the selected scheme, every scheme's settings and the
    // view settings as they are now.
    Document snapshot() const;
    // Replaces all of those by document's (values in the panel's ranges):
    // ends a drag, the curves are made again, emits neither
    // setWidgetValues nor documentEdited, and repaints.
    void apply(const Document &document);
    // Replaces the control polygon by polygon (not null), as an undo or
    // redo does: ends a drag under way, the curves follow. Emits neither
    // polygonEdited nor documentEdited.
    void restorePolygon(const PolygonSnapshot::Shared &polygon);
    // A drag under way that has moved its point becomes an undo step now
    // (polygonEdited, "Move Point"); nothing without such a drag.
    void commitDrag();

    // Runs change on the scene (a setting of the laboratory's), then brings
    // the scene up to date and repaints; documentEdited follows when change
    // returns true, i.e. it changed something a file keeps.
    void changeScene(const std::function<bool(Scene &)> &change);

    // The exports' questions, answered by the window: the name of the
    // PostScript file (empty cancels), and whether the file at name,
    // which exists, may be replaced. Without them exportPS does nothing
    // and no file is replaced.
    std::function<QString()> chooseExportFile;
    std::function<bool(const QString &name)> confirmReplace;

    // Writes the figure of options to name, as given, after confirmReplace
    // for a name that is taken: the page of the polygon and the selected
    // curve (Figures, PostScriptWriter), or the view as drawn at
    // options.pngScale. An existing file is replaced only by a complete
    // one; every failure is told (exportFailed). True when name holds it;
    // false, writing nothing, for the curve's points (CSV, JSON), which
    // are no figure.
    bool exportFile(const QString &name, const ExportOptions &options);
    // Brings the scene up to date now, as before the next frame (with its
    // news told as usual), for a caller that reads the curves at once;
    // returns that update's read-out.
    const Scene::Readout &upToDate();

signals:
    // A scheme was selected: the panel should load its settings.
    void setWidgetValues();
    // Emitted by every update and every repaint while a scheme is
    // selected: the polygon's signed area (positive clockwise; 0 when open
    // or with fewer than 3 points) and the curve's area difference.
    void setArea(double polygonArea, double deltaArea);
    // The selected scheme's convergence series while the limit is shown,
    // after every change of its curve; current is false while a fuller one
    // is to come. Scheme 0 with an empty series: nothing measured.
    void setConvergence(const ConvergenceSeries &series, int scheme, bool current);
    // A setting that a file keeps changed through a slot (not apply).
    void documentEdited();
    // The control polygon changed from before to after through one edit
    // (mouse, keys, deleteControlPoints, setOpenCloseCurve), step naming it.
    void polygonEdited(const PolygonSnapshot::Shared &before, const PolygonSnapshot::Shared &after,
                       const QString &step);
    // The last polygonEdited step (a double click's first click) is to be
    // taken back and forgotten.
    void lastEditWithdrawn();
    // After every update: Scene::Readout's hint (why the selected curve
    // draws nothing, or diverges) and reached, each maybe empty.
    void curveNotes(const QString &hint, const QString &reached);
    // A message for the status bar, shown for milliseconds; an export's
    // failure, as the status bar and standard error show it.
    void message(const QString &text, int milliseconds);
    void exportFailed(const QString &text);

public slots:
    // Grid spacing in world units; 0 or less draws the border only.
    void setGridSpace(int spacing);
    // Check-box state: 2 closes the polygon, 0 opens it, 1 keeps it; the
    // curves are made again in every case.
    void setOpenCloseCurve(int state);
    // u in hundredths for the selected curve (Document::uFromSlider).
    void setU(int hundredths);
    // Precision in tenths (Document::precisionFromSlider).
    void setPrecision(int tenths);
    // Subdivision level of the selected curve; negatives become 0.
    void setLevel(int level);
    // Check-box states (2 on, 0 off, 1 unchanged): axes; the selected
    // curve's dots and depth shading.
    void setDrawAxis(int state);
    void setDrawCurvePoints(int state);
    void setDrawDepthColour(int state);
    // Drops every curve's result and every control point.
    void deleteControlPoints();
    // Deletes the selected points as one step (Delete, Backspace).
    void deleteSelectedPoints();
    // Selects scheme 0 (none) to 4, emits setWidgetValues() and then shows
    // the selection; any other value changes nothing.
    void setCurrentCurve(int index);
    // Writes the polygon and the selected curve (no grid, no axes), as the
    // view shows them, as one Encapsulated PostScript page to the file
    // chooseExportFile names.
    void exportPS();
    // Back to the reset view, the world square -10..10 at zoom 1.
    void resetView();
    // Check-box states of the study: comparing scheme (1 to 4), passes,
    // limit, curvature comb. 2 on, 0 off (freed), 1 unchanged.
    void setCompare(int scheme, int state);
    void setShowPasses(int state);
    void setShowLimit(int state);
    void setShowCurvature(int state);
    // Presentation widths on or off; repaints.
    void setPresentationWidths(bool on);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // On a control point: a dialog of its coordinates (PointEditor).
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Ctrl + wheel zooms about the pointer, the wheel scrolls.
    void wheelEvent(QWheelEvent *event) override;
    // + or = and - zoom about the centre, the arrow keys pan, Delete and
    // Backspace delete the selected points.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The scene changed: updated before the next frame, which is asked for.
    void changed();
    // One step of a frame in the current context.
    void paintStep(void (SceneRenderer::*step)(Canvas &, const Frame &));
    // Loads the view's projection and an identity modelview.
    void loadViewProjection();
    void showStatus(const QString &text, int milliseconds = actionMessageTime);
    // Export steps: the view drawn scale times larger; a file written
    // through write; a failure told.
    QImage renderImage(int scale, QString &failure);
    bool writeFile(const QString &name, const std::function<QString(std::FILE *)> &write,
                   const char *createFailureEnd);
    void reportExportFailure(const QString &message, const char *diagnosticEnd = "");

    bool wide = false;
};
