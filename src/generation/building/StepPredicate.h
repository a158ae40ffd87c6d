#pragma once

#include "generation/building/NodeTests.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace veldra {

// A condition in square brackets of a location path, tested on one node without the query
// engine. The build asks conditions such as [.!=''], [../StrengthNumerator!=''],
// [code/@code='48780-1'] or [not(manufacturedProduct/manufacturedProduct/*)] of every
// candidate, thousands of times per label.
//
// Only conditions whose truth depends on the node alone are taken: relative paths of ".",
// "..", "*", names (any namespace) and a final "@name" (no namespace), each alone or compared
// with = or != to text in quotes, joined with and, or, not(...) and parentheses. A position,
// a number, a function, a prefix, "//", "@xmlns", a nested condition or a path compared with
// a path is left to the query engine: parse() gives nothing for them.
class StepPredicate {
public:
    static std::optional<StepPredicate> parse(const QString& condition);

    // What the query engine would answer for the condition with `node` as its context.
    bool holds(const xml::Cursor& node) const;

    // How many levels below its node the condition looks: its answer stays while the tree loses
    // only nodes deeper than that. Nothing when it looks at a parent or at an element's text
    // (which any node below may change).
    std::optional<int> reach() const;

    // Whether a path of the condition goes down to children like `child` (by their name): taking
    // out a child it does not go down to leaves the answer as it was.
    bool looksAtChild(const xml::Cursor& child) const;

    struct Expression;

private:
    explicit StepPredicate(std::shared_ptr<const Expression> expression) : expression_(std::move(expression)) {}

    std::shared_ptr<const Expression> expression_;
};

} // namespace veldra
