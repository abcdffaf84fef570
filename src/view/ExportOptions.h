#pragma once

#include <QString>

// What File > Export... and --export write: the file format and the
// choices that go with it. The vector formats hold the same page, the
// view's square drawn into a square of pageSide points; PNG is the view's
// own picture at pngScale times its size in device pixels; CSV and JSON
// are the selected curve's points as text (FigureExport's writers).
class ExportOptions
{
public:
    enum Format { Eps = 0, Pdf = 1, Svg = 2, Png = 3, Csv = 4, Json = 5 };
    static constexpr int formatCount = 6;

    // The side of a vector page in points (1/72 inch): 10 cm, whatever the
    // size of the window.
    static constexpr int pageSide = 283;
    // The PNG scales offered.
    static constexpr int pngScales[] = {1, 2, 4};

    Format format = Pdf;
    // The polygon and the curves' dots dark for white paper; only the
    // vector formats use it.
    bool printColours = true;
    int pngScale = 1; // one of pngScales

    // True for EPS, PDF and SVG.
    bool isVector() const { return format == Eps || format == Pdf || format == Svg; }
    // True for CSV and JSON, the curve's points rather than a picture.
    bool isCurvePoints() const { return format == Csv || format == Json; }

    // The file suffix without its dot ("eps", "pdf", "svg", "png", "csv",
    // "json").
    static QString suffix(Format format);
    // The dialog's file type, such as "PDF (*.pdf)".
    static QString filter(Format format);
    // The format whose filter() is text, or -1.
    static int formatOfFilter(const QString &text);
    // The format named by the suffix of path (any letter case), or -1.
    static int formatOfName(const QString &path);
    // path as it is written: a name whose suffix names one of the formats
    // keeps it and sets format to that format; any other gets format's
    // suffix appended.
    static QString completedName(const QString &path, Format &format);
    // A file name without folder and suffix for the figure of scheme (0
    // none to 4, as Schemes numbers them) at level: "polygon", "bezier",
    // "chaikin-level-3", "bspline-level-0", "proposed-level-2".
    static QString baseName(int scheme, int level);
};
