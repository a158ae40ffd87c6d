#pragma once

#include <QtGlobal>

namespace veldra {

namespace xml {
class Document;
class Node;
}

// What an import may still add to a settings document so that the editor can open it again
// (kMaxEditorDocumentBytes): a workbook of a million short rows would otherwise make a
// document the editor refuses, and take gigabytes on the way.
class ImportRoom {
public:
    explicit ImportRoom(const xml::Document& document);

    // Takes the bytes the record will hold once saved, its ids included; false, taking
    // nothing, when they do not fit.
    bool take(const xml::Node& record);

private:
    qint64 left_;
};

} // namespace veldra
