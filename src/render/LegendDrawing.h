#pragma once

#include "model/Scene.h"

#include <QFont>

#include <vector>

class Canvas;
class StudyLayers;
struct Frame;

// The legend, one line per drawn curve and the key of Depth Colour, as
// each output shows it (Frame::Legend): on screen and in images a picture
// in the top-left corner (a swatch of each curve's colour and width before
// its name, white to black for the key, on a pale panel), on the
// PostScript page the names as text in the curves' colours, on the other
// pages a swatch and a black name per line.
class LegendDrawing
{
public:
    // Keeps its picture in layers (not owned), which draws it.
    explicit LegendDrawing(StudyLayers &layers);

    // lines in frame, the picture's text in font.
    void draw(Canvas &canvas, const Frame &frame, const std::vector<Scene::LegendLine> &lines, const QFont &font);

private:
    // The picture for lines at ratio device pixels per logical pixel, made
    // again only when something changed.
    void layOut(const std::vector<Scene::LegendLine> &lines, double ratio, const QFont &font);

    StudyLayers &layers;
    std::vector<Scene::LegendLine> shown;
    double shownRatio = 0.0;
    QFont shownFont;
};
