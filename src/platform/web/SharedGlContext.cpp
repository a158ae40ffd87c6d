#include "platform/web/SharedGlContext.h"

#include <QCoreApplication>
#include <QOpenGLContext>

// Qt's own setter of the application's shared context; the browser engine declares it the
// same way, as it is exported but has no public header.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace veldra::web {

namespace {

// While the application still runs: the context belongs to its windowing system.
void deleteSharedGlContext()
{
    delete QOpenGLContext::globalShareContext();
    qt_gl_set_global_share_context(nullptr);
}

} // namespace

void makeSharedGlContext()
{
    if (QOpenGLContext::globalShareContext())
        return;
    auto* context = new QOpenGLContext;
    context->setFormat(QSurfaceFormat::defaultFormat());
    // Without OpenGL (the offscreen platform, say) the context stays invalid and the engine
    // draws in software, as it would have with the context made at start.
    context->create();
    qt_gl_set_global_share_context(context);
    // Widgets that draw with OpenGL share with the context only under this attribute. Qt
    // warns once that it comes after the application's start, as it does when its own
    // engine set-up is called late; the context above is what the warning is about.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qAddPostRoutine(deleteSharedGlContext);
}

} // namespace veldra::web
