#pragma once

#include "curves/Mask.h"

#include <QString>
#include <QStringList>

#include <optional>

class Scene;

// ornelle FILE --export OUT...: the figures of a polygon file written
// without any window or display. Each OUT's suffix picks what is written:
// .pdf, .svg and .eps the page of File > Export... (print colours unless
// asked otherwise), .png the view's picture (a view of viewSide pixels
// times the PNG scale), .csv the selected curve's points ("x,y", then one
// point a line in curve order, each number in the fewest digits that read
// back to the same double), .json the scheme, its settings, the control
// polygon, the curve's points and the three read-out areas. The file's
// settings can be overridden for the export. Every output is made before
// any is written, and each is written whole or not at all; a failure is
// one line on standard error and exit code 2. The PDF, SVG, PNG, CSV and
// JSON need no OpenGL (Qt's offscreen platform, QPainter and the PDF
// writer); the EPS page is drawn by OpenGL without a display (EglContext),
// so that it is the very page gl2ps writes in the window.
class FigureExport
{
public:
    // The command line's request, its values already in range.
    struct Request
    {
        QString file;            // the polygon file
        QStringList outputs;     // the files to write, in order
        std::optional<int> scheme;
        std::optional<int> level;
        std::optional<double> u;
        std::optional<double> precision;
        std::optional<Mask> mask; // the custom scheme's, affine invariant
        bool openEnds = false;    // open ends for the scheme drawn
        int pngScale = 1;
        bool printColours = true;
    };

    // A PNG is the picture of a view this many pixels wide (the view's
    // smallest size in the window), times the PNG scale.
    static constexpr int viewSide = 600;

    explicit FigureExport(Request request);
    // Writes every output; 0 on success, else 2 after one line on standard
    // error naming the file or value at fault. Creates the (offscreen)
    // application object itself, with program (argv[0]) as its first
    // argument.
    int run(const char *program);

    // The selected curve's points as CSV, and the whole figure's values as
    // JSON (see above), for scene after its update.
    static QByteArray csv(const Scene &scene);
    static QByteArray json(Scene &scene, double polygonArea, double deltaArea);

private:
    // The problem with the request's file and overrides, or empty; fills
    // scene.
    QString load(Scene &scene) const;
    // The problem with an output's name, or empty: its format, and whether
    // a file can be written there.
    static QString checkOutput(const QString &path);
    // The bytes of one output, or a reason in failure.
    QByteArray make(const QString &path, Scene &scene, double polygonArea, double deltaArea, QString &failure) const;

    Request request;
};
