#pragma once

#include "platform/xml/resources/ResourceAddress.h"

#include <QString>
#include <QUrl>

namespace veldra::xml {

// Where the local copies of a resource set live:
// - schemas: the per-user cache folder "schemas";
// - stylesheets: the program folder's Preview/spl-stylesheet-6.2/ when it holds files,
//   otherwise the per-user cache folder "stylesheets".
// A folder set for testing replaces both.
QString localResourceFolder(ResourceKind kind);

// The local file of a mapped resource, or "" when there is none yet. The name matches
// case-insensitively ("spl.xsd" finds "SPL.xsd").
QString localCopy(const MappedAddress& resource);

// The folder address a set is downloaded from: the agency's https folder (so http addresses
// are fetched over https), or an empty URL when downloads are off (tests without a server).
QUrl remoteResourceFolder(ResourceKind kind);

// The local file a reference leads to without any download: mapped addresses lead to their
// local copy, file: URLs and paths to that file. Unmapped network addresses lead nowhere.
// Sets `problem` when the result is "".
QString localFileFor(const QString& reference, QString* problem = nullptr);

// A reference made available locally: the file to load, or why there is none.
struct ObtainedResource {
    QString localPath;
    QString problem;
    bool available() const { return !localPath.isEmpty(); }
};

// Like localFileFor, but a mapped resource without a local copy is first downloaded with
// every file its set loads, into the set's local folder. This is the only place where a
// network connection is opened; loaders never fetch anything.
ObtainedResource obtainResource(const QString& reference);

// Test seam: keep a set's local copies in `folder` (fixtures, a temporary folder). Downloads
// then go only to `remoteFolder` (a server the test started), and none happen when it is
// empty. An empty `folder` restores the normal folders and the agency's addresses.
void setLocalRootForTesting(ResourceKind kind, const QString& folder, const QUrl& remoteFolder = QUrl());

} // namespace veldra::xml
