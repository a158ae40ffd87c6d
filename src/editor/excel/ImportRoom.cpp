#include "editor/excel/ImportRoom.h"

#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

// The Word2SPLID an element gets after the import: ` Word2SPLID="` and 36 characters and `"`.
constexpr qint64 kIdBytes = 50;

} // namespace

ImportRoom::ImportRoom(const xml::Document& document)
    : held_(treeSizeOf(document.asNode()))
{
    held_.bytes = document.xmlBytes().size();
}

DocumentSize ImportRoom::sizeOf(const xml::Node& node)
{
    DocumentSize size = treeSizeOf(node);
    qint64 withoutId = 0;
    xml::forEachElement(xml::Cursor(node), [&withoutId](const xml::Cursor& element) {
        withoutId += !element.hasAttribute("Word2SPLID");
    });
    size.attributes += withoutId;
    size.bytes = node.xml().toUtf8().size() + withoutId * kIdBytes;
    return size;
}

bool ImportRoom::take(const DocumentSize& size)
{
    DocumentSize after = held_;
    after += size;
    if (!fitsInEditor(after))
        return false;
    held_ = after;
    return true;
}

} // namespace veldra
