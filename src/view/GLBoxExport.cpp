#include "GLBox.h"

#include "curves/Curve.h"
#include "geometry/ControlPoints.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>

#include <GL/gl.h>
#include <gl2ps.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>

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

bool GLBox::writeExportFile(const QString &name, const std::function<QString(std::FILE *)> &write)
{
    // The page goes to a new file beside the target, which replaces the
    // target only once every byte of it is known to be on disk: a full
    // disk or any other failure leaves the old file as it was.
    QSaveFile out(name);
    if (!out.open(QIODevice::WriteOnly)) {
        reportExportFailure(QString("Could not create file %1: %2").arg(name, out.errorString()),
                            ". Aborting Postscript export!");
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

QString GLBox::recordPage(int format, std::FILE *file)
{
    // Outside paintGL the view's context is not current. gl2ps records in
    // feedback mode, which rasterises nothing, so the picture on screen is
    // left as it was; for the same reason the colour buffer is not cleared.
    // The page shows what the view shows: it is recorded with the view's
    // projection, whatever the context last held.
    makeCurrent();
    loadViewProjection();
    GLint pageViewport[4];
    glGetIntegerv(GL_VIEWPORT, pageViewport);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    Curve *curve = selectedCurve();
    for (Node<Curve> *n = curves.head; n; n = n->next)
        n->item->printTolerance = printTolerancePoints * n->item->displayScale;
    // The page shows what the view shows, the study's additions included;
    // the first pass makes whatever the view has not made yet.
    const bool polygonChanged = beginStudyFrame();
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
    if (!writeExportFile(name, [this](std::FILE *file) { return recordPage(GL2PS_EPS, file); }))
        return;
    if (const Curve *curve = selectedCurve(); curve && curve->printsSimplified())
        showStatus(QString("Curve of %1 segments written simplified, within %2 pt")
                       .arg(curve->result->count)
                       .arg(printTolerancePoints),
                   actionMessageTime);
}
