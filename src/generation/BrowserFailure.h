#pragma once

class QWebEnginePage;

namespace veldra {

// The browser engine shows each page from a process of its own. When that process crashes or
// is killed, only the page is gone: the user is told so in a message box, and the program,
// its editors and their documents carry on.
void reportRenderProcessFailures(QWebEnginePage* page);

} // namespace veldra
