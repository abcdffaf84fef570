#include "support/GlContext.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace {
int argc = 1;
char appName[] = "ornelle-test";
char *argv[] = {appName, nullptr};
} // namespace

GlContext::GlContext()
{
    if (!QGuiApplication::instance())
        app = std::make_unique<QGuiApplication>(argc, argv);
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    surface = std::make_unique<QOffscreenSurface>();
    surface->setFormat(format);
    surface->create();
    context = std::make_unique<QOpenGLContext>();
    context->setFormat(format);
    isValid = context->create() && context->makeCurrent(surface.get());
}

GlContext::~GlContext()
{
    if (context)
        context->doneCurrent();
}
