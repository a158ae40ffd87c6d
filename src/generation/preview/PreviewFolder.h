#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

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

// Empties the folder (its files; subfolders are not entered). Creates the folder when missing.
// Throws VbError when a file cannot be deleted.
void emptyPreviewFolder(const PreviewFolder& preview);

// Copies into the folder the pictures of `imageFolder` that the built SPL file shows (the
// media references of `spl`), and nothing else of that folder: a picture is a plain file name
// of a picture type (JPEG, PNG, GIF, BMP), not hidden, and a regular file of that folder (see
// copyFileReplacing); the copies keep its permissions. A picture that is missing or is no
// regular file (a symbolic link, a device, a pipe, a folder) is not copied and is named in the
// log: the page shows without it. Any other reference is left alone. Throws VbError when a
// picture cannot be copied.
void copyReferencedImages(const PreviewFolder& preview, const QString& imageFolder, const xml::Document& spl);

} // namespace veldra
