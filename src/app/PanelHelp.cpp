#include "PanelHelp.h"

#include "view/GLBox.h"

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
                       "<b>Vantrell Proposed</b>: each pass replaces every vertex by three points, placed by u.</p>"
                       "<p>The last three refine closed polygons only, Subdivision Level times.</p>")},
    {"openCloseCurveCheckBox",
     QT_TRANSLATE_NOOP("PanelHelp", "Closed Curve: joins the last control point to the first; Chaikin, Cubic "
                                    "B-Spline and Vantrell Proposed draw closed polygons only"),
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
    return QString::asprintf("%.2f", GLBox::uFromHundredths(hundredths));
}

QString precisionText(int tenths)
{
    return QString::asprintf("%.2f", GLBox::precisionFromTenths(tenths));
}

QString gridText(int spacing)
{
    return spacing <= 0 ? QCoreApplication::translate("PanelHelp", "off") : QString::number(spacing);
}
