#include "GLBox.h"

#include "ExportOptions.h"
#include "curves/Curve.h"
#include "geometry/ControlPoints.h"
#include "geometry/DrawStyle.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>

#include <GL/gl.h>
#include <gl2ps.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>

#include <sys/types.h>
#include <unistd.h>

namespace {

// How gl2ps orders the recorded primitives. BSP keeps overlapping shapes in
// depth order, but costs far more than the alternatives on long
// self-crossing curves (everything here lies at z = 0).
constexpr GLint exportSortMode = GL2PS_BSP_SORT;

constexpr GLint exportOptions = GL2PS_SIMPLE_LINE_OFFSET | GL2PS_SILENT | GL2PS_BEST_ROOT | GL2PS_OCCLUSION_CULL;

// The first pass offers this many feedback values; every overflow doubles
// it, so a large page costs a few passes instead of one per megavalue.
constexpr GLint feedbackStart = 1048576;

// A curve too long for a page is written within this many points of the
// exact one (a page point is a device pixel of the view), far below any
// printer's resolution.
constexpr double printTolerancePoints = 0.01;

constexpr const char *producer = "Ornelle, by the Ornelle authors";

// Page titles by scheme number, 0 (no scheme) to 4.
constexpr std::array<const char *, 5> pageTitles{
    "Control Points", "Bezier curve", "Chaikin curve", "Cubic B-Spline curve", "Dr. Vantrell proposed curve",
};

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

bool GLBox::confirmOverwrite(const QString &name)
{
    // Whether the name is taken, not whether it can be read: a file the
    // user may not read, or a link to nowhere, is still replaced.
    const QFileInfo info(name);
    if (!info.exists() && !info.isSymLink())
        return true;
    const auto answer = QMessageBox::warning(this, "Warning...", QString("File %1 already exist! Overwrite?").arg(name),
                                             QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void GLBox::reportExportFailure(const QString &message, const char *diagnosticEnd)
{
    std::cerr << message.toLocal8Bit().constData() << diagnosticEnd << std::endl;
    showStatus(message, actionMessageTime);
    emit exportFailed(message);
}

namespace {

// gl2ps writes through a stdio stream; this one passes every byte straight
// to the descriptor and keeps the reason of the first failed write, which
// the stream itself would only report as an error flag.
struct Sink
{
    int descriptor;
    int error = 0;
};

ssize_t writeToSink(void *cookie, const char *data, std::size_t size)
{
    auto *sink = static_cast<Sink *>(cookie);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(sink->descriptor, data + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            sink->error = written < 0 ? errno : EIO;
            return -1;
        }
        done += static_cast<std::size_t>(written);
    }
    return static_cast<ssize_t>(size);
}

} // namespace

bool GLBox::writeExportFile(const QString &name, const std::function<QString(std::FILE *)> &write,
                            const char *createFailureEnd)
{
    // The page goes to a new file beside the target, which replaces the
    // target only once every byte of it is known to be on disk: a full
    // disk or any other failure leaves the old file as it was.
    QSaveFile out(name);
    if (!out.open(QIODevice::WriteOnly)) {
        reportExportFailure(QString("Could not create file %1: %2").arg(name, out.errorString()),
                            createFailureEnd);
        return false;
    }
    Sink sink{out.handle()};
    std::FILE *file = ::fopencookie(&sink, "w", {nullptr, writeToSink, nullptr, nullptr});
    if (!file) {
        out.cancelWriting();
        reportExportFailure(QString("Could not write file %1: %2").arg(name, systemReason(errno)));
        return false;
    }

    QString failure = write(file);
    // Closing flushes what the stream still holds: the last write, and so
    // often the first to meet a full disk.
    const bool closed = std::fclose(file) == 0;
    if (failure.isEmpty() && sink.error)
        failure = systemReason(sink.error);
    if (failure.isEmpty() && !closed)
        failure = systemReason(EIO);
    if (failure.isEmpty() && !out.commit())
        failure = out.errorString();
    if (!failure.isEmpty()) {
        out.cancelWriting(); // the temporary file goes, the target stays
        reportExportFailure(QString("Could not write file %1: %2").arg(name, failure));
        return false;
    }
    return true;
}

namespace {

// gl2ps does not see OpenGL's widths: the page style tells it each one.
void recordLineWidth(float width)
{
    gl2psLineWidth(width);
}

void recordPointSize(float size)
{
    gl2psPointSize(size);
}

constexpr std::array<GLint, 3> vectorFormats{GL2PS_EPS, GL2PS_PDF, GL2PS_SVG};

// How far, in points, the widest mark reaches past the position it is
// drawn at: half the widest line (5, the Bezier depth shading) or the
// radius of the control points' dots (5).
constexpr double markReach = 2.5;

// The smallest box of whole points, within the page square of side
// ExportOptions::pageSide, that holds every mark drawn at points (and at
// their ghosts) in the visible square of view. Grows box, given as x0, y0,
// x1, y1 (empty while x0 > x1).
void extendBox(double box[4], const List<Point> &points, const ViewTransform &view)
{
    const double scale = ExportOptions::pageSide / view.side();
    const auto add = [&](const Vector &p) {
        const double x = std::clamp((p.x() - view.left()) * scale, 0.0, double(ExportOptions::pageSide));
        const double y = std::clamp((p.y() - view.bottom()) * scale, 0.0, double(ExportOptions::pageSide));
        box[0] = std::min(box[0], x);
        box[1] = std::min(box[1], y);
        box[2] = std::max(box[2], x);
        box[3] = std::max(box[3], y);
    };
    for (const Node<Point> *n = points.head; n; n = n->next) {
        add(n->item->position);
        if (n->item->hasGhost)
            add(n->item->ghost);
    }
}

} // namespace

void GLBox::pageBox(int box[4])
{
    // The curve is made now if an edit since the last paint left it out of
    // date, so that the box is measured on what the page will hold.
    Curve *curve = selectedCurve();
    if (curve && controlPoints->dirty && controlPoints->points.count > 2) {
        curve->rebuildResult();
        curve->subdivide();
    }
    double extent[4] = {ExportOptions::pageSide, ExportOptions::pageSide, 0, 0};
    extendBox(extent, controlPoints->points, viewTransform);
    if (curve && curve->drawsCurve())
        extendBox(extent, *curve->result, viewTransform);
    if (extent[0] > extent[2]) {
        // Nothing drawn: the whole, empty page.
        box[0] = box[1] = 0;
        box[2] = box[3] = ExportOptions::pageSide;
        return;
    }
    box[0] = static_cast<int>(std::floor(extent[0] - markReach));
    box[1] = static_cast<int>(std::floor(extent[1] - markReach));
    box[2] = static_cast<int>(std::ceil(extent[2] + markReach));
    box[3] = static_cast<int>(std::ceil(extent[3] + markReach));
}

QString GLBox::recordPage(const ExportOptions &options, std::FILE *file)
{
    return recordPage(vectorFormats.at(static_cast<std::size_t>(options.format)), file, &options);
}

QString GLBox::recordPage(int format, std::FILE *file, const ExportOptions *page)
{
    // Outside paintGL the view's context is not current. gl2ps records in
    // feedback mode, which rasterises nothing, so the picture on screen is
    // left as it was; for the same reason the colour buffer is not cleared.
    // The page shows what the view shows: it is recorded with the view's
    // projection, whatever the context last held.
    makeCurrent();
    loadViewProjection();
    GLint viewViewport[4];
    glGetIntegerv(GL_VIEWPORT, viewViewport);
    GLint pageViewport[4] = {viewViewport[0], viewViewport[1], viewViewport[2], viewViewport[3]};
    // A page of its own has the visible square scaled into a square of
    // fixed size, so that the figure's size does not follow the window's,
    // and is cut to the box around its marks: the viewport is shifted so
    // that the box's corner is the page's origin. (gl2ps's own tight box
    // leaves the marks' widths out and misplaces an SVG drawing.) Its
    // widths reach gl2ps through the page style.
    // The page shows what the view shows, the study's additions included;
    // the first pass makes whatever the view has not made yet (asked before
    // the box is measured, which may bring the selected curve up to date).
    const bool polygonChanged = beginStudyFrame();
    DrawStyle pageStyle;
    std::optional<DrawStyle::Scope> styleScope;
    if (page) {
        // The study's additions reach past the polygon and the curve (the
        // comb, the limit, the legend): with any of them the whole square.
        int box[4] = {0, 0, ExportOptions::pageSide, ExportOptions::pageSide};
        try {
            if (comparedCount() == 0 && !showPasses && !showLimit && !showCurvature)
                pageBox(box);
        } catch (const std::bad_alloc &) {
            selectedCurve()->clearResult();
            doneCurrent();
            return "not enough memory";
        }
        pageViewport[0] = pageViewport[1] = 0;
        pageViewport[2] = box[2] - box[0];
        pageViewport[3] = box[3] - box[1];
        glViewport(-box[0], -box[1], ExportOptions::pageSide, ExportOptions::pageSide);
        pageStyle.lineWidthHook = recordLineWidth;
        pageStyle.pointSizeHook = recordPointSize;
        pageStyle.printColours = page->printColours;
        pageStyle.printPage = true;
        styleScope.emplace(pageStyle);
    }
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    Curve *curve = selectedCurve();
    for (Node<Curve> *n = curves.head; n; n = n->next)
        n->item->printTolerance =
            printTolerancePoints * (page ? viewTransform.side() / ExportOptions::pageSide : n->item->displayScale);
    const char *title = pageTitles[static_cast<std::size_t>(currentCurve)];
    // A pass that overflows the buffer writes nothing, so the file ends up
    // holding only the last, complete page.
    QString failure;
    GLint state = GL2PS_OVERFLOW;
    for (GLint bufferSize = feedbackStart; state == GL2PS_OVERFLOW; bufferSize *= 2) {
        if (bufferSize > exportFeedbackLimit) {
            failure = "the picture is too large to export";
            break;
        }
        try {
            if (gl2psBeginPage(title, producer, pageViewport, format, exportSortMode, exportOptions, GL_RGBA, 0,
                               nullptr, 0, 0, 0, bufferSize, file, nullptr) != GL2PS_SUCCESS) {
                failure = "the page could not be started";
                break;
            }
            paintPasses();
            controlPoints->draw();
            paintComparedCurves();
            if (curve)
                curve->render();
            paintStudyOverlays();
            writeLegend();
        } catch (const std::bad_alloc &) {
            gl2psEndPage();
            if (curve)
                curve->clearResult();
            failure = "not enough memory";
            break;
        }
        state = gl2psEndPage();
        // An empty scene still makes a complete, empty page.
        if (state != GL2PS_SUCCESS && state != GL2PS_NO_FEEDBACK && state != GL2PS_OVERFLOW)
            failure = "the page could not be written";
    }

    endStudyFrame(polygonChanged);
    for (Node<Curve> *n = curves.head; n; n = n->next)
        n->item->printTolerance = 0.0;
    glPopMatrix();
    glViewport(viewViewport[0], viewViewport[1], viewViewport[2], viewViewport[3]);
    doneCurrent();
    return failure;
}

void GLBox::writeLegend()
{
    // The names as text at the corner where the view shows its legend, in
    // the curves' colours; the picture of the legend is for the screen.
    const int rowHeight = fontMetrics().height();
    for (std::size_t k = 0; k < legend.size(); ++k) {
        const Vector at = mapToWorld(QPointF(12, 8 + rowHeight * (double(k) + 1)));
        glColor3f(legend[k].colour[0], legend[k].colour[1], legend[k].colour[2]);
        glRasterPos2d(at.x(), at.y());
        gl2psText(legend[k].text.toUtf8().constData(), "Helvetica", 12);
    }
}

bool GLBox::reportPrintSimplification()
{
    const Curve *curve = selectedCurve();
    if (!curve || !curve->printsSimplified())
        return false;
    showStatus(QString("Curve of %1 segments written simplified, within %2 pt")
                   .arg(curve->result->count)
                   .arg(printTolerancePoints),
               actionMessageTime);
    return true;
}

void GLBox::exportPS()
{
    // There is nothing to record from before the view was first shown.
    if (!isValid())
        return;
    const QString name = chooseExportFile ? chooseExportFile() : QString();
    if (name.isEmpty())
        return;
    // The name is used as given, with no extension added.
    if (!confirmOverwrite(name))
        return;
    if (writeExportFile(name, [this](std::FILE *file) { return recordPage(GL2PS_EPS, file); }))
        reportPrintSimplification();
}
