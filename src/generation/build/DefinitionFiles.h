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

// The kit-assembly pair when an element KitAssembly of the settings document holds at least
// one filled value, otherwise the drug-product pair. A value counts as filled when it is not
// blank and differs from the starting value of a new document (the text of the definition
// element at its path), so the KitAssembly group of a new document counts as absent.
TransformPair chooseTransformPair(const xml::Document& settings);

// A file named by a transformation entry (Definition/TemplateFile): a path below the
// program folder, written with a leading "\" or "/".
QString programFolderFile(const QString& relative);

// The file loaded, or VbError (source `source`) saying which file could not be loaded and why.
xml::Document loadDefinitionFile(const QString& path, const QString& source);

} // namespace veldra
