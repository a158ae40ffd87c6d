#pragma once

#include <QString>
#include <libxslt/xsltInternals.h>
#include <memory>

namespace veldra::xml {

// A stylesheet compiled from a local file, or why it could not be compiled.
struct CompiledStylesheet {
    std::shared_ptr<xsltStylesheet> stylesheet;
    QString problem;
    QString messages; // what libxslt reported while compiling (warnings too)
};

// Compiles the stylesheet file at `localPath` (with everything it imports and includes, loaded
// through the resource loader) the first time it is asked for, and hands out the same compiled
// stylesheet until the file changes on disk. A compiled stylesheet is only read by transforms,
// so several may share it. Failures are not remembered. Safe to call from several threads.
CompiledStylesheet compiledStylesheet(const QString& localPath);

} // namespace veldra::xml
