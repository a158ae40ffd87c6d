#pragma once

#include <QString>

namespace veldra {

// The scratch folder of a settings document's quick preview: Preview/<name> below the per-user
// data folder (the program folder is read-only once installed), where <name> is the document id when that is a safe folder name. An empty id, one
// that holds a path (separators, "..") or characters that file names do not allow, or one that
// names the stylesheet folder, is made safe first, so the folder is always a folder of its own
// directly below Preview.
struct PreviewFolder {
    QString name;   // the folder's name, also the name of the SPL file in it (name & ".xml")
    QString folder; // full path
    QString splFile;
};

PreviewFolder previewFolderFor(const QString& documentId);

// Empties the folder (its files; subfolders are not entered) and copies into it every file of
// `imageFolder` whose extension is not "xml" in any letter case. Creates the folder when
// missing. Throws VbError when a file cannot be deleted or copied.
void refillPreviewFolder(const PreviewFolder& preview, const QString& imageFolder);

} // namespace veldra
