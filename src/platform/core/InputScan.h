#pragma once

#include <QByteArray>
#include <QString>

#include <limits>
#include <optional>

namespace veldra {

// An element with more attributes is refused before parsing: libxml2's duplicate check takes
// time quadratic in the count, and no settings, SPL or Office element holds more than a few dozen.
inline constexpr int kMaxAttributesPerElement = 500;

// Namespace declarations (xmlns and xmlns:p) in scope at any element. libxml2 looks each
// element's prefix up through every declaration in scope, and a copy between documents (Add SPL
// from File) reconciles each copied node against every declaration above it, so both take the
// nodes times the declarations in scope; declarations on elements side by side cost nothing more.
// Measured on 1,000,000 elements under N declarations in scope (processor time on a loaded
// 8-core machine): N = 0 parses in 0.44 s and copies in 0.28 s; 128: 0.55-0.88 s and 0.6-0.8 s;
// 256: 1.0-1.3 s and 1.0-1.4 s; 512: 2.0-2.4 s and 1.0-1.2 s; 10,000: 9.1 s and 16.9 s. Real SPL
// files declare two to five, Word and Excel parts up to some 45 on their root and two or three
// more around each picture.
inline constexpr qint64 kMaxNamespaceDeclarations = 256;

// The characters of one text (the character data between two tags, comments, CDATA sections
// and processing instructions among it) or of one attribute value, counted as the bytes they
// take in UTF-8 (at most: an entity or character reference counts its own characters, which
// are more than what it stands for). libxml2 refuses a text of more than ten million bytes
// when a parse does not lift its limits, as the stylesheet program, the schema check and the
// Office readers do not, and an attribute value shorter than that once its look-ahead with the
// markup before it passes ten million; half of it leaves room for both. No real label holds a
// text of a tenth of it.
inline constexpr qint64 kMaxTextCharacters = 5'000'000;

struct InputRefusal {
    QString reason;
    int line = 0;  // from 1
};

// What a reader admits besides what every reader refuses.
struct InputBounds {
    // Nodes a tree of the whole input will hold (MarkupCount::nodes).
    qint64 maxNodes = std::numeric_limits<qint64>::max();
    qint64 maxTextCharacters = kMaxTextCharacters;
};

// The nodes of the input, counted before anything is built: elements, their attributes and
// namespace declarations, texts (each run of character data between two pieces of markup, and
// each CDATA section), comments and processing instructions. A run of blanks alone is counted
// apart: the parser builds it, but the editor and the SPL readers drop it between elements.
struct MarkupCount {
    qint64 elements = 0;
    qint64 attributes = 0;
    qint64 namespaceDeclarations = 0;
    qint64 texts = 0;
    qint64 blankTexts = 0;
    qint64 commentsAndInstructions = 0;

    qint64 nodes() const
    {
        return elements + attributes + namespaceDeclarations + texts + blankTexts + commentsAndInstructions;
    }
};

struct MarkupScan {
    std::optional<InputRefusal> refusal;
    MarkupCount count;  // as far as the scan went
};

// One pass over raw input, before libxml2 sees it, for what the parser itself handles badly:
// a NUL character (libxml2 takes it for the end of the input and ignores what follows), an
// element with more than kMaxAttributesPerElement attributes (its duplicate check is quadratic)
// or more than kMaxNamespaceDeclarations namespace declarations in scope, a document type whose internal
// subset declares anything (entities expand, default attributes are copied into every element
// they name), and what `bounds` sets: more nodes than a reader builds a tree of, a text or
// attribute value longer than its parser takes. A refusal names what was too many, the limit
// and what to do.
// The input is read in the code units its first bytes show (UTF-16 and UTF-32 in either byte
// order, else bytes of an ASCII-compatible encoding), so markup is found in any of them.
MarkupScan scanMarkup(const QByteArray& input, const InputBounds& bounds);

inline std::optional<InputRefusal> refuseBeforeParsing(const QByteArray& input, const InputBounds& bounds = {})
{
    return scanMarkup(input, bounds).refusal;
}

// The count of the input, however long its texts, as far as what every reader refuses.
MarkupCount countMarkup(const QByteArray& input);

} // namespace veldra
