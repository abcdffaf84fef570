#pragma once

#include <memory>

class QGuiApplication;
class QOpenGLContext;
class QOffscreenSurface;

// A current compatibility-profile OpenGL context on an offscreen surface,
// for drawing tests of the core. Needs an X display (Xvfb under CTest).
// Creates a QGuiApplication when none exists yet.
class GlContext
{
public:
    GlContext();
    ~GlContext();
    GlContext(const GlContext &) = delete;
    GlContext &operator=(const GlContext &) = delete;

    // True when a context was created and made current.
    bool valid() const { return isValid; }

private:
    std::unique_ptr<QGuiApplication> app;
    std::unique_ptr<QOffscreenSurface> surface;
    std::unique_ptr<QOpenGLContext> context;
    bool isValid = false;
};
