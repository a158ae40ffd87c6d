#pragma once

#include <QString>

// The last folder chosen in each file dialog, kept per user in the settings store
// (the application's names, "Veldra" in the program; section "FileIO"; keys "Settings", "SettingsFile", "SPL",
// "SPLPreview", "Excel").
namespace veldra {

// Stores the folder of `path` (the text before its last separator) under `key`;
// a path without a separator stores nothing.
void SaveLastFolder(const QString& key, const QString& path);

// The folder stored under `key`, or the empty text.
QString GetLastFolder(const QString& key);

} // namespace veldra
