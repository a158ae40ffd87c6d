// Edits and saves of a document while libxml2 runs out of memory. For every point at which its
// allocations can start to fail, an edit either completes or throws std::bad_alloc and leaves
// the document as it was, never with a value silently missing.

#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Node.h"
#include "platform/xml/tree/NodeList.h"
#include "support/LibxmlAllocations.h"
#include "platform/core/VbError.h"
#include "support/XmlDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <new>

using namespace veldra;
using namespace veldra::xml;

namespace {

const QString Original = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>)"
                                        R"(<r xmlns:p="urn:a"><e a="old" p:b="old" xml:id="old">old text</e></r>)");

Node elementE(const Document& doc)
{
    return doc.documentElement().firstChild();
}

struct Edit {
    const char* name;
    std::function<void(const Document&)> apply;
};

} // namespace

TEST(XmlEditMemoryTest, AnEditThatRunsOutOfMemoryChangesNothingAndSaysSo)
{
    const QString value = QStringLiteral("a new value, long enough to need a block of its own");
    const Edit edits[] = {
        {"a new attribute", [&](const Document& d) { elementE(d).setAttribute("c", value); }},
        {"an attribute's value", [&](const Document& d) { elementE(d).setAttribute("a", value); }},
        {"a prefixed attribute's value", [&](const Document& d) { elementE(d).setAttribute("p:b", value); }},
        {"an xml:id", [&](const Document& d) { elementE(d).setAttribute("xml:id", "new"); }},
        {"an attribute through its node", [&](const Document& d) { elementE(d).attributes().item(0).setText(value); }},
        {"an id as stored text", [&](const Document& d) { elementE(d).setAttributeUtf8("Word2SPLID", value.toUtf8()); }},
        {"an attribute replaced as stored text", [&](const Document& d) { elementE(d).setAttributeUtf8("a", value.toUtf8()); }},
        {"an element's text", [&](const Document& d) { elementE(d).setText(value); }},
        {"the declared encoding", [](const Document& d) { d.setDeclarationEncoding("ISO-8859-1"); }},
        {"a namespace declared anew", [](const Document& d) { d.documentElement().setAttribute("xmlns:q", "urn:q"); }},
    };
    const QString original = test::documentFrom(Original).xml();
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        const Document reference = test::documentFrom(Original);
        edit.apply(reference);
        const QString edited = reference.xml();
        ASSERT_NE(edited, original);
        bool completed = false;
        for (std::size_t allowed = 0; !completed && allowed < 64; ++allowed) {
            const Document doc = test::documentFrom(Original);
            bool ranOut = false;
            try {
                const test::LibxmlAllocationsUpTo limit(std::numeric_limits<std::size_t>::max(), allowed);
                edit.apply(doc);
                completed = true;
            } catch (const std::bad_alloc&) {
                ranOut = true;
            }
            EXPECT_EQ(doc.xml(), completed ? edited : original) << "with " << allowed << " allocations";
            EXPECT_TRUE(completed || ranOut);
        }
        EXPECT_TRUE(completed);
    }
}

// A save while libxml2 runs out of memory, for every point at which its allocations can start
// to fail (the save's context and buffers, the copy an indented layout writes, the conversion
// to the declared encoding): the save either gives the whole text or fails as a write that
// ran out; never a text with its tail missing, nor a failure blamed on the encoding.
TEST(XmlEditMemoryTest, ASaveThatRunsOutOfMemoryAtAnyPointGivesTheWholeTextOrFails)
{
    const struct {
        const char* name;
        QString text;
        Layout layout;
    } saves[] = {
        {"UTF-8", Original, Layout::AsIs},
        {"UTF-8, indented", Original, Layout::Indented},
        {"another encoding", QStringLiteral(R"(<?xml version="1.0" encoding="ISO-8859-1"?><r a="caf)") + QChar(0xE9) +
                                 QStringLiteral(R"("><e>caf)") + QChar(0xE9) + QStringLiteral("</e></r>"),
         Layout::AsIs},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(save.name);
        const Document doc = test::documentFrom(save.text);
        const QByteArray whole = doc.xmlBytes(save.layout);
        bool completed = false;
        for (std::size_t allowed = 0; !completed && allowed < 256; ++allowed) {
            QByteArray bytes;
            try {
                const test::LibxmlAllocationsUpTo limit(std::numeric_limits<std::size_t>::max(), allowed);
                bytes = doc.xmlBytes(save.layout);
                completed = true;
            } catch (const VbError& e) {
                EXPECT_TRUE(e.description().contains("could not be written")) << e.description().toStdString();
            }
            EXPECT_EQ(bytes, completed ? whole : QByteArray()) << "with " << allowed << " allocations";
        }
        EXPECT_TRUE(completed);
    }
}
