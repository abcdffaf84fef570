#include "PanelHelp.h"

#include "model/Document.h"

#include <QCoreApplication>
#include <QString>
#include <QWidget>

namespace {

struct ControlHelp
{
    const char *objectName;
    const char *toolTip;
    const char *whatsThis; // null: the tooltip says it all
};

// What every compare box does besides drawing its own scheme.
constexpr const char *compareHelp =
    QT_TRANSLATE_NOOP("PanelHelp",
                      "<p>Draws this scheme's curve beside the selected one, from the same control points with "
                      "this scheme's own settings (choose it in the scheme box to change them), thin and in its own "
                      "colour. The legend in the view's top-left corner names every curve drawn. The selected "
                      "scheme stays the one the panel edits and the read-outs report.</p>"
                      "<p>Each compared curve may make at most a quarter of the point budget, and the selected "
                      "curve what the compared ones leave, so that four curves at their highest levels take about "
                      "the time and memory of one; the legend and the status bar say where a curve stopped.</p>");

// Indexed by the panel's object names; the texts go through tr() under
// the context "PanelHelp".
constexpr ControlHelp panelHelp[] = {
    {"curveComboBox", QT_TRANSLATE_NOOP("PanelHelp", "Scheme: which subdivision curve is drawn from the control points"),
     QT_TRANSLATE_NOOP("PanelHelp",
                       "<p>The scheme that turns the control polygon into a curve. Each scheme keeps its own "
                       "u, precision, level and display settings; choosing it loads them into the panel.</p>"
                       "<p><b>Bezier</b>: adaptive de Casteljau subdivision, split with weight u until no edge is "
                       "longer than Precision; open or closed polygons.<br>"
                       "<b>Chaikin</b>: corner cutting; each corner becomes two points at weight u between the "
                       "corner and its neighbours.<br>"
                       "<b>Cubic B-Spline</b>: each pass adds a point on every edge and moves every vertex to "
                       "1/8, 3/4, 1/8 of itself and its neighbours.<br>"
                       "<b>Vantrell Proposed</b>: each pass replaces every vertex by three points, placed by u.<br>"
                       "<b>Custom Mask</b>: the mask typed or picked in the Scheme Laboratory box.</p>"
                       "<p>The last four refine closed polygons only, Subdivision Level times, unless their Open "
                       "Ends are on.</p>")},
    {"openCloseCurveCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp", "Closed Curve: joins the last control point to the first; Chaikin, Cubic "
                                    "B-Spline, Vantrell Proposed and Custom Mask draw closed polygons only, "
                                    "unless their Open Ends are on"),
     nullptr},
    {"uparameter",
     QT_TRANSLATE_NOOP("PanelHelp", "u Parameter: weight of the new points, in hundredths, -1.00 to 0.99"),
     QT_TRANSLATE_NOOP("PanelHelp",
                       "<p>The weight u of the selected scheme, shown to the right of the slider. The slider "
                       "moves in hundredths from -1.00 to 1.00; 0 and 1 would put new points on old ones, so "
                       "they count as 0.01 and 0.99.</p>"
                       "<p><b>Bezier</b>: where each piece is split: 0.50 at its middle, another u at 1 - u of "
                       "the way along it (kept within 0.01 to 0.99).<br>"
                       "<b>Chaikin</b>: weight of the corner in each new point; 0.75 puts them a quarter of the "
                       "way along each edge.<br>"
                       "<b>Cubic B-Spline</b>: weight of the earlier vertex in each new edge point; 0.50 is the "
                       "midpoint.<br>"
                       "<b>Vantrell Proposed</b>: near 1 each vertex stays put and its two new points lie a "
                       "quarter of the way to its neighbours; near 0 the new points sit on the vertex, which "
                       "moves to 1/4, 1/2, 1/4 of itself and its neighbours.</p>"
                       "<p>Negative weights put new points beyond the neighbours.</p>")},
    {"precision",
     QT_TRANSLATE_NOOP("PanelHelp", "Precision: longest edge of the Bezier curve, in world units, 0.05 to 10.00 "
                                    "(slider in tenths; Bezier only)"),
     QT_TRANSLATE_NOOP("PanelHelp",
                       "<p>The Bezier scheme splits each piece of the curve until none of its edges is longer "
                       "than this, in units of the view's grid (the view starts out spanning -10 to 10). "
                       "Smaller values give a smoother curve with more points. The slider moves in tenths; 0 "
                       "counts as 0.05.</p>")},
    {"level",
     QT_TRANSLATE_NOOP("PanelHelp", "Subdivision Level: number of refinement passes, 0 to 99 (Chaikin, Cubic "
                                    "B-Spline, Vantrell Proposed)"),
     QT_TRANSLATE_NOOP("PanelHelp",
                       "<p>Each pass doubles the points (Chaikin, Cubic B-Spline) or triples them (Vantrell "
                       "Proposed). A level that would need more than 16,777,216 points stops at the deepest one "
                       "that fits, and the status bar says so.</p>")},
    {"deleteControlPointsButton",
     QT_TRANSLATE_NOOP("PanelHelp", "Delete Control Points: removes every control point, to start over; this "
                                    "cannot be undone"),
     nullptr},
    {"drawCurvePointsCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp", "Curve Points: marks every point that the scheme generated on the curve"),
     nullptr},
    {"depthColourCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp", "Depth Colour: shades the Bezier curve by split depth, white at the control "
                                    "points, darker with every split (Bezier only)"),
     nullptr},
    {"axisCheckBox", QT_TRANSLATE_NOOP("PanelHelp", "Axis: draws the x and y axes through the origin"), nullptr},
    {"grid space",
     QT_TRANSLATE_NOOP("PanelHelp", "Grid Spacing: distance between grid lines, in world units, 0 (off) to 10"),
     nullptr},
    {"resetViewButton",
     QT_TRANSLATE_NOOP("PanelHelp", "Reset View: shows the whole world square -10..10 again at zoom 1x, after "
                                    "zooming (Ctrl + wheel, + and -) or panning (wheel, arrow keys)"),
     nullptr},
    {"compareBezierCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp", "Compare Bezier: draws the Bezier curve too, thin and orange"),
     compareHelp},
    {"compareChaikinCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp", "Compare Chaikin: draws the Chaikin curve too, thin and green (closed polygons)"),
     compareHelp},
    {"compareBSplineCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp",
                       "Compare Cubic B-Spline: draws the cubic B-spline curve too, thin and blue (closed polygons)"),
     compareHelp},
    {"compareProposedCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp",
                       "Compare Vantrell Proposed: draws the Vantrell proposed curve too, thin and crimson (closed "
                       "polygons)"),
     compareHelp},
    {"compareCustomCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp",
                       "Compare Custom Mask: draws the curve of the custom mask too, thin and brown (closed "
                       "polygons)"),
     compareHelp},
    {"showPassesCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp", "Show Passes: the polygons of the earlier levels in fading greys, and which "
                                    "points the last pass inserted and moved (Chaikin, Cubic B-Spline, Vantrell "
                                    "Proposed)"),
     QT_TRANSLATE_NOOP("PanelHelp",
                       "<p>Beneath the curve of level k, the polygons of levels 0 to k - 1: the older the level, "
                       "the paler its grey. On the curve, black squares mark the points the last pass inserted and "
                       "white squares the points it moved: Chaikin replaces every corner by two new points, the "
                       "cubic B-spline moves every vertex and inserts one point per edge, the Vantrell scheme moves "
                       "every vertex and inserts two beside it.</p>"
                       "<p>Levels past about 260,000 points together are left out (they lie on the curve), and the "
                       "marks are left out past 16,384 points, where they would cover the curve.</p>")},
    {"showLimitCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp", "Show Limit: the curve the selected scheme converges to, as a thin black line, "
                                    "where it is known in closed form, and how far each level is from it"),
     QT_TRANSLATE_NOOP("PanelHelp",
                       "<p>The limit is known in closed form for Chaikin at u = 0.75 (the uniform quadratic "
                       "B-spline), for the cubic B-spline scheme at u = 0.50 (the uniform cubic B-spline) and for "
                       "the Bezier scheme at every u (the Bezier curve in Bernstein form). Then the read-out gives "
                       "the largest distance from the points of the current level to it; otherwise the largest "
                       "distance between the current level and the one before.</p>"
                       "<p>The plot below shows that distance for every level from 0 on; for the Bezier scheme a "
                       "level is a uniform split depth, up to the deepest split of the drawn curve. The series "
                       "stops where measuring it would take more than about a quarter of a second. During edits "
                       "the first levels follow at once and the rest is added a moment after the edits pause; the "
                       "read-out is greyed until then.</p>")},
    {"curvatureCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp", "Curvature: a curvature comb along the selected curve, white teeth as long as "
                                    "the curvature at each point"),
     QT_TRANSLATE_NOOP("PanelHelp",
                       "<p>At each point of the selected curve a tooth stands on the outside of the turn, along the "
                       "normal, as long as the discrete curvature there (the circle through the point and its two "
                       "neighbours); a line joins the teeth's tips. A circle of radius 5 gets teeth of about one "
                       "grid unit at the view's full extent; teeth are cut at an eighth of the view.</p>"
                       "<p>Where the comb's outline jumps, the curvature jumps: the limit of Chaikin's scheme is C1, "
                       "its curvature steps at every knot, while the cubic B-spline's limit is C2 and its comb is "
                       "continuous. Moving u shows how the weight changes the curvature. Past 4,096 points the "
                       "teeth stand at every few points, each still measured with its own neighbours.</p>")},
    {"distanceLabel",
     QT_TRANSLATE_NOOP("PanelHelp", "Distance to limit: the largest distance, in world units, from the current "
                                    "level's points to the limit, or to the level before where no limit is known"),
     nullptr},
    {"convergencePlot",
     QT_TRANSLATE_NOOP("PanelHelp", "Convergence plot: the distance of each level on a logarithmic scale"),
     QT_TRANSLATE_NOOP("PanelHelp",
                       "<p>One dot per level: its distance to the limit (or to the level before) on a logarithmic "
                       "scale, a grid line per power of ten. A scheme that shrinks the distance by the same factor "
                       "every pass gives a straight line; the dashed guides fall by a half and by a quarter per "
                       "level from the first dot, and the top-right corner gives the factor of the last step. "
                       "Chaikin at u = 0.75 and the cubic B-spline at u = 0.50 quarter the distance to their limits "
                       "per pass; the Bezier scheme quarters it per split at u = 0.50.</p>")},
};

QString translated(const char *text)
{
    return QCoreApplication::translate("PanelHelp", text);
}

} // namespace

void describePanelControls(QWidget *panel)
{
    for (const ControlHelp &help : panelHelp) {
        QWidget *control = panel->findChild<QWidget *>(help.objectName);
        if (!control)
            continue;
        if (!help.whatsThis) {
            control->setToolTip(translated(help.toolTip));
            continue;
        }
        // Qt shows a focused widget's What's This on Shift+F1.
        control->setToolTip(translated(help.toolTip) + "\n" +
                            QCoreApplication::translate("PanelHelp", "Shift+F1 tells more."));
        control->setWhatsThis(translated(help.whatsThis));
    }
}

QString uText(int hundredths)
{
    return QString::asprintf("%.2f", Document::uFromSlider(hundredths));
}

QString precisionText(int tenths)
{
    return QString::asprintf("%.2f", Document::precisionFromSlider(tenths));
}

QString gridText(int spacing)
{
    return spacing <= 0 ? QCoreApplication::translate("PanelHelp", "off") : QString::number(spacing);
}
