#include "GLBox.h"

#include "model/Scene.h"
#include "render/ExportFile.h"
#include "view/ExportOptions.h"
#include "render/Figures.h"
#include "render/Frame.h"
#include "render/GlCanvas.h"
#include "render/PostScriptWriter.h"
#include "render/SceneRenderer.h"
#include "view/SceneUpdater.h"

#include <QFileInfo>
#include <QImage>
#include <QOpenGLFramebufferObject>

#include <GL/gl.h>

#include <algorithm>
#include <iostream>
#include <new>

namespace {

// Told after a vector page when the selected curve was too long to write
// whole; empty otherwise.
QString simplification(Scene &scene)
{
    const Curve *curve = scene.selectedCurve();
    if (!curve || !curve->result || curve->result->count <= Frame::printSegmentLimit)
        return {};
    return QString("Curve of %1 segments written simplified, within %2 pt")
        .arg(curve->result->count)
        .arg(Frame::printTolerance);
}

} // namespace

void GLBox::reportExportFailure(const QString &text, const char *diagnosticEnd)
{
    std::cerr << text.toLocal8Bit().constData() << diagnosticEnd << std::endl;
    showStatus(text);
    emit exportFailed(text);
}

bool GLBox::writeFile(const QString &name, const std::function<QString(std::FILE *)> &write,
                      const char *createFailureEnd)
{
    // Whether the name is taken, not whether it can be read: a file the
    // user may not read, or a link to nowhere, is still replaced.
    const QFileInfo info(name);
    if ((info.exists() || info.isSymLink()) && !(confirmReplace && confirmReplace(name)))
        return false;
    const ExportFile::Result result = ExportFile::write(name, write);
    if (!result.ok())
        reportExportFailure(result.message, result.notCreated ? createFailureEnd : "");
    return result.ok();
}

void GLBox::exportPS()
{
    // There is nothing to record from before the view was first shown.
    if (!isValid() || !chooseExportFile)
        return;
    const QString name = chooseExportFile();
    if (name.isEmpty())
        return;
    updater->updateIfStale();
    // The name is used as given, with no extension added. gl2ps records in
    // feedback mode, which rasterises nothing, so the picture on screen is
    // left as it was; the page shows what the view shows.
    const bool written = writeFile(
        name,
        [this](std::FILE *file) {
            makeCurrent();
            loadViewProjection();
            QString failure;
            try {
                failure = postScript->recordView(file, *painter,
                                                 Frame::postScript(viewTransform, worldPerDevicePixel(), width()),
                                                 Schemes::row(currentCurve).title);
            } catch (const std::bad_alloc &) {
                model->clearCurves();
                failure = "not enough memory";
            }
            doneCurrent();
            return failure;
        },
        ". Aborting Postscript export!");
    if (const QString told = simplification(*model); written && !told.isEmpty())
        showStatus(told);
}

const Scene::Readout &GLBox::upToDate()
{
    updater->updateIfStale();
    return updater->readout();
}

QImage GLBox::renderImage(int scale, QString &failure)
{
    // Drawn again rather than scaled from the view's picture, so that a
    // larger image has sharp lines of proportional width instead of
    // enlarged pixels. At scale 1 it is the picture on screen.
    makeCurrent();
    const int side = viewport[2] * scale;
    GLint largest[2] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
    GLint largestTexture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestTexture);
    if (side <= 0 || side > std::min({largest[0], largest[1], largestTexture})) {
        doneCurrent();
        failure = "the picture is too large to export";
        return {};
    }
    QOpenGLFramebufferObject target(side, side);
    if (!target.isValid() || !target.bind()) {
        doneCurrent();
        failure = "the picture could not be drawn";
        return {};
    }
    glViewport(0, 0, side, side);
    glClear(GL_COLOR_BUFFER_BIT);
    loadViewProjection();
    GlCanvas canvas;
    painter->draw(canvas, Frame::image(viewTransform, worldPerDevicePixel(), width(), devicePixelRatioF(), scale));
    // The clear colour's alpha is not part of the picture: the view shows
    // it opaque, and so does the image (the colours as they were blended,
    // with no alpha to weigh them by).
    QImage image = target.toImage();
    image.reinterpretAsFormat(QImage::Format_RGB32);
    target.release();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    doneCurrent();
    return image;
}

bool GLBox::exportFile(const QString &name, const ExportOptions &options)
{
    // There is nothing to draw from before the view was first shown.
    if (!isValid() || name.isEmpty() || options.isCurvePoints())
        return false;
    constexpr const char *createFailureEnd = ". Aborting export!";
    updater->updateIfStale();
    const Frame page = Frame::page(viewTransform, ExportOptions::pageSide, options.printColours);
    const QRect box = Figures::pageBox(*model, viewTransform, ExportOptions::pageSide);
    const QString title = Figures::title(*model);
    QByteArray bytes;
    QString failure;
    try {
        if (options.format == ExportOptions::Pdf)
            bytes = Figures::pdf(*painter, page, box, ExportOptions::pageSide, title);
        else if (options.format == ExportOptions::Svg)
            bytes = Figures::svg(*painter, page, box, ExportOptions::pageSide, title);
        else if (options.format == ExportOptions::Png)
            bytes = Figures::png(renderImage(options.pngScale, failure), failure);
    } catch (const std::bad_alloc &) {
        model->clearCurves();
        failure = "not enough memory";
    }
    // The picture is made and encoded first: a failure there touches no
    // file at all.
    if (!failure.isEmpty()) {
        reportExportFailure(QString("Could not write file %1: %2").arg(name, failure));
        return false;
    }
    const bool written = writeFile(
        name,
        [&](std::FILE *file) {
            if (options.format != ExportOptions::Eps) {
                std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file);
                return QString();
            }
            makeCurrent();
            QString recorded;
            try {
                recorded = postScript->recordPage(file, *painter, page, box, ExportOptions::pageSide,
                                                  title.toLatin1().constData());
            } catch (const std::bad_alloc &) {
                model->clearCurves();
                recorded = "not enough memory";
            }
            doneCurrent();
            return recorded;
        },
        createFailureEnd);
    if (!written)
        return false;
    const QString told = options.isVector() ? simplification(*model) : QString();
    showStatus(told.isEmpty() ? QString("Exported %1").arg(QFileInfo(name).fileName()) : told);
    return true;
}
