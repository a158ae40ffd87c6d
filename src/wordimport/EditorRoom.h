#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace veldra {

namespace word {
class Range;
}

namespace xml {
class Document;
}

// What the Word import writes into a settings document, counted as the editor meets it: the
// bytes of the saved file and the nodes (elements and attributes) the editor builds. Every
// element the import adds gets its Word2SPLID, which both counts include.
struct MarkupCost {
    qint64 bytes = 0;
    qint64 nodes = 0;

    MarkupCost& operator+=(const MarkupCost& other);
};

// New markup as the converter writes it or a node's xml() shows it.
MarkupCost newMarkupCost(QStringView markup);
// The least the markup of a paragraph's range costs: its text and the text of every note it
// cites, each citation counted, for the converter repeats a note's text at each of them.
// Known before the markup is built.
MarkupCost leastMarkupCostOf(const word::Range& range);

// What the Word import may still write into a settings document so that the editor opens it
// again: a footnote repeated at each citation would otherwise make gigabytes in seconds, and
// a document the editor then refuses to open.
class EditorRoom {
public:
    // The room of a document that holds nothing yet.
    EditorRoom();
    // The room a settings document leaves to its label sections, which the import replaces.
    static EditorRoom forLabelSectionsOf(const xml::Document& settings);

    bool fits(const MarkupCost& cost) const;
    // Takes the cost; false, taking nothing, when it does not fit.
    bool take(const MarkupCost& cost);

    // The editor's limit in words, for messages.
    static QString limitText();

private:
    explicit EditorRoom(MarkupCost left);

    MarkupCost left_;
};

// The editor's limit as the import counts it; tests make it small, nullopt restores it.
void setEditorLimitForTesting(std::optional<MarkupCost> limit);

} // namespace veldra
