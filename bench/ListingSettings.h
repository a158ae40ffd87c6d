#pragma once
// Settings documents of a real label grown to many products, shared by the benchmarks of the
// build and of the editor: the Rx label of the fixtures written as settings through the
// program folder's definition document (so every element carries its definition attributes,
// as in the user's files), its first product cloned, with fresh ids, to the number asked.
#include "../tests/generation/SettingsFromSPL.cpp"
#include "editor/document/SettingsDocument.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/tree/Document.h"

#include <QCoreApplication>
#include <QDir>

namespace listing_settings {

// The program folder the build made beside the benchmarks (data/ copied to bin/).
inline void useProgramFolderBesideBenchmarks()
{
    veldra::app_paths::setProgramFolderForTesting(QDir(QCoreApplication::applicationDirPath()).filePath("../bin"));
}

// The label's settings, written once; the program folder must be set first.
inline const veldra::xml::Document& label()
{
    static const veldra::xml::Document settings = veldra::test::settingsFromSPL(
        QStringLiteral(VELDRA_FIXTURES_DIR "/spl-documents/openfda-lipitor-rx/lipitor-orig.xml"));
    return settings;
}

// The label's settings with its first product cloned to `products`, each clone with fresh ids.
inline veldra::xml::Document settingsWith(int products, bool withSections)
{
    veldra::xml::Document settings;
    settings.loadXml(label().xml());
    const veldra::xml::NodeList existing = settings.selectNodes(QStringLiteral("/SPLR4/Products/Product"));
    const veldra::xml::Node first = existing.item(0);
    for (int i = 1; i < existing.length(); ++i)
        first.parentNode().removeChild(existing.item(i));
    for (int i = 1; i < products; ++i) {
        const veldra::xml::Node clone = first.cloneNode(true);
        first.parentNode().appendChild(clone);
        veldra::AssignWord2SPLIDs(clone);
    }
    if (!withSections)
        for (const veldra::xml::Node& section : settings.selectNodes(QStringLiteral("//DocumentSections/Section")))
            section.parentNode().removeChild(section);
    return settings;
}

} // namespace listing_settings
