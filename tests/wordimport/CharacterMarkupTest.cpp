// Paragraph text with its character formats as SPL markup.
#include "support/DocxFixture.h"
#include "wordimport/clsWord.h"

#include "platform/xml/tree/Document.h"

#include <gtest/gtest.h>

using namespace veldra;

namespace {

QString run(const QString& text, const QString& properties = QString())
{
    return QStringLiteral("<w:r><w:rPr>%1</w:rPr><w:t xml:space=\"preserve\">%2</w:t></w:r>").arg(properties, text);
}

const QString bold = QStringLiteral("<w:b/>");
const QString italic = QStringLiteral("<w:i/>");
const QString underline = QStringLiteral("<w:u w:val=\"single\"/>");
const QString sup = QStringLiteral("<w:vertAlign w:val=\"superscript\"/>");
const QString raised = QStringLiteral("<w:position w:val=\"6\"/><w:sz w:val=\"13\"/>");
const QString lowered = QStringLiteral("<w:position w:val=\"-3\"/><w:sz w:val=\"24\"/>");
const QString B = QStringLiteral("<content styleCode=\"bold\">");
const QString I = QStringLiteral("<content styleCode=\"italics\">");
const QString U = QStringLiteral("<content styleCode=\"underline\">");

// A hyperlink to an anchor around these runs.
QString link(const QString& runs)
{
    return "<w:hyperlink w:anchor=\"X\">" + runs + "</w:hyperlink>";
}

// The look of links as word processors define it: blue and underlined.
const QString linkStyle = QStringLiteral("<w:rStyle w:val=\"Hyperlink\"/>");
const QString linkStyles = QStringLiteral(
    "<w:style w:type=\"character\" w:styleId=\"Hyperlink\"><w:name w:val=\"Hyperlink\"/>"
    "<w:rPr><w:color w:val=\"0563C1\"/><w:u w:val=\"single\"/></w:rPr></w:style>");

} // namespace

TEST(CharacterMarkupTest, RunsNestProperlyAndTextIsEscaped)
{
    struct Case {
        const char* name;
        QString paragraph;
        QString expected;
    };
    const std::vector<Case> cases{
        {"plain text is escaped, quotes stay", "<w:p>" + run("a &amp; &lt;b&gt; \"q\"") + "</w:p>", "a &amp; &lt;b&gt; \"q\"\r"},
        {"bold throughout, its mark included", "<w:p><w:pPr><w:rPr><w:b/></w:rPr></w:pPr>" + run("Hi", bold) + "</w:p>",
         B + "Hi\r</content>"},
        {"superscript closes at the first plain character", "<w:p>" + run("x") + run("2", sup) + run(" y") + "</w:p>",
         "x<sup>2</sup> y\r"},
        {"bold, bold italic, italic: the last letter is italic only",
         "<w:p>" + run("a", bold) + run("b", bold + italic) + run("c", italic) + "</w:p>",
         B + "a" + I + "b</content></content>" + I + "c</content>\r"},
        {"a superscript crossing the end of a bold run",
         "<w:p>" + run("a", bold) + run("b", bold + sup) + run("c", sup) + "</w:p>",
         B + "a<sup>b</sup></content><sup>c</sup>\r"},
        {"a run raised in a smaller size is a superscript",
         "<w:p>" + run("100 x 10", "<w:sz w:val=\"20\"/>") + run("9", raised) + run("/L") + "</w:p>", "100 x 10<sup>9</sup>/L\r"},
        {"one lowered below text larger than the paragraph's is a subscript",
         "<w:p>" + run("H", "<w:sz w:val=\"28\"/>") + run("2", lowered) + run("O", "<w:sz w:val=\"28\"/>") + "</w:p>",
         "H<sub>2</sub>O\r"},
        {"a raised mark does not join the word before it", "<w:p>" + run("HUMIRA", bold) + run("a", raised) + "</w:p>",
         B + "HUMIRA</content><sup>a</sup>\r"},
        {"a raised run in the size of its neighbours stays plain", "<w:p>" + run("x") + run("y", "<w:position w:val=\"4\"/>") + run("z") + "</w:p>",
         "xyz\r"},
        {"bold ends before a link that is not bold", "<w:p>" + run("see ", bold) + link(run("Link")) + run(".") + "</w:p>",
         B + "see </content>Link.\r"},
        {"bold and italic over a whole link stand around it, the link style's underline does not",
         "<w:p>" + run("see ") + link(run("Li", bold + italic + linkStyle) + run("nk", bold + italic + linkStyle)) + run(".")
             + "</w:p>",
         "see " + B + I + "Link</content></content>.\r"},
        {"a format over part of a link is left out, one running on after it resumes",
         "<w:p>" + link(run("Li", italic + linkStyle) + run("nk", linkStyle)) + run(" here", italic) + "</w:p>",
         "Link" + I + " here</content>\r"},
        {"a superscript ends before a link: it holds text only",
         "<w:p>" + run("x", sup) + link(run("5", sup + linkStyle)) + run("y") + "</w:p>", "<sup>x</sup>5y\r"},
        {"an underline stated on the link itself stays", "<w:p>" + run("see ") + link(run("Link", underline)) + "</w:p>",
         "see " + U + "Link</content>\r"},
        {"a formatted paragraph of a lone slash is empty", "<w:p>" + run(" / ", bold) + "</w:p>", ""},
        {"a plain one keeps its slash", "<w:p>" + run("/") + "</w:p>", "/\r"},
        {"a blank that closes a formatted run stays between the words",
         "<w:p>" + run("kg ") + run("or", italic + underline) + run(" ", italic) + run("pediatric") + "</w:p>",
         "kg " + I + "<content styleCode=\"underline\">or</content> </content>pediatric\r"},
    };
    clsWord word;
    test::DocxParts parts;
    parts.styles = linkStyles;
    for (const Case& c : cases) {
        const word::Document doc = test::openDocx(c.paragraph, parts);
        const QString markup = word.FormatBoldItalicUnderlineSubScriptSuperScript(doc.paragraphs().first());
        EXPECT_EQ(markup, c.expected) << c.name;
        xml::Document parsed;
        EXPECT_TRUE(parsed.loadXml("<p>" + markup + "</p>")) << c.name << ": not well-formed";
        if (!markup.isEmpty()) {  // the markup reads as the paragraph does, blank for blank
            EXPECT_EQ(parsed.documentElement().text().simplified(), doc.paragraphs().first().range().text().simplified())
                << c.name;
        }
    }
}

TEST(CharacterMarkupTest, LinkTextIsReplacedInTheFirstFormFoundWhereItStandsOnItsOwnInText)
{
    const QString H = "<linkHtml href='#K'>5.1</linkHtml>";
    struct Case {
        const char* name;
        QString text;
        QString link;
        QString expected;
    };
    const std::vector<Case> cases{
        {"brackets win over parentheses", "[5.1] and (5.1)", "5.1", "[" + H + "] and (5.1)"},
        {"every occurrence of the form found", "(5.1) or (5.1)", "5.1", "(" + H + ") or (" + H + ")"},
        {"a list between commas", "see 4, 5.1, 6", "5.1", "see 4, " + H + ", 6"},
        {"bare text", "see 5.1.", "5.1", "see " + H + "."},
        {"not inside tags, nor in a subscript, which holds text only", "<sub>b</sub> b", "b", "<sub>b</sub> " + H},
        {"not inside a longer number or word", "10, <sup>1</sup>, 1x and 1", "1", "10, <sup>1</sup>, 1x and " + H},
        {"not at the end of a longer number", "21 and 1", "1", "21 and " + H},
        {"a word goes on across a change of look", "Warnings<content styleCode=\"bold\">X</content>, Warnings.", "Warnings",
         "Warnings<content styleCode=\"bold\">X</content>, " + H + "."},
        {"a bracket does not open a longer number", "[10] and [1, 2]", "1", "[10] and [" + H + ", 2]"},
        {"not inside an entity", "A &amp; amp", "amp", "A &amp; " + H},
        {"a link already made stays as it is", "<linkHtml href='#J'>5.1</linkHtml> or 5.1", "5.1",
         "<linkHtml href='#J'>5.1</linkHtml> or " + H},
        {"not found: unchanged", "nothing here", "5.1", "nothing here"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clsWord::TextReplaceLink(c.text, c.link, H), c.expected) << c.name;
}
