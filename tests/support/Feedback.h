#pragma once

#include <functional>
#include <string>
#include <vector>

// One vertex as OpenGL feedback mode reports it, mapped back from window
// coordinates into world coordinates.
struct FeedbackVertex
{
    double x = 0, y = 0;
    float r = 0, g = 0, b = 0, a = 0;
};

// One feedback token: a point, a line segment or a pass-through marker.
// Strips and loops arrive as their segments; Mesa does not mark where one
// primitive ends and the next begins, so tests compare segment sequences.
struct FeedbackItem
{
    enum Kind { Point, Line, PassThrough, Other };
    Kind kind = Other;
    std::vector<FeedbackVertex> vertices;
    float marker = 0; // PassThrough value
};

// Runs draw() in feedback mode (GL_3D_COLOR) with the projection of the
// square left..right x bottom..top (the view's reset projection,
// gluOrtho2D(-10, 10, -10, 10), by default) and returns what it issued, in
// order, mapped back into world coordinates. Needs a current context
// (GlContext). Grows the buffer until it fits.
std::vector<FeedbackItem> captureFeedback(const std::function<void()> &draw, double left = -10, double right = 10,
                                          double bottom = -10, double top = 10);

// Colour of a vertex as "r,g,b" rounded to two decimals, for assertions.
std::string colourOf(const FeedbackVertex &v);

// True when two world coordinates agree within the capture's precision.
bool near(double a, double b, double tolerance = 1e-3);
