#pragma once

namespace veldra::web {

// Qt's browser engine draws through an OpenGL context shared with the application, which Qt
// makes as the application starts when asked to (Qt::AA_ShareOpenGLContexts); the engine
// refuses to work without it. Only the browser needs it, and making it is a large part of a
// start on a real display, so the program does not ask at its start: this makes the context
// the way Qt would have, just before the engine is loaded. That is sound here because the
// program's other windows draw without OpenGL, so no context exists yet that would have had to
// share with it. Does nothing when the context is there already.
void makeSharedGlContext();

} // namespace veldra::web
