#pragma once

#include <QString>
#include <QStringList>

namespace veldra::test {

// The shared, read-only fixture material beside the checkout (../shared/fixtures).
QString fixturesDir();
QString fixture(const QString& relative);
// Every real SPL document of the fixtures, sorted by path.
QStringList splDocumentFiles();
// The project's own data/ folder (the program folder's source).
QString sourceDataDir();
// The program folder of the build (data/ copied beside the executable).
QString builtProgramDir();
QString readTextFile(const QString& path);
void writeTextFile(const QString& path, const QString& text);

} // namespace veldra::test
