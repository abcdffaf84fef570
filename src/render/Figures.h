#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

class Scene;
class SceneRenderer;
class ViewTransform;
struct Frame;

// The figures of File > Export... and of the command line's --export that
// need no OpenGL: the PDF and SVG pages and an image drawn with QPainter,
// each one drawing of a SceneRenderer in its frame. (The EPS page and the
// view's own image are drawn by OpenGL: PostScriptWriter, GLBox.)
class Figures
{
public:
    // How far, in points, the widest mark reaches past the position it is
    // drawn at: half the widest line (5, the Bezier depth shading) or the
    // radius of the control points' dots (5); and the margin kept around
    // the marks.
    static constexpr double markReach = 2.5;
    static constexpr double margin = 1.0;

    // The box, in whole points (x, y up from the bottom-left corner, width,
    // height), within the page square of side pageSide that shows view,
    // that holds every mark of scene's polygon and selected curve (and of
    // their ghosts) with margin around them; the whole square when nothing
    // is drawn or the study adds anything (the comb, the limit and the
    // legend reach past the polygon and the curve).
    static QRect pageBox(const Scene &scene, const ViewTransform &view, int pageSide);
    // The page title: the selected scheme's ("Chaikin curve").
    static QString title(const Scene &scene);

    // The page of frame (Frame::page) cut to box, as a PDF or SVG file.
    static QByteArray pdf(SceneRenderer &renderer, const Frame &frame, const QRect &box, int pageSide,
                          const QString &title);
    static QByteArray svg(SceneRenderer &renderer, const Frame &frame, const QRect &box, int pageSide,
                          const QString &title);
    // frame's square drawn with QPainter into an opaque image of side
    // pixels on the view's grey background.
    static QImage image(SceneRenderer &renderer, const Frame &frame, int side);
    // image as a PNG file; empty, with the reason in failure, when it
    // cannot be encoded.
    static QByteArray png(const QImage &image, QString &failure);

    // What wrote the files.
    static QString creator();
};
