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

    // The bytes a node adds to the saved document once its elements carry their ids.
    static qint64 bytesOf(const xml::Node& node);
    // Takes that many bytes; false, taking nothing, when they do not fit.
    bool take(qint64 bytes);

private:
    qint64 left_;
};

} // namespace veldra
