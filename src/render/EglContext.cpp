#include "render/EglContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace {

// The side of the pbuffer: feedback mode draws nothing into it, but the
// context needs a surface of some size on implementations without
// surfaceless contexts.
constexpr EGLint pbufferSide = 16;

} // namespace

EglContext::EglContext()
{
    // The surfaceless platform is Mesa's; it needs neither X nor a GPU.
    const auto platformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!platformDisplay) {
        error_ = "EGL cannot open a display of a platform";
        return;
    }
    EGLDisplay egl = platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (egl == EGL_NO_DISPLAY || !eglInitialize(egl, &major, &minor)) {
        error_ = "EGL has no surfaceless display";
        return;
    }
    display = egl;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "EGL offers no desktop OpenGL";
        return;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,     8,               EGL_GREEN_SIZE,      8,
                                       EGL_BLUE_SIZE,    8,               EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(egl, configAttributes, &config, 1, &configs) || configs < 1) {
        error_ = "EGL has no configuration for an OpenGL pbuffer";
        return;
    }
    const EGLint pbufferAttributes[] = {EGL_WIDTH, pbufferSide, EGL_HEIGHT, pbufferSide, EGL_NONE};
    surface = eglCreatePbufferSurface(egl, config, pbufferAttributes);
    // Immediate mode and feedback mode only exist in a compatibility
    // profile.
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context = eglCreateContext(egl, config, EGL_NO_CONTEXT, contextAttributes);
    if (surface == EGL_NO_SURFACE || context == EGL_NO_CONTEXT) {
        error_ = "EGL could not make an OpenGL compatibility context";
        return;
    }
    if (!eglMakeCurrent(egl, surface, surface, context))
        error_ = "EGL could not make its OpenGL context current";
}

EglContext::~EglContext()
{
    if (!display)
        return;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != EGL_NO_CONTEXT && context)
        eglDestroyContext(display, context);
    if (surface != EGL_NO_SURFACE && surface)
        eglDestroySurface(display, surface);
    eglTerminate(display);
}
