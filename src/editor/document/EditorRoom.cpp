#include "editor/document/EditorRoom.h"

#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

std::optional<DocumentSize>& limitForTesting()
{
    static std::optional<DocumentSize> limit;
    return limit;
}

bool fitsInLimit(const DocumentSize& size)
{
    if (const std::optional<DocumentSize>& limit = limitForTesting())
        return size.elements <= limit->elements && size.attributes <= limit->attributes && size.bytes <= limit->bytes;
    return fitsInEditor(size);
}

} // namespace

DocumentSize savedSizeOf(const xml::Document& document)
{
    DocumentSize size = treeSizeOf(document.asNode());
    size.bytes = document.xmlBytes().size();
    return size;
}

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

DocumentSize savedSizeOfText(const QString& text)
{
    return DocumentSize{0, 0, text.toHtmlEscaped().toUtf8().size()};
}

EditorRoom::EditorRoom(const DocumentSize& held) : held_(held) {}

EditorRoom EditorRoom::leftBy(const xml::Document& document)
{
    return EditorRoom(savedSizeOf(document));
}

EditorRoom EditorRoom::leftReplacing(const xml::Node& element)
{
    DocumentSize kept = savedSizeOf(element.ownerDocument());
    const DocumentSize replaced = treeSizeOf(element);
    kept.elements -= replaced.elements;
    kept.attributes -= replaced.attributes;
    kept.bytes -= element.xml().toUtf8().size();
    return EditorRoom(kept);
}

bool EditorRoom::fits(const DocumentSize& size) const
{
    DocumentSize after = held_;
    after += size;
    return fitsInLimit(after);
}

bool EditorRoom::take(const DocumentSize& size)
{
    if (!fits(size))
        return false;
    held_ += size;
    return true;
}

QString EditorRoom::limitText()
{
    if (const std::optional<DocumentSize>& limit = limitForTesting())
        return QStringLiteral("up to %1 elements, %2 attributes and %3 bytes").arg(limit->elements).arg(limit->attributes).arg(limit->bytes);
    return editorLimitText();
}

void setEditorLimitForTesting(std::optional<DocumentSize> limit)
{
    limitForTesting() = limit;
}

} // namespace veldra
