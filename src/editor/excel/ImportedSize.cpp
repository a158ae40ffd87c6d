#include "editor/excel/ImportedSize.h"

#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Node.h"

namespace veldra {

DocumentSize importedSizeOf(const xml::Node& node)
{
    DocumentSize size = treeSizeOf(node);
    qint64 withoutId = 0;
    xml::forEachElement(xml::Cursor(node), [&withoutId](const xml::Cursor& element) {
        withoutId += !element.hasAttribute("Word2SPLID");
    });
    size.attributes += withoutId;
    size.bytes = node.xml().toUtf8().size() + withoutId * kIdAttributeBytes;
    return size;
}

} // namespace veldra
