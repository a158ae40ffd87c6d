#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// The template and transformation file that one build reads from the program folder's
// SPLR4Definitions.
struct TransformPair {
    QString templateFile;
    QString transformationFile;
};

// What a build learns of its settings document before it starts, in one walk over it.
struct SettingsSurvey {
    // An element KitAssembly holds at least one filled value: one that is not blank and
    // differs from the starting value of a new document (the text of the definition element
    // at its path), so the KitAssembly group of a new document counts as absent.
    bool kitAssembly = false;
    // The first element ProductLabelFromExistingSPL may name an SPL file; when false it
    // certainly does not.
    bool mayNameExistingSPL = false;
};
SettingsSurvey surveySettings(const xml::Document& settings);

// The kit-assembly pair for a kit assembly, otherwise the drug-product pair.
TransformPair transformPairFor(const SettingsSurvey& survey);

// A file named by a transformation entry (Definition/TemplateFile): a path below the
// program folder, written with a leading "\" or "/".
QString programFolderFile(const QString& relative);

// The file loaded, or VbError (source `source`) saying which file could not be loaded and why.
xml::Document loadDefinitionFile(const QString& path, const QString& source);

} // namespace veldra
