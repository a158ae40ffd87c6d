#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// The work of a comparison, counted as its queries run: a query reads every element of the
// files it runs on and every character of the values its comparisons take; each node it
// selects is matched or indexed once more, and each character of a value taken from it is
// read once more. A result given again for a control value that repeats (a title repeated in
// every section selects every copy of itself for each of them) counts as what it stands for:
// one step, and the characters of its values. Work is counted before it is done where it can
// be, so that a refusal comes before the memory it would take. The total is held to a cap
// that no real label comes near; the user can stop sooner.
class ComparisonWork {
public:
    ComparisonWork(qint64 elements1, qint64 elements2);

    void startCheck(const QString& name);
    // A control query of the current check, run on file 1, whose comparisons take `compared`
    // characters.
    void addControlQuery(qint64 compared);
    // A process query of the current check, run on both files, whose comparisons take
    // `compared` characters in both together.
    void addProcessQuery(qint64 compared);
    // Nodes selected by the last query.
    void addSelected(qint64 nodes);
    // Characters of the values taken from selected nodes.
    void addCharacters(qint64 characters);
    // Results given again for a control value that repeats, with the characters of their values.
    void addReplay(qint64 results, qint64 characters);

    qint64 steps() const { return steps_; }
    bool overCap() const;
    // Why the comparison was stopped: the dearest check, the counts, the cap and what to do.
    QString refusal() const;

private:
    void add(qint64 steps, qint64 characters = 0);

    qint64 elements1_;
    qint64 elements2_;
    qint64 steps_ = 0;
    QString check_;
    qint64 checkSteps_ = 0;
    qint64 checkCharacters_ = 0;
    QString dearest_;
    qint64 dearestSteps_ = 0;
    qint64 dearestCharacters_ = 0;
};

// The steps a comparison may take: some eight times what a prescription label grown to 3 MB by
// repeating its sections needs against itself with all its results (about 32 million, most of
// them characters), and room for a label of that size whose sections all differ; a few minutes
// of queries, which the user may stop sooner. As a character counts as a step, the values a
// comparison holds at once stay within some 500 MB.
inline constexpr qint64 ComparisonWorkCap = 250'000'000;

// The cap in force: ComparisonWorkCap, or what a test set (0 restores it).
qint64 comparisonWorkCap();
void setComparisonWorkCap(qint64 cap);

// The elements of a document, in one pass.
qint64 elementCount(const xml::Document& document);

} // namespace veldra
