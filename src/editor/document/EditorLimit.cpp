#include "editor/document/EditorLimit.h"

#include "platform/xml/io/InputLimits.h"
#include "platform/xml/tree/Cursor.h"

#include <algorithm>

namespace veldra {

DocumentSize& DocumentSize::operator+=(const DocumentSize& other)
{
    elements += other.elements;
    attributes += other.attributes;
    bytes += other.bytes;
    return *this;
}

qint64 editorMemoryOf(const DocumentSize& size)
{
    constexpr qint64 elementPeakBytes = 1100;
    constexpr qint64 attributePeakBytes = 330;
    return size.elements * elementPeakBytes + size.attributes * attributePeakBytes + size.bytes * 2;
}

qint64 editorMemoryBudgetFor(qint64 fileBytes)
{
    return std::min(kMaxEditorMemory, kEditorMemoryBase + kEditorMemoryPerFileByte * fileBytes);
}

bool fitsInEditor(const DocumentSize& size)
{
    return size.elements <= kMaxEditorElements && size.attributes <= kMaxEditorAttributes
        && size.bytes <= xml::kMaxInputBytes && editorMemoryOf(size) <= editorMemoryBudgetFor(size.bytes);
}

QString editorLimitText()
{
    return QStringLiteral("up to %1 elements, %2 attributes and %3 MiB, taking at most 1 GB in memory besides four "
                          "bytes for each byte of the file (1.9 GB in all)")
        .arg(kMaxEditorElements)
        .arg(kMaxEditorAttributes)
        .arg(xml::kMaxInputBytes / (1024 * 1024));
}

DocumentSize treeSizeOf(const xml::Node& node)
{
    DocumentSize size;
    xml::forEachElement(xml::Cursor(node), [&size](const xml::Cursor& element) {
        ++size.elements;
        for (xml::Cursor attribute = element.firstAttribute(); attribute; attribute = attribute.nextAttribute())
            ++size.attributes;
    });
    return size;
}

} // namespace veldra
