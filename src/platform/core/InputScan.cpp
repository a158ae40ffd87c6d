#include "platform/core/InputScan.h"

#include "platform/core/CountText.h"

#include <vector>

namespace veldra {

namespace {

struct Encoding {
    int unitBytes = 1;
    bool bigEndian = false;
};

Encoding encodingOf(const QByteArray& input)
{
    const auto at = [&input](int i) { return i < input.size() ? static_cast<unsigned char>(input[i]) : 0xFFu; };
    if (at(0) == 0 && at(1) == 0)
        return {4, true};
    if (at(0) == 0xFF && at(1) == 0xFE)
        return at(2) == 0 && at(3) == 0 ? Encoding{4, false} : Encoding{2, false};
    if (at(0) == 0xFE && at(1) == 0xFF)
        return {2, true};
    if (at(0) != 0 && at(1) == 0)
        return at(2) == 0 && at(3) == 0 ? Encoding{4, false} : Encoding{2, false};
    if (at(0) == 0 && at(1) != 0)
        return {2, true};
    return {};
}

// Walks the markup of the input in code units: comments, CDATA sections, processing
// instructions, the document type and end tags are passed over; start tags and the texts
// between are counted. The unit's width and byte order are template arguments, so the byte
// loop of the common one-byte case compiles away.
template <int UnitBytes, bool BigEndian>
class Scanner {
public:
    Scanner(const QByteArray& input, const InputBounds& bounds)
        : data_(reinterpret_cast<const unsigned char*>(input.constData())), size_(input.size() / UnitBytes),
          bounds_(bounds)
    {
    }

    std::optional<InputRefusal> run()
    {
        // A byte-order mark is not a NUL, but UTF-32's has zero bytes in it.
        if (size_ > 0 && unit(0) == 0xFEFF)
            ++i_;
        while (i_ < size_) {
            if (unit(i_) == '<') {
                ++i_;
                if (auto refusal = markup())
                    return refusal;
            } else if (auto refusal = textUnit(true)) {
                return refusal;
            }
        }
        return endTextNode();
    }

    const MarkupCount& count() const { return count_; }

private:
    char32_t unit(qsizetype i) const
    {
        const unsigned char* p = data_ + i * UnitBytes;
        char32_t value = 0;
        for (int b = 0; b < UnitBytes; ++b)
            value |= char32_t(p[b]) << (BigEndian ? 8 * (UnitBytes - 1 - b) : 8 * b);
        return value;
    }

    bool at(const char* text, qsizetype from) const
    {
        for (qsizetype k = 0; text[k]; ++k)
            if (from + k >= size_ || unit(from + k) != char32_t(static_cast<unsigned char>(text[k])))
                return false;
        return true;
    }

    bool at(const char* text) const { return at(text, i_); }

    // The most bytes a unit takes in UTF-8, as libxml2 stores it: a byte of a one-byte
    // encoding may be a Latin-1 letter, a UTF-16 unit half of a pair.
    static qint64 utf8Bytes(char32_t c)
    {
        if (c < 0x80)
            return 1;
        if constexpr (UnitBytes == 1)
            return 2;
        return c < 0x800 ? 2 : (UnitBytes == 2 || c < 0x10000) ? 3 : 4;
    }

    // One unit outside a start tag: counts lines and refuses NUL.
    std::optional<InputRefusal> plain()
    {
        const char32_t c = unit(i_++);
        if (c == '\n')
            ++line_;
        if (c == 0)
            return InputRefusal{QStringLiteral("The document holds a NUL character, which XML does not allow."), line_};
        return std::nullopt;
    }

    std::optional<InputRefusal> tooLongText(int line) const
    {
        return InputRefusal{QStringLiteral("The document holds a text or attribute value of more than %1 characters, "
                                           "more than Veldra reads in one text. Check that it is the file meant, or "
                                           "split the text.")
                                .arg(countText(bounds_.maxTextCharacters)),
                            line};
    }

    // One unit of character data: of the text between two tags (`ownNode`), or inside a
    // comment, CDATA section or processing instruction among it.
    std::optional<InputRefusal> textUnit(bool ownNode)
    {
        const char32_t c = unit(i_);
        if (auto refusal = plain())
            return refusal;
        textCharacters_ += utf8Bytes(c);
        if (textCharacters_ > bounds_.maxTextCharacters)
            return tooLongText(line_);
        if (ownNode) {
            textOpen_ = true;
            textBlank_ = textBlank_ && isBlank(c);
        }
        return std::nullopt;
    }

    std::optional<InputRefusal> skipText(const char* end)
    {
        while (i_ < size_ && !at(end))
            if (auto refusal = textUnit(false))
                return refusal;
        i_ += qsizetype(qstrlen(end));
        return std::nullopt;
    }

    std::optional<InputRefusal> skipPast(const char* end)
    {
        while (i_ < size_ && !at(end))
            if (auto refusal = plain())
                return refusal;
        i_ += qsizetype(qstrlen(end));
        return std::nullopt;
    }

    // The text node that markup ends, if one was open.
    std::optional<InputRefusal> endTextNode()
    {
        if (!textOpen_)
            return std::nullopt;
        qint64& counter = textBlank_ ? count_.blankTexts : count_.texts;
        textOpen_ = false;
        textBlank_ = true;
        return countNode(counter, line_);
    }

    std::optional<InputRefusal> markup()
    {
        if (auto refusal = endTextNode())
            return refusal;
        if (at("!--") || at("?")) {
            if (auto refusal = countNode(count_.commentsAndInstructions, line_))
                return refusal;
            const bool comment = at("!--");
            i_ += comment ? 3 : 1;
            return skipText(comment ? "-->" : "?>");
        }
        if (at("![CDATA[")) {
            if (auto refusal = countNode(count_.texts, line_))
                return refusal;
            i_ += 8;
            return skipText("]]>");
        }
        // A tag ends the text its parser gathers into one node.
        textCharacters_ = 0;
        if (at("!"))
            return documentType();
        if (at("/")) {
            closeElement();
            return skipPast(">");
        }
        return startTag();
    }

    // A document type may name an external one (never loaded) and hold comments and processing
    // instructions in its internal subset; a declaration there is refused. No document this
    // program reads needs one, and each costs without bound once parsed: an entity expands
    // wherever it is used, a default attribute is copied into every element it names.
    std::optional<InputRefusal> documentType()
    {
        while (i_ < size_) {
            const char32_t c = unit(i_);
            std::optional<InputRefusal> refusal;
            if (c == '"' || c == '\'') {
                ++i_;
                refusal = skipPast(c == '"' ? "\"" : "'");
            } else if (c == '[') {
                ++i_;
                refusal = internalSubset();
            } else {
                refusal = plain();
                if (!refusal && c == '>')
                    return std::nullopt;
            }
            if (refusal)
                return refusal;
        }
        return std::nullopt;
    }

    std::optional<InputRefusal> internalSubset()
    {
        while (i_ < size_) {
            std::optional<InputRefusal> refusal;
            if (at("]")) {
                ++i_;
                return std::nullopt;
            }
            if (at("<!--")) {
                i_ += 4;
                refusal = skipPast("-->");
            } else if (at("<?")) {
                refusal = skipPast("?>");
            } else if (isBlank(unit(i_))) {
                refusal = plain();
            } else {
                return InputRefusal{QStringLiteral("The document type declares '%1'; a document type may declare "
                                                   "nothing.")
                                        .arg(declarationStart()),
                                    line_};
            }
            if (refusal)
                return refusal;
        }
        return std::nullopt;
    }

    static bool isBlank(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    // The declaration at the scan's place as far as its name ("<!ATTLIST a"), for the message.
    QString declarationStart() const
    {
        constexpr qsizetype kMaxUnits = 64;
        qsizetype end = i_;
        int blanks = 0;
        for (; end < size_ && end - i_ < kMaxUnits && unit(end) != '>' && unit(end) != ']'; ++end) {
            const bool blank = isBlank(unit(end));
            if (blank && !isBlank(unit(end - 1)) && ++blanks == 2)
                break;
        }
        return textBetween(i_, end).simplified();
    }

    QString textBetween(qsizetype from, qsizetype to) const
    {
        if constexpr (UnitBytes == 1)
            return QString::fromUtf8(reinterpret_cast<const char*>(data_) + from, to - from);
        QString text;
        for (qsizetype k = from; k < to; ++k) {
            const char32_t c = unit(k);
            if constexpr (UnitBytes == 2)
                text += QChar(char16_t(c));
            else
                text += QString::fromUcs4(&c, 1);
        }
        return text;
    }

    std::optional<InputRefusal> countNode(qint64& counter, int line)
    {
        ++counter;
        if (count_.nodes() <= bounds_.maxNodes)
            return std::nullopt;
        return InputRefusal{QStringLiteral("The document holds more than %1 nodes (elements, attributes, namespace "
                                           "declarations, texts, comments and processing instructions together), "
                                           "more than Veldra reads into memory at once. Check that it is the file "
                                           "meant, or split it into smaller documents.")
                                .arg(countText(bounds_.maxNodes)),
                            line};
    }

    // The attribute whose name is the `length` units at `name`, or the namespace it declares.
    std::optional<InputRefusal> attribute(int& attributes, qsizetype name, qsizetype length, int line)
    {
        if (++attributes > kMaxAttributesPerElement)
            return InputRefusal{QStringLiteral("An element has more than %1 attributes; no document this "
                                               "program reads holds so many.")
                                    .arg(kMaxAttributesPerElement),
                                line};
        const bool declaration = (length == 5 && at("xmlns", name)) || (length > 6 && at("xmlns:", name));
        if (!declaration)
            return countNode(count_.attributes, line);
        if (++declared_ + inScope_ > kMaxNamespaceDeclarations)
            return InputRefusal{QStringLiteral("An element has more than %1 namespace declarations (xmlns attributes) "
                                               "in scope, more than Veldra reads: each slows the reading of every "
                                               "element below it. Check that it is the file meant, or declare each "
                                               "namespace once, on the document element.")
                                    .arg(countText(kMaxNamespaceDeclarations)),
                                line};
        return countNode(count_.namespaceDeclarations, line);
    }

    // The declarations of the start tag just read are in scope until its end tag, or, for an
    // empty element, no further.
    void openElement(bool empty)
    {
        if (!empty)
            ++depth_;
        if (declared_ > 0 && !empty) {
            scopes_.push_back({depth_, declared_});
            inScope_ += declared_;
        }
        declared_ = 0;
    }

    void closeElement()
    {
        --depth_;
        while (!scopes_.empty() && scopes_.back().depth > depth_) {
            inScope_ -= scopes_.back().declarations;
            scopes_.pop_back();
        }
    }

    // A start tag from its name on: the names before each "=" outside quotes are its
    // attributes; the quoted values are measured as texts are.
    std::optional<InputRefusal> startTag()
    {
        const int line = line_;
        if (auto refusal = countNode(count_.elements, line))
            return refusal;
        int attributes = 0;
        char32_t quote = 0;
        qint64 valueCharacters = 0;
        qsizetype name = 0;
        qsizetype nameLength = 0;
        bool inName = false;
        bool emptyElement = false;
        while (i_ < size_) {
            const qsizetype here = i_;
            const char32_t c = unit(i_);
            if (auto refusal = plain())
                return refusal;
            if (quote) {
                if (c == quote)
                    quote = 0;
                else if ((valueCharacters += utf8Bytes(c)) > bounds_.maxTextCharacters)
                    return tooLongText(line_);
                continue;
            }
            if (c == '>') {
                openElement(emptyElement);
                return std::nullopt;
            }
            emptyElement = c == '/';
            if (c == '"' || c == '\'') {
                quote = c;
                valueCharacters = 0;
                inName = false;
            } else if (c == '=') {
                if (auto refusal = attribute(attributes, name, nameLength, line))
                    return refusal;
                inName = false;
                nameLength = 0;
            } else if (isBlank(c)) {
                inName = false;
            } else {
                if (!inName) {
                    name = here;
                    nameLength = 0;
                    inName = true;
                }
                ++nameLength;
            }
        }
        return std::nullopt;
    }

    const unsigned char* data_;
    qsizetype size_;
    InputBounds bounds_;
    qsizetype i_ = 0;
    MarkupCount count_;
    int line_ = 1;
    qint64 textCharacters_ = 0;  // since the last tag
    bool textOpen_ = false;      // a text node is being read
    bool textBlank_ = true;      // and holds blanks alone so far
    // Namespace declarations: of the start tag being read, and of the open elements that
    // declare any, innermost last.
    struct Scope {
        qint64 depth;
        qint64 declarations;
    };
    qint64 declared_ = 0;
    qint64 inScope_ = 0;
    qint64 depth_ = 0;
    std::vector<Scope> scopes_;
};

template <int UnitBytes, bool BigEndian>
MarkupScan scanIn(const QByteArray& input, const InputBounds& bounds)
{
    Scanner<UnitBytes, BigEndian> scanner(input, bounds);
    std::optional<InputRefusal> refusal = scanner.run();
    return {std::move(refusal), scanner.count()};
}

} // namespace

MarkupScan scanMarkup(const QByteArray& input, const InputBounds& bounds)
{
    const Encoding encoding = encodingOf(input);
    switch (encoding.unitBytes) {
    case 2: return encoding.bigEndian ? scanIn<2, true>(input, bounds) : scanIn<2, false>(input, bounds);
    case 4: return encoding.bigEndian ? scanIn<4, true>(input, bounds) : scanIn<4, false>(input, bounds);
    default: return scanIn<1, false>(input, bounds);
    }
}

MarkupCount countMarkup(const QByteArray& input)
{
    return scanMarkup(input, {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()}).count;
}

} // namespace veldra
