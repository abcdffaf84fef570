#include "GLBox.h"

#include "ExportOptions.h"
#include "curves/Curve.h"
#include "geometry/DrawStyle.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QOpenGLFramebufferObject>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

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

    // The curves simplify for the finer pixel, as they do at a zoom.
    std::vector<double> scales;
    for (Node<Curve> *n = curves.head; n; n = n->next) {
        scales.push_back(n->item->displayScale);
        n->item->displayScale /= scale;
    }
    DrawStyle style;
    style.widthScale = static_cast<float>(scale);
    {
        const DrawStyle::Scope styleScope(style);
        paintGL();
    }
    auto saved = scales.begin();
    for (Node<Curve> *n = curves.head; n; n = n->next)
        n->item->displayScale = *saved++;

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
    if (!isValid() || name.isEmpty() || !confirmOverwrite(name))
        return false;
    constexpr const char *createFailureEnd = ". Aborting export!";
    bool written = false;
    if (options.isVector()) {
        written = writeExportFile(
            name, [this, &options](std::FILE *file) { return recordPage(options, file); }, createFailureEnd);
    } else {
        // The picture is made and encoded first: a failure there touches
        // no file at all.
        QString failure;
        const QImage image = renderImage(options.pngScale, failure);
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (failure.isEmpty() && !writer.write(image))
            failure = writer.errorString();
        if (!failure.isEmpty()) {
            reportExportFailure(QString("Could not write file %1: %2").arg(name, failure));
            return false;
        }
        written = writeExportFile(
            name,
            [&encoded](std::FILE *file) {
                // A short write is told by the stream's sink, with its reason.
                std::fwrite(encoded.constData(), 1, static_cast<std::size_t>(encoded.size()), file);
                return QString();
            },
            createFailureEnd);
    }
    if (written && !(options.isVector() && reportPrintSimplification()))
        showStatus(QString("Exported %1").arg(QFileInfo(name).fileName()), actionMessageTime);
    return written;
}
