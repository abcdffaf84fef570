#include "GLBox.h"

#include "curves/Curve.h"
#include "geometry/ControlPoints.h"

#include <QFile>
#include <QMessageBox>

#include <GL/gl.h>
#include <gl2ps.h>

#include <array>
#include <cstdio>
#include <iostream>

namespace {

// How gl2ps orders the recorded primitives. BSP keeps overlapping shapes in
// depth order, but costs far more than the alternatives on long
// self-crossing curves (everything here lies at z = 0).
constexpr GLint exportSortMode = GL2PS_BSP_SORT;

constexpr GLint exportOptions = GL2PS_SIMPLE_LINE_OFFSET | GL2PS_SILENT | GL2PS_BEST_ROOT | GL2PS_OCCLUSION_CULL;

// The feedback buffer grows by this many values per pass until the page
// fits.
constexpr GLint feedbackStep = 1048576;

constexpr const char *producer = "Ornelle, by the Ornelle authors";

// Page titles by scheme number, 0 (no scheme) to 4.
constexpr std::array<const char *, 5> pageTitles{
    "Control Points", "Bezier curve", "Chaikin curve", "Cubic B-Spline curve", "Dr. Vantrell proposed curve",
};

} // namespace

void GLBox::exportPS()
{
    // There is nothing to record from before the view was first shown.
    if (!isValid())
        return;
    const QString name = chooseExportFile ? chooseExportFile() : QString();
    if (name.isEmpty())
        return;
    // The name is used as given, with no extension added; the file system
    // gets it in its own 8-bit encoding.
    const QByteArray path = QFile::encodeName(name);

    if (std::FILE *existing = std::fopen(path.constData(), "r")) {
        const auto answer = QMessageBox::warning(this, "Warning...",
                                                 QString("File %1 already exist! Overwrite?").arg(name),
                                                 QMessageBox::Yes | QMessageBox::No);
        std::fclose(existing);
        if (answer != QMessageBox::Yes)
            return;
    }

    std::FILE *file = std::fopen(path.constData(), "w");
    if (!file) {
        std::cerr << "Could not create file " << path.constData() << ". Aborting Postscript export!" << std::endl;
        showStatus(QString("Could not create file %1").arg(name), actionMessageTime);
        return;
    }

    // Outside paintGL the view's context is not current. gl2ps records in
    // feedback mode, which rasterises nothing, so the picture on screen is
    // left as it was; for the same reason the colour buffer is not cleared.
    makeCurrent();
    GLint pageViewport[4];
    glGetIntegerv(GL_VIEWPORT, pageViewport);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    Curve *curve = selectedCurve();
    const char *title = pageTitles[static_cast<std::size_t>(currentCurve)];
    // A pass that overflows the buffer writes nothing, so the file ends up
    // holding only the last, complete page.
    GLint bufferSize = 0;
    GLint state = GL2PS_OVERFLOW;
    while (state == GL2PS_OVERFLOW) {
        bufferSize += feedbackStep;
        gl2psBeginPage(title, producer, pageViewport, GL2PS_EPS, exportSortMode, exportOptions, GL_RGBA, 0, nullptr,
                       0, 0, 0, bufferSize, file, nullptr);
        controlPoints->draw();
        if (curve)
            curve->render();
        state = gl2psEndPage();
    }

    glPopMatrix();
    doneCurrent();
    std::fclose(file);
}
