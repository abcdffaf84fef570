#pragma once

#include <QString>

// An OpenGL context made current without any display: Mesa's EGL on its
// surfaceless platform, a compatibility profile (immediate mode and
// feedback mode, which gl2ps records through) with a small pbuffer. For
// drawing a PostScript page where no X server runs. One per thread at a
// time; released (and the previous context no longer current) when the
// object goes.
class EglContext
{
public:
    // Tries to make the context; valid() tells, error() says why not.
    EglContext();
    ~EglContext();
    EglContext(const EglContext &) = delete;
    EglContext &operator=(const EglContext &) = delete;

    bool valid() const { return error_.isEmpty(); }
    QString error() const { return error_; }

private:
    void *display = nullptr;
    void *surface = nullptr;
    void *context = nullptr;
    QString error_;
};
