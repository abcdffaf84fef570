#pragma once

#include "analysis/ConvergenceSeries.h"
#include "document/PolygonSnapshot.h"
#include "geometry/List.h"
#include "geometry/Vector.h"
#include "geometry/ViewTransform.h"

#include <QOpenGLWidget>
#include <QStringList>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class ControlPoints;
class Curve;
class Document;
class ExportOptions;
class Point;
class QKeyEvent;
class QMainWindow;
class QImage;
class QMouseEvent;
class QPointF;
class QString;
class QTimer;
class QWheelEvent;
class StudyLayers;

// The OpenGL view of a square part of the plane (y up): the world square
// -10..10 at the reset view, any other square after zooming and panning
// (viewTransform). Always square and placed 10 pixels from its parent's
// top-left corner. It owns the control polygon and one curve of each
// scheme, draws grid, axes, polygon and the selected curve on every
// repaint, turns mouse gestures into edits of the polygon, the wheel and
// keys into zooms and pans, and reports through the status bar of
// mainWindow. Settings are plain public members that the view's own slots
// and the main window read and write; the polygon and the settings a file
// keeps also travel as one Document (snapshot, apply), and every edit of
// the polygon is reported as one undo step (polygonEdited) and can be put
// back (restorePolygon). The "Study" switches add other schemes' curves,
// the passes, the closed-form limit with its convergence series, and a
// curvature comb to the picture. Sources: GLBox.cpp (frame and painting),
// GLBoxEditing.cpp (mouse), GLBoxSettings.cpp (slots), GLBoxExport.cpp
// (PostScript), GLBoxExportFormats.cpp (EPS, PDF, SVG and PNG figures),
// GLBoxZoom.cpp (zoom and pan), GLBoxStudy.cpp (the study's switches and
// drawing), GLBoxDocument.cpp (snapshot and apply), GLBoxHistory.cpp (undo
// steps).
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
    // feedback mode. Creates the control polygon, then the four curves.
    GLBox(QWidget *parent, const char *name, QMainWindow *mainWindow);
    // Frees the curves, then the control polygon.
    ~GLBox() override;

    // Asks for a repaint; every change to what is drawn ends with this.
    void updateGL();

    // The border of the visible square (its right and top edges a
    // two-thousandth of the side inside: 9.99 at the reset view) and, when
    // gridSpace > 0, the grid lines x = -10 + k * gridSpace and
    // y = 10 - k * gridSpace that cross the visible square, verticals left
    // to right, then horizontals top to bottom; grey, width 1. Grid lines
    // closer than minGridPixels logical pixels are left out, leaving the
    // border. Leaves the matrix stack as it was.
    void paintGrid();
    // The two axes through the origin across the visible square at width
    // 2, when drawAxis is set; leaves the line width at 1.
    void paintAxis();

    // The study's paint steps, each nothing while its switch is off;
    // paintGL and the export run them around the polygon and the selected
    // curve, laying out again what changed since the last paint.
    // paintPasses: the selected scheme's pass polygons (beneath the
    // control polygon). paintComparedCurves: the compared curves, each
    // subdivided first when stale. paintStudyOverlays: over the selected
    // curve, its limit, curvature comb and pass marks.
    void paintPasses();
    void paintComparedCurves();
    void paintStudyOverlays();

    // The world point (x, y, 0) under a widget position given in logical
    // (device-independent) pixels, whatever the device pixel ratio. Uses
    // the matrices and viewport stored by the last resize or view change;
    // (0, 0, 0) before the first resize.
    Vector mapToWorld(const QPointF &pos) const;

    // World units per device pixel of the current view and size (0 before
    // the first resize): what a curve drawn in display space is simplified
    // against; it changes with every resize, zoom and reset.
    double worldPerDevicePixel() const;

    // Grid lines closer together than this, in logical pixels, are not
    // drawn.
    static constexpr double minGridPixels = 4.0;
    // One wheel notch (an angle delta of 120) or key press zooms by this
    // factor, or pans by a panStep of the visible side.
    static constexpr double zoomStep = 1.25;
    static constexpr double panStep = 0.1;

    // The visible square; change it through the wheel, the keys and
    // resetView(), which also store the matrices and repaint.
    ViewTransform viewTransform;

    int gridSpace = 2;  // grid spacing in world units; <= 0 draws the border only
    bool drawAxis = true;

    // The study's switches, all off at start (the view then draws exactly
    // what it draws without them); set through the slots below.
    // compared[i]: draw scheme i's curve (1 to 4; [0] unused) too, with its
    // own settings, thin and in compareColour(i), unless it is the selected
    // scheme, which is drawn as always.
    std::array<bool, 5> compared{};
    bool showPasses = false;    // the selected scheme's earlier levels and the last pass's roles
    bool showLimit = false;     // its closed-form limit, and the convergence series
    bool showCurvature = false; // its curvature comb
    // Lines and points twice as wide on screen, for a projector; exports
    // keep their own widths.
    bool presentationWidths = false;

    // Width in device pixels of a compared curve (the selected one: 3).
    static constexpr float compareWidth = 1.5f;
    // Red, green and blue of scheme i's compared curve (1 to 4); black for
    // any other i.
    static std::array<float, 3> compareColour(int scheme);
    // Schemes compared beside the selected one: ticked, not selected. Each
    // may fill a quarter of Curve::pointBudget, and the selected curve
    // keeps what they leave, so that all drawn curves together stay within
    // the budget's time and memory.
    int comparedCount() const;
    // The legend's lines as shown in the view's top-left corner, one per
    // drawn curve (the selected first); empty while nothing is compared.
    QStringList legendLines() const;
    // The study's drawing, for reports and tests.
    const StudyLayers &studyLayers() const { return *study; }
    // After the limit's series is measured this long with no new change,
    // the full series replaces a quick partial one (milliseconds).
    static constexpr int convergenceDelay = 250;
    // Work (ConvergenceSeries's measure) that the series may take within
    // a paint; a series that needs more is finished convergenceDelay after
    // the last change, with ConvergenceSeries::defaultWorkBudget.
    static constexpr std::uint64_t quickConvergenceWork = std::uint64_t{1} << 16;

    // The matrices of the current view transform (modelview identity) and
    // the viewport captured at the end of the last resize, in device
    // pixels; what mapToWorld un-projects against.
    double modelview[16] = {};
    double projection[16] = {};
    int viewport[4] = {};

    QMainWindow *mainWindow;            // not owned
    ControlPoints *controlPoints;       // owned; lives as long as the view
    MouseMode mouseMode = None;
    Point *movingPoint = nullptr;       // point of controlPoints being dragged, not owned
    double lastX = 0.0;                 // world position of the last press or move
    double lastY = 0.0;

    // The schemes at 1-based positions 1 Bezier, 2 Chaikin, 3 cubic
    // B-spline, 4 Vantrell proposed; the list holds the view's own curve
    // objects, each built on controlPoints, freed with the view.
    List<Curve> curves;
    // Position in curves of the selected scheme, 1 to 4; 0: none.
    int currentCurve = 0;
    // The selected curve, or null when none is selected.
    Curve *selectedCurve();

    // The u that setU stores for a slider position in hundredths:
    // hundredths x 0.01, with 0 taken as 0.01 and 1 as 0.99.
    static double uFromHundredths(int hundredths);
    // The precision in world units that setPrecision stores for tenths:
    // tenths x 0.1, with 0 taken as 0.05.
    static double precisionFromTenths(int tenths);

    // The polygon, the selected scheme, every scheme's settings and the
    // view settings as they are now.
    Document snapshot() const;
    // Replaces all of those by document's, whose values must lie in the
    // ranges the panel produces (as DocumentFile gives them). Ends a drag
    // under way, drops every curve's result, emits neither setWidgetValues
    // nor documentEdited (the caller shows the values), and repaints.
    void apply(const Document &document);

    // Replaces the control polygon by polygon (not null), as an undo or
    // redo does: ends a drag under way, drops every curve's result, marks
    // the polygon dirty and repaints, so that the curve and the read-out
    // follow. Emits neither polygonEdited nor documentEdited.
    void restorePolygon(const PolygonSnapshot::Shared &polygon);
    // A drag under way that has moved its point becomes an undo step now
    // (polygonEdited, "Move Point"); while the button stays down, the
    // moves from here on make another step. Nothing without such a drag.
    void commitDrag();

    // Asks for the name of the PostScript file to write; an empty name
    // cancels the export. By default the modal save-file dialog in the
    // current folder with the filter "PostScript (*.ps)"; replaceable,
    // for instance to export without a dialog.
    std::function<QString()> chooseExportFile;

    // The largest feedback buffer, in values, that an export may grow to
    // (4 bytes each); a page that needs more is refused as too large.
    static constexpr int maxExportFeedback = 1 << 26;
    int exportFeedbackLimit = maxExportFeedback;

    // Writes the figure that options describe to the file name, used as
    // given, asking before it replaces an existing name: for the vector
    // formats the control polygon and the selected curve as one page of
    // ExportOptions::pageSide points (no grid, no axes), its bounding box
    // tight around the drawing, widths as on screen; for PNG the view as
    // drawn, at options.pngScale times its size. The rules of exportPS
    // hold: an existing file is replaced only by a complete one, and every
    // failure is told in the status bar and on standard error. True when
    // name now holds the figure.
    bool exportFile(const QString &name, const ExportOptions &options);

signals:
    // A scheme was selected: the panel should load its settings.
    void setWidgetValues();
    // Emitted by every repaint while a scheme is selected: the control
    // polygon's signed area (positive clockwise; 0 when open or with
    // fewer than 3 points) and the curve's area difference deltaArea.
    void setArea(double polygonArea, double deltaArea);
    // The selected scheme's convergence series (ConvergenceSeries) while
    // showLimit is set, after every change of its curve: current is false
    // while a fuller series is still to come (a quick, partial one during
    // edits), true when this is the final one. scheme is the selected
    // scheme (SchemeSetup numbering); 0 with an empty series when nothing
    // is measured (showLimit off, or no scheme).
    void setConvergence(const ConvergenceSeries &series, int scheme, bool current);
    // A setting that a file keeps (scheme, a scheme's settings, axes,
    // grid) has just changed through a slot (not through apply); edits of
    // the polygon are told by polygonEdited instead.
    void documentEdited();
    // The control polygon has just changed from before to after through
    // one edit: a mouse edit (step "Append Point", "Split Edge", "Delete
    // Point", or "Move Point" for a whole drag from press to release),
    // deleteControlPoints ("Delete Control Points") or setOpenCloseCurve
    // ("Close Polygon", "Open Polygon"). Never for an edit that changed
    // nothing; before and after are never null.
    // An export failed: message names the file and the reason, as the
    // status bar and standard error show it.
    void exportFailed(const QString &message);
    void polygonEdited(const PolygonSnapshot::Shared &before, const PolygonSnapshot::Shared &after,
                       const QString &step);

public slots:
    // Grid spacing in world units; 0 or less draws the border only.
    void setGridSpace(int spacing);
    // Check-box state: 2 closes the polygon, 0 opens it, 1 keeps it;
    // marks the polygon dirty in every case.
    void setOpenCloseCurve(int state);
    // u in hundredths for the selected curve: 0 is taken as 0.01 and 100
    // as 0.99, anything else (negatives too) as it is. No-op without a
    // selected scheme.
    void setU(int hundredths);
    // Precision in tenths of a world unit for the selected curve; 0 is
    // taken as 0.05. No-op without a selected scheme.
    void setPrecision(int tenths);
    // Subdivision level of the selected curve; negatives become 0. No-op
    // without a selected scheme.
    void setLevel(int level);
    // Check-box state for the axes: 2 on, 0 off, 1 unchanged.
    void setDrawAxis(int state);
    // Check-box state for the selected curve's dots at its points. No-op
    // without a selected scheme; does not re-subdivide.
    void setDrawCurvePoints(int state);
    // Check-box state for the selected curve's depth shading. No-op
    // without a selected scheme; does not re-subdivide.
    void setDrawDepthColour(int state);
    // Drops every curve's result and every control point.
    void deleteControlPoints();
    // Selects scheme 0 (none) to 4, emits setWidgetValues() and then shows
    // the selection; any other value changes nothing.
    void setCurrentCurve(int index);
    // Writes the control polygon and the selected curve (no grid, no
    // axes) as one Encapsulated PostScript page to the file that
    // chooseExportFile names, asking before it replaces an existing name.
    // An existing file is replaced only by a complete page; every failure
    // is told in the status bar and on standard error. The study's curves,
    // passes, limit and comb are on the page as on screen, with the
    // legend's names as text.
    void exportPS();
    // Back to the reset view, the world square -10..10 at zoom 1; says so
    // in the status bar and repaints.
    void resetView();
    // Check-box state for comparing scheme (1 to 4; any other scheme is
    // ignored): 2 draws its curve too, 0 stops and frees it, 1 keeps it.
    void setCompare(int scheme, int state);
    // Check-box states for showPasses, showLimit and showCurvature: 2 on,
    // 0 off (what the switch drew is freed), 1 unchanged.
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
    // Ctrl + wheel zooms about the point under the pointer; the wheel pans
    // up and down, Shift + wheel (or a horizontal wheel) left and right.
    void wheelEvent(QWheelEvent *event) override;
    // + or = and - zoom about the centre, the arrow keys pan; other keys go
    // to the parent as usual.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Check boxes deliver 0 (off), 1 (undecided) or 2 (on): sets flag for
    // 0 and 2, leaves it for 1. True when flag changed.
    static bool applyCheckState(bool &flag, int state);
    // What every release does: back to no mouse mode, the dragged point
    // (if any) loses its ghost, the curves subdivide again, repaint.
    void endGesture();
    // Loads the current view's projection (and an identity modelview) into
    // the current context, leaving the modelview matrix current.
    void loadViewProjection();
    // Stores the view's matrices for mapToWorld (the viewport is the
    // resize's) and hands the curves their display scale.
    void storeViewMatrices();
    // After a zoom, pan or reset: stores the matrices and repaints.
    void applyView();
    // Zooms by factor keeping world point p in its place, or pans by
    // (dx, dy) world units; both show the new zoom or centre and repaint
    // when the view changed.
    void zoomAt(const Vector &p, double factor);
    void panBy(double dx, double dy);
    // Decimals of the coordinate read-outs: 2 below zoom 10, one more for
    // each tenfold zoom beyond, so one pixel's step stays readable.
    int readoutDecimals() const;

    // Shows text in mainWindow's status bar for milliseconds.
    void showStatus(const QString &text, int milliseconds);
    // After a setting that changes the curve's shape: shows text, marks
    // the polygon dirty so that the next paint subdivides, repaints.
    void curveShapeChanged(const QString &text);
    // paintGL's curve step: area, render, setArea, limit report.
    void paintCurve(Curve &curve);
    // After a paint that subdivided: tells the user when the level could
    // not be reached within Curve::pointBudget.
    void reportLimit(const Curve &curve);

    // Export steps, shared by every export format. confirmOverwrite: true
    // when name is free or the user agreed to replace it.
    bool confirmOverwrite(const QString &name);
    // Runs write on a new file beside name and moves it over name only
    // when write returned no failure text and every byte reached the disk;
    // otherwise removes it and reports. True when name now holds the page.
    // createFailureEnd follows a failure to create the file on standard
    // error.
    bool writeExportFile(const QString &name, const std::function<QString(std::FILE *)> &write,
                         const char *createFailureEnd = ". Aborting Postscript export!");
    // Records the control polygon and the selected curve as one gl2ps page
    // of format into file, doubling the feedback buffer while the page
    // does not fit, up to exportFeedbackLimit. Returns the reason of a
    // failure, or an empty text.
    // With page, the page of exportFile instead of the view's own: a
    // fixed square, a tight box, widths and colours from the page style.
    QString recordPage(int format, std::FILE *file, const ExportOptions *page = nullptr);
    // The legend's lines as page text (gl2ps) at the view's top-left corner.
    void writeLegend();
    // The box, in whole points x0, y0, x1, y1 of the page square, that
    // holds every mark of the polygon and the selected curve (subdivided
    // first when out of date); the whole square when nothing is drawn.
    void pageBox(int box[4]);
    // The page of exportFile in the vector format of options.
    QString recordPage(const ExportOptions &options, std::FILE *file);
    // The view drawn as paintGL draws it into an image scale times its
    // device size, lines and points scale times as wide; a null image and
    // the reason in failure when it cannot be made.
    QImage renderImage(int scale, QString &failure);
    // After a page was written: tells the user when the curve was
    // simplified for it, and returns whether it did.
    bool reportPrintSimplification();
    // message in the status bar and, followed by diagnosticEnd, as one line
    // on standard error.
    void reportExportFailure(const QString &message, const char *diagnosticEnd = "");

    // The study's steps of a paint or an export page, in drawing order.
    // beginStudyFrame: true when the polygon is dirty, which makes every
    // drawn curve and layout be made again; then the paint steps above;
    // endStudyFrame clears the dirty flag that compared curves used when
    // no selected curve did.
    bool beginStudyFrame();
    void endStudyFrame(bool polygonChanged);
    // The legend in the top-left corner, on screen, while curves are
    // compared (its picture redone when its lines change).
    void paintLegend();
    // Gives every curve its share of the point budget (see
    // comparedCount); a curve whose share changed subdivides again.
    void shareBudget();
    // After a paint that remade the selected curve: the series, quick and
    // in full right away when quickConvergenceWork suffices, else quick now
    // and in full after convergenceDelay.
    void measureConvergence(bool full);
    // The share-of-budget words for messages ("half the point budget").
    QString budgetShare(const Curve &curve) const;

    std::unique_ptr<StudyLayers> study;
    // A compared curve that has to subdivide before it is drawn again: it
    // was just ticked, or its share of the budget changed.
    std::array<bool, 5> compareStale{};
    bool convergenceStale = true; // the series no longer fits the selected curve
    QTimer *convergenceTimer = nullptr;
    // One line of the legend: its words, and the swatch drawn before them.
    struct LegendLine
    {
        QString text;
        std::array<float, 3> colour;
        float width;
        bool operator==(const LegendLine &) const = default;
    };
    std::vector<LegendLine> legend;
    double legendRatio = 0.0; // the device pixel ratio its picture was made for

    // The polygon as it is now, sharing lastSnapshot when that still holds
    // it (the one after an edit is the one before the next), else a new
    // snapshot, which becomes lastSnapshot.
    PolygonSnapshot::Shared currentPolygon();
    // Runs edit, which returns whether it changed the polygon, as one undo
    // step named step: a drag under way is committed first and goes on
    // afterwards as a new step. Returns edit's answer.
    bool recordEdit(const QString &step, const std::function<bool()> &edit);

    PolygonSnapshot::Shared lastSnapshot; // the polygon at the last step or restore
    PolygonSnapshot::Shared dragStart;    // the polygon when the drag under way began; null without one

    // The last limit shown (scheme and text), so that a subdivision that
    // stops at the same place again does not cover the status messages of
    // the edits in between; cleared by every subdivision that is not cut.
    std::pair<int, QString> shownLimit;
};
