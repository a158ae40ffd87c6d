#include "wordimport/EditorRoom.h"

#include "editor/document/SettingsDocument.h"
#include "platform/word/Field.h"
#include "platform/word/Range.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

// The Word2SPLID every element gets in the settings document: ` Word2SPLID="`, 36 characters and `"`.
constexpr qint64 kIdBytes = 50;

std::optional<MarkupCost>& limitForTesting()
{
    static std::optional<MarkupCost> limit;
    return limit;
}

// What the editor opens. Each element it shows carries an id, so a document within the
// editor's size holds at most one node for every id's worth of its bytes.
MarkupCost editorLimit()
{
    if (limitForTesting())
        return *limitForTesting();
    return {kMaxEditorDocumentBytes, kMaxEditorDocumentBytes / kIdBytes};
}

qint64 utf8Bytes(QStringView text)
{
    qint64 bytes = 0;
    for (const QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 || c.isSurrogate() ? 2 : 3;
    return bytes;
}

// Bytes, elements and attributes of markup; idBytes is what each element will add.
MarkupCost costOf(QStringView markup, qint64 idBytes)
{
    qint64 elements = 0;
    qint64 attributes = 0;
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
                ++attributes;
            else if (c == QLatin1Char('>'))
                inTag = false;
        } else if (c == QLatin1Char('<')) {
            inTag = true;
            const QChar next = i + 1 < markup.size() ? markup[i + 1] : QChar();
            elements += next != QLatin1Char('/') && next != QLatin1Char('!') && next != QLatin1Char('?');
        }
    }
    const qint64 ids = idBytes > 0 ? elements : 0;
    return {utf8Bytes(markup) + elements * idBytes, elements + attributes + ids};
}

} // namespace

MarkupCost& MarkupCost::operator+=(const MarkupCost& other)
{
    bytes += other.bytes;
    nodes += other.nodes;
    return *this;
}

MarkupCost newMarkupCost(QStringView markup)
{
    return costOf(markup, kIdBytes);
}

MarkupCost leastMarkupCostOf(const word::Range& range)
{
    MarkupCost cost{utf8Bytes(range.text()), 0};
    for (const word::Note& note : range.notes())
        cost += MarkupCost{utf8Bytes(note.text()) + kIdBytes, 2};
    return cost;
}

EditorRoom::EditorRoom() : left_(editorLimit()) {}

EditorRoom::EditorRoom(MarkupCost left) : left_(left) {}

EditorRoom EditorRoom::forLabelSectionsOf(const xml::Document& settings)
{
    MarkupCost kept = costOf(QString::fromUtf8(settings.xmlBytes()), 0);
    for (const xml::Node& section : settings.selectNodes(QStringLiteral("SPLR4/ProductLabel/DocumentSections/Section"))) {
        const MarkupCost replaced = costOf(section.xml(), 0);
        kept.bytes -= replaced.bytes;
        kept.nodes -= replaced.nodes;
    }
    const MarkupCost limit = editorLimit();
    return EditorRoom({limit.bytes - kept.bytes, limit.nodes - kept.nodes});
}

bool EditorRoom::fits(const MarkupCost& cost) const
{
    return cost.bytes <= left_.bytes && cost.nodes <= left_.nodes;
}

bool EditorRoom::take(const MarkupCost& cost)
{
    if (!fits(cost))
        return false;
    left_.bytes -= cost.bytes;
    left_.nodes -= cost.nodes;
    return true;
}

QString EditorRoom::limitText()
{
    const MarkupCost limit = editorLimit();
    return QStringLiteral("%1 MB and %2 elements and attributes")
        .arg(QString::number(static_cast<double>(limit.bytes) / (1024 * 1024), 'g', 3))
        .arg(limit.nodes);
}

void setEditorLimitForTesting(std::optional<MarkupCost> limit)
{
    limitForTesting() = limit;
}

} // namespace veldra
