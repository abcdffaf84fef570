#pragma once

#include <QRect>
#include <QString>

#include <cstdio>

class SceneRenderer;
struct Frame;

// Records a SceneRenderer's picture as Encapsulated PostScript through
// gl2ps, in the current OpenGL context (the view's, or one made without a
// display): gl2ps captures what the renderer draws on a GlCanvas in
// feedback mode, which rasterises nothing, and writes it in drawing order
// sorted by gl2ps's BSP tree. The only user of gl2ps.
class PostScriptWriter
{
public:
    // The largest feedback buffer, in values, that a page may grow to (4
    // bytes each); a page that needs more is refused as too large.
    static constexpr int maxFeedback = 1 << 26;
    int feedbackLimit = maxFeedback;

    // The view as it shows: frame's square in the context's projection as
    // the caller loaded it, the context's viewport as the page. gl2ps is
    // told the widths and text only when the frame is a page.
    QString recordView(std::FILE *file, SceneRenderer &renderer, const Frame &frame, const char *title) const;
    // A page: frame's square scaled into a square of pageSide points and
    // cut to box (points, y up from the bottom-left corner); loads the
    // frame's projection itself and restores the viewport afterwards.
    QString recordPage(std::FILE *file, SceneRenderer &renderer, const Frame &frame, const QRect &box, int pageSide,
                       const char *title) const;

private:
    // Records into file with viewport as the page, doubling the feedback
    // buffer while the page does not fit, up to feedbackLimit; the reason
    // of a failure, or an empty text. Rethrows std::bad_alloc after ending
    // the page.
    QString record(std::FILE *file, SceneRenderer &renderer, const Frame &frame, const int viewport[4],
                   const char *title) const;
};
