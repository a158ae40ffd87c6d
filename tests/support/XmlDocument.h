#pragma once

#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Node.h"

#include <QString>
#include <gtest/gtest.h>

namespace veldra::test {

// The document written as `text`; text that does not parse fails the test, naming the reason.
xml::Document documentFrom(const QString& text);

// Whether `node`'s subtree is the element written as `expected`: the same names, namespaces,
// attributes (in any order; namespace declarations aside), text, comments and instructions, in
// the same order. On a difference both are printed. Use through EXPECT_NODE.
::testing::AssertionResult subtreeMatches(const char* nodeExpression, const char* expectedExpression,
                                          const xml::Node& node, const QString& expected);

} // namespace veldra::test

// Compares a node's whole subtree with XML text: EXPECT_NODE(title, "<Title a='1'>T</Title>").
#define EXPECT_NODE(node, expected) EXPECT_PRED_FORMAT2(::veldra::test::subtreeMatches, node, expected)
