#pragma once

#include <QString>

namespace veldra {

// Shows the browser control's message about a page process that crashed or was killed (see
// web::BrowserSettings::pageProcessFailed); the program, its editors and their documents
// carry on.
void showPageProcessFailure(const QString& message);

} // namespace veldra
