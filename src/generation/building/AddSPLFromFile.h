#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
class Node;
}

// Merges an existing SPL file, named by the settings element ProductLabelFromExistingSPL
// (`mergeElement`, child SPLFileName), into the built SPL `target` that will be saved as
// `outFile`: copies the media files it references into the output folder, inserts its
// top-level sections (less those named under OmitSections/SectionName) before the second
// top-level component of the target, moves all media into the first section, drops media
// that nothing references (and the files this merge copied for them) and writes every id
// root in lower case. Media references that are not plain file names in the SPL file's own
// folder are reported and neither copied nor deleted.
//
// The copying runs behind a progress window; the user may stop it between the media and
// sections it takes, and it then returns false with `target` half merged, which the build
// does not save. The nodes it copies are held to the node cap of outside files: past it the
// merge ends with a VbError that says so. Stopped or failed, it removes the media files it
// copied into the output folder.
bool AddSPLFromFile(const xml::Node& mergeElement, const xml::Document& target, const QString& outFile);

// For tests: the most nodes a merge copies; 0 restores the node cap of outside files.
void setCopiedNodeCapForTesting(qint64 cap);

// True for a media reference that names a file directly in its SPL file's folder: no path
// separators, no drive or scheme, not "." or "..".
bool isPlainMediaFileName(const QString& reference);

} // namespace veldra
