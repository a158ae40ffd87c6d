#pragma once

#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"

#include <QString>
#include <optional>

namespace veldra::spl {

// What every structured-data builder shares: its opening log lines, the loading of its
// fragment file, and the move phase that records failures instead of stopping.

// The bold separator, then the start line ("Information").
void openBuilderLog(const QString& startText);

// The fragment file of LabelDefinitions, read afresh; when it cannot be read, one "Error"
// line (prefix, the parser's code, a blank, its reason) and nothing.
std::optional<xml::Document> loadFragment(const QString& fileName, const QString& failurePrefix);

// The move phase of a builder: each step is attempted, a failing one is recorded (the last
// failure wins) and the steps after it still run; the closing line tells what happened.
class MovePhase {
public:
    template <class Step>
    void attempt(Step&& step)
    {
        try {
            step();
        } catch (const std::exception& e) {
            failure_ = toVbError(e, QStringLiteral("clsSPL"));
        }
    }
    bool failed() const { return failure_.has_value(); }
    // "Error" with the prefix and the failure (source, number, description), or the success
    // line ("Information").
    void report(const QString& failurePrefix, const QString& successText) const;

private:
    std::optional<VbError> failure_;
};

} // namespace veldra::spl
