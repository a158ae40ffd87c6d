#include "wordimport/EditorRoom.h"

#include "platform/word/Field.h"
#include "platform/word/Range.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

// The Word2SPLID every element gets in the settings document: ` Word2SPLID="`, 36 characters and `"`.
constexpr qint64 kIdBytes = 50;

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

qint64 utf8Bytes(QStringView text)
{
    qint64 bytes = 0;
    for (const QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 || c.isSurrogate() ? 2 : 3;
    return bytes;
}

} // namespace

DocumentSize newMarkupSize(QStringView markup)
{
    DocumentSize size;
    bool inTag = false;
    QChar quote;
    for (qsizetype i = 0; i < markup.size(); ++i) {
        const QChar c = markup[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (inTag) {
            if (c == QLatin1Char('"') || c == QLatin1Char('\''))
                quote = c;
            else if (c == QLatin1Char('='))
                ++size.attributes;
            else if (c == QLatin1Char('>'))
                inTag = false;
        } else if (c == QLatin1Char('<')) {
            inTag = true;
            const QChar next = i + 1 < markup.size() ? markup[i + 1] : QChar();
            size.elements += next != QLatin1Char('/') && next != QLatin1Char('!') && next != QLatin1Char('?');
        }
    }
    size.attributes += size.elements;
    size.bytes = utf8Bytes(markup) + size.elements * kIdBytes;
    return size;
}

DocumentSize leastMarkupSizeOf(const word::Range& range)
{
    DocumentSize size;
    size.bytes = utf8Bytes(range.text());
    for (const word::Note& note : range.notes()) {
        ++size.elements;
        ++size.attributes;
        size.bytes += utf8Bytes(note.text()) + kIdBytes;
    }
    return size;
}

EditorRoom::EditorRoom(DocumentSize held) : held_(held) {}

EditorRoom EditorRoom::forLabelSectionsOf(const xml::Document& settings)
{
    DocumentSize kept = treeSizeOf(settings.asNode());
    kept.bytes = settings.xmlBytes().size();
    for (const xml::Node& section : settings.selectNodes(QStringLiteral("SPLR4/ProductLabel/DocumentSections/Section"))) {
        const DocumentSize replaced = treeSizeOf(section);
        kept.elements -= replaced.elements;
        kept.attributes -= replaced.attributes;
        kept.bytes -= section.xml().toUtf8().size();
    }
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
