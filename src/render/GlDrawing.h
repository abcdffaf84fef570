#pragma once

// The core's own draw() calls (Curve::draw, and so Curve::render, and
// ControlPoints::draw) draw with OpenGL into the current context through
// the same code as every picture (SceneRenderer on a GlCanvas): every
// vertex while the context renders, the feedback sequence of vertices
// while it records. Installing is idempotent; the view installs it, and so
// may any program that calls those draw() functions.
struct GlDrawing
{
    static void install();
};
