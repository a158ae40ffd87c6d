#pragma once

#include <QString>

#include <vector>

namespace veldra {

namespace xml {
class Document;
}

// One check as the comparison will run it: each of its queries runs once for every control
// value that file 1 gives it (once when the check has no control query), and each run walks
// both files whole.
struct PlannedCheck {
    QString name;
    qint64 controlValues = 0; // 0 for a check without a control query
    qint64 queries = 0;
};

// What a comparison costs before it runs: its work grows with the control values times the
// queries times the elements of both files, so two labels of a few hundred products each keep
// the program busy for many minutes, on a thread it cannot be stopped on.
struct ComparisonCost {
    qint64 elements = 0; // of both files together
    std::vector<PlannedCheck> checks;

    // The elements the checks' queries visit, held at the largest qint64 rather than wrapping.
    qint64 steps() const;
};

// The bound of ComparisonCost::steps under which two files are compared: about twelve seconds
// of queries on a desktop computer (a step costs some 300 ns, as each query compares every
// element's name). A long prescription label against its repackaged copy costs a sixteenth of
// it; a label of some 60 products of ten kilobytes each reaches it.
inline constexpr qint64 ComparisonStepBound = 40'000'000;

// The elements of a document, in one pass.
qint64 elementCount(const xml::Document& document);

// Why the files are not compared, naming the dearest check, the counts, the bound and what to
// do; empty when the comparison stays within the bound.
QString comparisonRefusal(const ComparisonCost& cost);

} // namespace veldra
