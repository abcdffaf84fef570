#include "render/Figures.h"

#include "model/Scene.h"
#include "render/DeviceMapping.h"
#include "render/Frame.h"
#include "render/PainterCanvas.h"
#include "render/PdfCanvas.h"
#include "render/SceneRenderer.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace {

// Grows extent (x0, y0, x1, y1 in page points; empty while x0 > x1) by the
// positions of points and their ghosts, each clamped to the page square.
void extend(double extent[4], const List<Point> &points, const ViewTransform &view, int pageSide)
{
    const double scale = pageSide / view.side();
    const auto add = [&](const Vector &p) {
        const double x = std::clamp((p.x() - view.left()) * scale, 0.0, double(pageSide));
        const double y = std::clamp((p.y() - view.bottom()) * scale, 0.0, double(pageSide));
        extent[0] = std::min(extent[0], x);
        extent[1] = std::min(extent[1], y);
        extent[2] = std::max(extent[2], x);
        extent[3] = std::max(extent[3], y);
    };
    for (const Node<Point> *n = points.head; n; n = n->next) {
        add(n->item->position);
        if (n->item->hasGhost)
            add(n->item->ghost);
    }
}

} // namespace

QRect Figures::pageBox(const Scene &scene, const ViewTransform &view, int pageSide)
{
    const Scene::Study &study = scene.study();
    const QRect whole(0, 0, pageSide, pageSide);
    if (scene.comparedCount() > 0 || study.passes || study.limit || study.curvature)
        return whole;
    double extent[4] = {double(pageSide), double(pageSide), 0, 0};
    extend(extent, scene.polygon().points, view, pageSide);
    const Curve *curve = scene.selectedCurve();
    if (curve && curve->drawsCurve())
        extend(extent, *curve->result, view, pageSide);
    if (extent[0] > extent[2])
        return whole; // nothing drawn: the whole, empty page
    const double reach = markReach + margin;
    const int x0 = static_cast<int>(std::floor(extent[0] - reach));
    const int y0 = static_cast<int>(std::floor(extent[1] - reach));
    const int x1 = static_cast<int>(std::ceil(extent[2] + reach));
    const int y1 = static_cast<int>(std::ceil(extent[3] + reach));
    return {x0, y0, x1 - x0, y1 - y0};
}

QString Figures::title(const Scene &scene)
{
    return QString::fromLatin1(Schemes::row(scene.selected()).title);
}

QString Figures::creator()
{
    return QStringLiteral("Ornelle");
}

QByteArray Figures::pdf(SceneRenderer &renderer, const Frame &frame, const QRect &box, int pageSide,
                        const QString &title)
{
    PdfCanvas canvas(box.width(), box.height(), DeviceMapping::page(frame.view, pageSide, box, false));
    renderer.draw(canvas, frame);
    return canvas.document(title, creator());
}

QByteArray Figures::svg(SceneRenderer &renderer, const Frame &frame, const QRect &box, int pageSide,
                        const QString &title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(box.size());
        generator.setViewBox(QRect(QPoint(0, 0), box.size()));
        generator.setResolution(72);
        generator.setTitle(title);
        generator.setDescription(creator());
        QPainter painter(&generator);
        PainterCanvas canvas(painter, DeviceMapping::page(frame.view, pageSide, box, true));
        renderer.draw(canvas, frame);
    }
    // The generator gives the page's size in millimetres; a page of points
    // says so in points, as the other pages do.
    static const QRegularExpression size(R"(<svg width="[^"]*" height="[^"]*")");
    QString text = QString::fromUtf8(bytes);
    text.replace(size, QString(R"(<svg width="%1pt" height="%2pt")").arg(box.width()).arg(box.height()));
    return text.toUtf8();
}

QImage Figures::image(SceneRenderer &renderer, const Frame &frame, int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(191, 191, 191));
    QPainter painter(&image);
    PainterCanvas canvas(painter, DeviceMapping::image(frame.view, side));
    renderer.draw(canvas, frame);
    return image;
}

QByteArray Figures::png(const QImage &image, QString &failure)
{
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (image.isNull() || !writer.write(image)) {
        failure = image.isNull() ? QString("the picture could not be drawn") : writer.errorString();
        return {};
    }
    return encoded;
}
