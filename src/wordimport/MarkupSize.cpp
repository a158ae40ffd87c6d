#include "wordimport/MarkupSize.h"

#include "platform/word/Field.h"
#include "platform/word/Range.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

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
    size.bytes = utf8Bytes(markup) + size.elements * kIdAttributeBytes;
    return size;
}

DocumentSize leastMarkupSizeOf(const word::Range& range)
{
    DocumentSize size;
    size.bytes = utf8Bytes(range.text());
    for (const word::Note& note : range.notes()) {
        ++size.elements;
        ++size.attributes;
        size.bytes += utf8Bytes(note.text()) + kIdAttributeBytes;
    }
    return size;
}

EditorRoom roomForLabelSectionsOf(const xml::Document& settings)
{
    DocumentSize kept = savedSizeOf(settings);
    for (const xml::Node& section : settings.selectNodes(QStringLiteral("SPLR4/ProductLabel/DocumentSections/Section"))) {
        const DocumentSize replaced = treeSizeOf(section);
        kept.elements -= replaced.elements;
        kept.attributes -= replaced.attributes;
        kept.bytes -= section.xml().toUtf8().size();
    }
    return EditorRoom(kept);
}

} // namespace veldra
