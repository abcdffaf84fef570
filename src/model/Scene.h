#pragma once

#include "analysis/SchemeSetup.h"
#include "curves/Curve.h"
#include "curves/Schemes.h"
#include "geometry/ControlPoints.h"
#include "geometry/List.h"
#include "model/CurveNotes.h"
#include "model/StudyMeasures.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CustomCurve;
class Document;

// Everything a picture of the program shows, as one model with neither Qt
// nor OpenGL: the control polygon, one curve of each scheme (at positions
// 1 to 5 of curves(), in Schemes order), the selected scheme, the study's
// switches with the curves' shares of the point budget, and the grid and
// axes behind them. Whatever draws it (the view, a page, an image) only
// reads it; all the work is done by update().
//
// The polygon's dirty flag has one owner: the polygon's own edits and
// markChanged() set it, and only update() clears it, after it has brought
// every drawn curve and the study's measures up to date. In update() the
// polygon's area is taken before the selected curve is rebuilt, so that it
// is measured on the points the curve is made from.
class Scene
{
public:
    // What update() found: the read-out's areas and the messages to show.
    struct Readout
    {
        // A scheme is selected, so the areas below are due.
        bool measured = false;
        // The polygon's signed area (positive clockwise; 0 when open or
        // with fewer than 3 points) and the selected curve's area
        // difference, or the polygon's area when no curve is drawn (its
        // final area reads 0).
        double polygonArea = 0.0;
        double deltaArea = 0.0;
        // Messages for the user, in order: a level cut short by the point
        // budget, a subdivision that ran out of memory.
        std::vector<std::string> messages;
        // Said for as long as it holds (CurveNotes::hint): why the
        // selected curve draws nothing, or that its u diverges; and where
        // its subdivision stopped short (CurveNotes::reached). Empty when nothing
        // is to be said or no scheme is selected.
        std::string hint;
        std::string reached;
    };

    // The grid and the axes behind the curves; plain settings.
    struct Backdrop
    {
        int gridSpace = 2; // world units; <= 0 draws the border only
        bool drawAxis = true;
    };

    // The study's switches, all off at start (the picture is then exactly
    // as without them). compared[i]: draw scheme i's curve (1 to 5) too,
    // unless it is the selected one. influence: highlight the part of the
    // selected curve that the control point under the pointer (or
    // dragged) moves, and shade a drag's displacement.
    struct Study
    {
        std::array<bool, Schemes::count + 1> compared{};
        bool passes = false;
        bool limit = false;
        bool curvature = false;
        bool influence = false;
    };

    // One line of the legend: its words and the swatch drawn before them.
    struct LegendLine
    {
        std::string text;
        std::array<float, 3> colour;
        float width; // the curve's width in device pixels
        // The key of Depth Colour: the swatch runs from white (split depth
        // 0) to black (depth 10 and deeper), colour unused.
        bool depthKey = false;
        bool operator==(const LegendLine &) const = default;
    };

    // A compared curve may fill this much of the point budget while four
    // curves or fewer are drawn, and a fifth of it when all five are.
    static constexpr std::uint32_t compareShare = Curve::pointBudget / 4;
    // Width in device pixels of a compared curve (the selected one: 3).
    static constexpr float compareWidth = 1.5f;
    // The selected curve's colour.
    static constexpr std::array<float, 3> curveColour{0.65f, 0.53f, 1.0f};

    // An empty open polygon, the five curves, no scheme selected.
    Scene();
    Scene(const Scene &) = delete;
    Scene &operator=(const Scene &) = delete;
    ~Scene();

    ControlPoints &polygon() { return control; }
    const ControlPoints &polygon() const { return control; }
    // The curves at positions 1 to 5 (List::indexNode), owned by the scene.
    List<Curve> &curves() { return curveList; }
    const List<Curve> &curves() const { return curveList; }
    // The curve of scheme 1 to 5.
    Curve &curve(int scheme);
    const Curve &curve(int scheme) const;
    // The selected scheme, 0 (none) to 5; a reference that stays valid.
    const int &selected() const { return current; }
    // The selected curve, or null.
    Curve *selectedCurve();
    const Curve *selectedCurve() const;
    const Study &study() const { return switches; }
    Backdrop backdrop;

    // Selects scheme 0 to 5 and gives every curve its share of the budget;
    // the curve is made again from the polygon at the next update. Any
    // other number changes nothing and returns false.
    bool select(int scheme);
    // The polygon or a setting of the selected curve's shape changed.
    void markChanged() { control.dirty = true; }
    // The selected curve's settings; each returns whether the value
    // changed and marks the polygon changed (none without a selection).
    bool setU(double u);
    bool setPrecision(double precision);
    // A level cut short by the point budget that newLevel would give again
    // is kept instead of made again (kept true).
    struct LevelChange
    {
        bool changed = false;
        bool kept = false;
    };
    LevelChange setLevel(int level);
    // Open ends for the selected refining scheme (nothing for the others).
    bool setOpenEnds(bool on);
    // The custom scheme's mask (affine invariant: see
    // MaskAnalysis::affineRefusal); marks the polygon changed while the
    // custom scheme is drawn.
    bool setCustomMask(const Mask &mask);
    // The custom scheme's curve.
    CustomCurve &customCurve();
    const CustomCurve &customCurve() const;
    // The study's switches; each frees what it no longer needs.
    void setCompared(int scheme, bool on);
    void setShowPasses(bool on);
    void setShowLimit(bool on);
    void setShowCurvature(bool on);
    void setShowInfluence(bool on);

    // Playing the selected scheme's levels for a lecture: while it plays,
    // the selected curve is made at the level shown (0 up to its own
    // level, with the passes shown), and document() still gives its own
    // level. startPlaying() needs a selected refining scheme at level 1 or
    // more and shows level 0; true when it started. Every setting of the
    // scene's own (a scheme, u, precision, level, open ends, mask, a
    // document, the passes switch) stops it first; the polygon's editors
    // stop it themselves (stopPlaying). Stopping puts the level and the
    // passes switch back.
    bool startPlaying();
    // Shows level (0 to the scheme's own level) while playing.
    void showPlayedLevel(int level);
    void stopPlaying();
    bool playing() const { return play.active; }
    // The level the selected scheme plays up to (its own level).
    int playedUpTo() const { return play.level; }

    // Drops every curve's result.
    void clearCurves();
    // Replaces the polygon by points (z = 0) and the closed flag and marks
    // it changed: the drawn curves are made again at the next update, in
    // the memory they hold; the others drop their results.
    void replacePolygon(const std::vector<Vector> &points, bool closed);
    // The polygon, the selection, every scheme's settings, grid and axes.
    Document document() const;
    // Puts all of document's back (values in the panel's ranges), or all
    // but its polygon.
    void apply(const Document &document);
    void applySettings(const Document &document);

    // Brings every drawn curve (the selected one and the compared ones) and
    // the study's measures up to date with the polygon and the settings,
    // subdividing what changed; returns the read-out. Never throws: a
    // subdivision that runs out of memory is dropped and reported.
    Readout update();
    // True while update() has something to do.
    bool stale() const;
    // Changes whenever update() remade something, or a study switch
    // changed: a drawing laid out from the scene's measures is out of date.
    std::uint64_t version() const { return changes; }

    // Schemes compared beside the selected one: ticked, not selected.
    int comparedCount() const;
    // The legend: one line per drawn curve (the selected one first) with
    // its level, or where it stopped (CurveNotes::reached), and u, while something
    // is compared; then the key of Depth Colour while the selected curve
    // shows it. Empty when neither.
    std::vector<LegendLine> legend() const;
    // The message that says where the selected curve stopped short of its
    // level ("Level 99 limited to 19 ...") or precision (the Bezier curve
    // "cut at depth 0: split work budget ..."), when it did and that
    // message is not the last one given; it counts as given then. Empty
    // otherwise.
    std::string limitMessage();

    // The selected scheme's passes (Show Passes) and closed-form limit
    // (Show Limit), made by update(); null when not shown, not known or
    // without passes.
    const SubdivisionPasses *passes() const { return measures.passes(); }
    const LimitCurve *limit() const { return measures.limit(); }
    // The convergence series of the selected scheme is out of date (Show
    // Limit on and the curve changed since it was last measured); the
    // flag is cleared by measureConvergence.
    bool convergenceStale() const { return measures.seriesOutdated(); }
    // Measures the selected scheme's series within work
    // (ConvergenceSeries::measure); empty without a selected scheme.
    ConvergenceSeries measureConvergence(std::uint64_t work) { return measures.measure(selectedCurve(), work); }

private:
    // Gives every curve its share of the point budget; a curve whose share
    // changed is made again.
    void shareBudget();
    // Drops the results of the curves that are not drawn (neither selected
    // nor compared): they would only hold on to memory.
    void dropUndrawn();
    // The share of each compared curve now.
    std::uint32_t comparedShare() const;
    void updateCompared(Readout &out);
    void updateSelected(Readout &out);

    ControlPoints control;
    List<Curve> curveList;
    int current = 0;
    Study switches;
    // The play under way: the selected curve's own level and whether the
    // passes were shown before it began.
    struct Play
    {
        bool active = false;
        int level = 0;
        bool passes = false;
    } play;
    // A compared curve that must be made again before it is drawn.
    std::array<bool, Schemes::count + 1> compareStale{};
    StudyMeasures measures;
    CurveNotes notes;
    std::uint64_t changes = 0;
    // The last limit message given (scheme and text), so that a
    // subdivision that stops at the same place again does not cover the
    // messages of the edits in between; cleared by every subdivision that
    // is not cut and by a new polygon.
    int limitScheme = 0;
    std::string limitText;
};
