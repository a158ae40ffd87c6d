#pragma once

#include "platform/xml/resources/ResourceAddress.h"

#include <QString>
#include <QUrl>

namespace veldra::xml {

// Downloads the file `entryName` of the set at `remoteFolder` and every file of the same set
// that it loads (includes, imports, stylesheet documents; see resourceReferences), following
// them from file to file, and stores them under their paths in the set in `folder`. Files land only when the whole set arrived,
// the entry file last, so an interrupted download never leaves a set that looks complete.
// Blocks until done, running a local event loop. Returns "" on success, otherwise the problem.
QString downloadResourceSet(ResourceKind kind, const QUrl& remoteFolder, const QString& entryName,
                            const QString& folder);

} // namespace veldra::xml
