#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

namespace veldra {

// One picture per file of `folder` (files only, no subfolders). A picture's key is the file
// name cut before its first ".", in lower case ("Labeler.Small.bmp" gives "labeler"). A file
// that is not a picture, or whose key is already taken, is skipped.
QHash<QString, QIcon> loadTreeViewImages(const QString& folder);

// The program folder's Images folder.
QString treeViewImagesFolder();

} // namespace veldra
