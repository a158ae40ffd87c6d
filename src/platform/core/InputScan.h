#pragma once

#include <QByteArray>
#include <QString>

#include <limits>
#include <optional>

namespace veldra {

// An element with more attributes is refused before parsing: libxml2's duplicate check takes
// time quadratic in the count, and no settings, SPL or Office element holds more than a few dozen.
inline constexpr int kMaxAttributesPerElement = 500;

struct InputRefusal {
    QString reason;
    int line = 0;  // from 1
};

// One pass over raw input, before libxml2 sees it, for what the parser itself handles badly:
// a NUL character (libxml2 takes it for the end of the input and ignores what follows), an
// element with more than kMaxAttributesPerElement attributes (its duplicate check is quadratic),
// a document type whose internal subset declares anything (entities expand, default attributes
// are copied into every element they name) and, for readers that build a tree of the whole input,
// more than maxNodes elements, attributes, comments and processing instructions together (a few
// bytes of markup each, but a hundred bytes and more of tree once parsed; the texts between them
// are at most one more each).
// The input is read in the code units its first bytes show (UTF-16 and UTF-32 in either byte
// order, else bytes of an ASCII-compatible encoding), so markup is found in any of them.
std::optional<InputRefusal> refuseBeforeParsing(const QByteArray& input,
                                                qint64 maxNodes = std::numeric_limits<qint64>::max());

// The elements and attributes of the input's start tags, and its comments and processing
// instructions, by the same pass: what a tree of the
// whole input will hold, known before anything is built. A scan that meets what the pass above
// refuses stops there and gives what it counted so far.
struct MarkupCount {
    qint64 elements = 0;
    qint64 attributes = 0;
    qint64 commentsAndInstructions = 0;

    qint64 nodes() const { return elements + attributes + commentsAndInstructions; }
};
MarkupCount countMarkup(const QByteArray& input);

} // namespace veldra
