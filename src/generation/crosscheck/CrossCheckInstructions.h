#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
class Node;
}

// The instruction file of the comparison, in the program folder.
QString crossCheckInstructionFile();

// The document type an SPL file states (its code's display name); empty when it states none or
// the file did not load.
QString documentTypeOf(const xml::Document& spl);

// The first Setup of the instructions whose Header lists the document type, or a null node.
xml::Node setupFor(const xml::Document& instructions, const QString& documentType);

// An attribute of an instruction that must be present; its absence fails the check, named
// with `source`.
QString requiredAttribute(const xml::Node& element, const QString& name, const QString& source);

} // namespace veldra
