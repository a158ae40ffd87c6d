#include "editor/DefinitionTestFolder.h"

#include "editor/window/frmXMLEditor.h"
#include "platform/core/AppPaths.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QFile>

namespace veldra::test {

DefinitionTestFolder::DefinitionTestFolder()
{
    const QDir source(QStringLiteral(VELDRA_SOURCE_DIR "/tests/data/SPLR4Definitions"));
    QDir(dir_.path()).mkpath(QStringLiteral("SPLR4Definitions"));
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), dir_.file(QStringLiteral("SPLR4Definitions/") + name));
    app_paths::setProgramFolderForTesting(dir_.path());
}

DefinitionTestFolder::~DefinitionTestFolder()
{
    app_paths::setProgramFolderForTesting(QString());
}

QString DefinitionTestFolder::file(const QString& relative) const
{
    return dir_.file(relative);
}

QString DefinitionTestFolder::write(const QString& name, const QString& text) const
{
    writeTextFile(dir_.file(name), text);
    return dir_.file(name);
}

std::unique_ptr<frmXMLEditor> openSettings(const DefinitionTestFolder& folder, const QString& xml)
{
    const QString path = folder.write(QStringLiteral("Settings.xml"), xml);
    auto editor = std::make_unique<frmXMLEditor>();
    editor->Mode = QStringLiteral("SPLR4");
    editor->XMLOnTreeView(editor->TreeView, path, QStringLiteral("Edit SPLR4"), true);
    return editor;
}

std::unique_ptr<frmXMLEditor> newSettings()
{
    auto editor = std::make_unique<frmXMLEditor>();
    editor->Mode = QStringLiteral("SPLR4");
    editor->XMLOnTreeView(editor->TreeView, app_paths::inProgram(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml")),
                          QStringLiteral("New SPLR4"), false);
    return editor;
}

} // namespace veldra::test
