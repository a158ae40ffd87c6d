#include "platform/core/InputScan.h"

#include "platform/core/CountText.h"
#include "platform/core/QuoteBracketScan.h"

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
// instructions, the document type and end tags are passed over; start tags are counted.
// The unit's width and byte order are template arguments, so the byte loop of the common
// one-byte case compiles away.
template <int UnitBytes, bool BigEndian>
class Scanner {
public:
    Scanner(const QByteArray& input, qint64 maxNodes)
        : data_(reinterpret_cast<const unsigned char*>(input.constData())), size_(input.size() / UnitBytes),
          maxNodes_(maxNodes)
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
            } else if (auto refusal = plain()) {
                return refusal;
            }
        }
        return std::nullopt;
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

    bool at(const char* text) const
    {
        for (qsizetype k = 0; text[k]; ++k)
            if (i_ + k >= size_ || unit(i_ + k) != char32_t(static_cast<unsigned char>(text[k])))
                return false;
        return true;
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

    std::optional<InputRefusal> skipPast(const char* end)
    {
        while (i_ < size_ && !at(end))
            if (auto refusal = plain())
                return refusal;
        i_ += qsizetype(qstrlen(end));
        return std::nullopt;
    }

    std::optional<InputRefusal> markup()
    {
        if (at("!--") || at("?")) {
            if (auto refusal = countNode(count_.commentsAndInstructions, line_))
                return refusal;
            return skipPast(at("?") ? "?>" : "-->");
        }
        if (at("![CDATA["))
            return skipPast("]]>");
        if (at("!"))
            return documentType();
        if (at("/"))
            return skipPast(">");
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
        if (count_.nodes() <= maxNodes_)
            return std::nullopt;
        return InputRefusal{QStringLiteral("The document holds more than %1 elements, attributes, comments and "
                                           "processing instructions together, more than Veldra reads into memory at "
                                           "once. Check that it is the file meant, or split it into smaller documents.")
                                .arg(countText(maxNodes_)),
                            line};
    }

    std::optional<InputRefusal> startTag()
    {
        const int line = line_;
        if (auto refusal = countNode(count_.elements, line))
            return refusal;
        int attributes = 0;
        QuoteBracketScan scan;  // brackets mean nothing in a start tag: only its quotes count
        while (i_ < size_) {
            const char32_t c = unit(i_);
            if (auto refusal = plain())
                return refusal;
            if (scan.take(c) == QuoteBracketScan::Role::Quoted)
                continue;
            if (c == '=') {
                if (++attributes > kMaxAttributesPerElement)
                    return InputRefusal{QStringLiteral("An element has more than %1 attributes; no document this "
                                                       "program reads holds so many.")
                                            .arg(kMaxAttributesPerElement),
                                        line};
                if (auto refusal = countNode(count_.attributes, line))
                    return refusal;
            } else if (c == '>') {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    const unsigned char* data_;
    qsizetype size_;
    qint64 maxNodes_;
    qsizetype i_ = 0;
    MarkupCount count_;
    int line_ = 1;
};

struct ScanOutcome {
    std::optional<InputRefusal> refusal;
    MarkupCount count;
};

template <int UnitBytes, bool BigEndian>
ScanOutcome scanIn(const QByteArray& input, qint64 maxNodes)
{
    Scanner<UnitBytes, BigEndian> scanner(input, maxNodes);
    std::optional<InputRefusal> refusal = scanner.run();
    return {std::move(refusal), scanner.count()};
}

ScanOutcome scan(const QByteArray& input, qint64 maxNodes)
{
    const Encoding encoding = encodingOf(input);
    switch (encoding.unitBytes) {
    case 2: return encoding.bigEndian ? scanIn<2, true>(input, maxNodes) : scanIn<2, false>(input, maxNodes);
    case 4: return encoding.bigEndian ? scanIn<4, true>(input, maxNodes) : scanIn<4, false>(input, maxNodes);
    default: return scanIn<1, false>(input, maxNodes);
    }
}

} // namespace

std::optional<InputRefusal> refuseBeforeParsing(const QByteArray& input, qint64 maxNodes)
{
    return scan(input, maxNodes).refusal;
}

MarkupCount countMarkup(const QByteArray& input)
{
    return scan(input, std::numeric_limits<qint64>::max()).count;
}

} // namespace veldra
