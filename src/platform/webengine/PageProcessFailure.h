#pragma once

#include <QString>

#include <functional>

class QWebEnginePage;

namespace veldra::web {

// The browser engine shows each page from a process of its own. When that process crashes or
// is killed, only the page is gone: `tell` gets a message for the user that says so.
void reportPageProcessFailures(QWebEnginePage* page, const std::function<void(const QString&)>& tell);

} // namespace veldra::web
