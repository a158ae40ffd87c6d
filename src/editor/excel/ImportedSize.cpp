#include "editor/excel/ImportedSize.h"

#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Node.h"

namespace veldra {

namespace {

constexpr qint64 ElementBytes = 1100;
constexpr qint64 AttributeBytes = 330;
constexpr qint64 MaxImportMemory = qint64(1) << 30;

std::optional<qint64>& limitForTesting()
{
    static std::optional<qint64> limit;
    return limit;
}

} // namespace

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

qint64 editorMemoryOf(const DocumentSize& size)
{
    return size.elements * ElementBytes + size.attributes * AttributeBytes + size.bytes * 2;
}

qint64 importMemoryLimit()
{
    return limitForTesting().value_or(MaxImportMemory);
}

void setImportMemoryLimitForTesting(std::optional<qint64> limit)
{
    limitForTesting() = limit;
}

} // namespace veldra
