#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// The work of a comparison, counted as its queries run: a query reads every element of the
// files it runs on, and each node it selects is matched or indexed once more (a title repeated
// in every section selects every copy of itself for each of them). The total is held to a cap
// that no real label comes near; the user can stop sooner.
class ComparisonWork {
public:
    ComparisonWork(qint64 elements1, qint64 elements2);

    void startCheck(const QString& name);
    // A control query of the current check, run on file 1, selecting `selected` nodes.
    void addControlQuery(qint64 selected);
    // A process query of the current check, run on both files, selecting nodes in each.
    void addProcessQuery(qint64 selected1, qint64 selected2);
    // Results of a query given again for a control value that repeats.
    void addMatches(qint64 results);

    qint64 steps() const { return steps_; }
    bool overCap() const;
    // Why the comparison was stopped: the dearest check, the counts, the cap and what to do.
    QString refusal() const;

private:
    void add(qint64 steps);

    qint64 elements1_;
    qint64 elements2_;
    qint64 steps_ = 0;
    QString check_;
    qint64 checkSteps_ = 0;
    QString dearest_;
    qint64 dearestSteps_ = 0;
};

// The steps a comparison may take: some twenty times what a prescription label grown to 3 MB by
// repeating its sections needs against itself (about 12 million), and room for a label of that
// size whose sections all differ; a few minutes of queries, which the user may stop sooner.
inline constexpr qint64 ComparisonWorkCap = 250'000'000;

// The cap in force: ComparisonWorkCap, or what a test set (0 restores it).
qint64 comparisonWorkCap();
void setComparisonWorkCap(qint64 cap);

// The elements of a document, in one pass.
qint64 elementCount(const xml::Document& document);

} // namespace veldra
