#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

#include <gtest/gtest.h>

#include <optional>

using namespace veldra::xml;
using veldra::VbError;

namespace {

const char* kSettings =
    "<SPLR4><WordDocument><File>label.docx</File><ImageTargetFolder/>"
    "<Style Kind=\"section\">Heading 1</Style><Style Kind=\"excerpt\">Excerpt</Style></WordDocument></SPLR4>";

struct LookupRow {
    const char* path;
    std::optional<QString> found;  // the node's text; nothing when the path selects none
};

} // namespace

// Text lookups give the fallback only where the path selects nothing: an empty element's
// text stays empty, and the required lookup finds exactly what the text lookup reads.
TEST(XmlLookupTest, TextAtAndRequiredAtAgreeOnWhatIsThere)
{
    Document doc;
    ASSERT_TRUE(doc.loadXml(kSettings));
    const Node word = doc.selectSingleNode("SPLR4/WordDocument");
    const LookupRow rows[] = {
        {"File", QStringLiteral("label.docx")},
        {"ImageTargetFolder", QString()},
        {"Style[@Kind='excerpt']", QStringLiteral("Excerpt")},
        {"Style/@Kind", QStringLiteral("section")},
        {"Missing", std::nullopt},
        {"File/Missing", std::nullopt},
        {"Style[@Kind='none']", std::nullopt},
    };
    for (const LookupRow& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(textAt(word, row.path), row.found.value_or(QString()));
        EXPECT_EQ(textAt(word, row.path, "fallback"), row.found.value_or("fallback"));
        EXPECT_EQ(textAt(doc, QStringLiteral("SPLR4/WordDocument/") + row.path, "fallback"), row.found.value_or("fallback"));
        if (row.found) {
            EXPECT_EQ(requiredAt(word, row.path, "Reader").text(), *row.found);
            continue;
        }
        try {
            requiredAt(word, row.path, "Reader");
            ADD_FAILURE() << "a missing path was found";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), veldra::err::XmlNode);
            EXPECT_EQ(e.source(), "Reader");
            EXPECT_EQ(e.description(), QStringLiteral("element not found: ") + row.path);
        }
    }
    EXPECT_EQ(textOf(Node(), "fallback"), "fallback");
    EXPECT_TRUE(textAt(word, "ImageTargetFolder", "fallback").isEmpty());
}

// A caller keeps its own wording; the path stands where the wording has %1.
TEST(XmlLookupTest, RequiredAtSaysWhatIsMissingInTheCallersWords)
{
    Document doc;
    ASSERT_TRUE(doc.loadXml(kSettings));
    try {
        requiredAt(doc, "SPLR4/WordDocument/EffectiveTime", "ImportProductLabelFromWord",
                   "The Word import option %1 is missing");
        ADD_FAILURE() << "a missing option was found";
    } catch (const VbError& e) {
        EXPECT_EQ(e.text(), "ImportProductLabelFromWord 1012: The Word import option SPLR4/WordDocument/EffectiveTime is missing");
    }
}
