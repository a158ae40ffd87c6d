// The text a reader sees: field results, hidden text and revisions, special characters,
// symbol fonts, hyperlinks and bookmarks.
#include "support/DocxFixture.h"
#include "support/WordMarkup.h"

#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::word;
using veldra::test::MoveSide;
using veldra::test::movedParagraph;
using veldra::test::para;

namespace {

QString run(const QString& text, const QString& properties = QString())
{
    return QStringLiteral("<w:r>%1<w:t xml:space=\"preserve\">%2</w:t></w:r>")
        .arg(properties.isEmpty() ? QString() : QStringLiteral("<w:rPr>") + properties + QStringLiteral("</w:rPr>"), text);
}

QString field(const QString& code, const QString& result)
{
    return QStringLiteral("<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space=\"preserve\">%1</w:instrText></w:r>"
                          "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>%2<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>")
        .arg(code, result);
}

QString p(const QString& content, const QString& properties = QString())
{
    return QStringLiteral("<w:p>%1%2</w:p>")
        .arg(properties.isEmpty() ? QString() : QStringLiteral("<w:pPr>") + properties + QStringLiteral("</w:pPr>"), content);
}

} // namespace

TEST(DocxText, TheStoryHoldsWhatTheReaderSees)
{
    struct Case {
        const char* name;
        QString body;
        QString text;
        QString note = {};              // paragraphs of footnote 1 and of endnote 1
        QString noteText = {};          // the text each of them reads as
    };
    const QString hidden = QStringLiteral("<w:vanish/>");
    const QString noteMarks = QStringLiteral("<w:r><w:footnoteReference w:id=\"1\"/></w:r><w:r><w:endnoteReference w:id=\"1\"/></w:r>");
    const std::vector<Case> cases{
        {"field results, not codes", p(run("See [") + field(" REF _Ref1 \\h ", run("12")) + run("]")), "See [12]\r"},
        {"a field in another field's result",
         p(field(" IF 1 = 1 ", run("a") + field(" PAGE ", run("3")) + run("b"))), "a3b\r"},
        {"a field in another field's code is code",
         p(field(QStringLiteral("IF ") + QStringLiteral("</w:instrText></w:r>") + field("PAGE", run("9")) +
                     QStringLiteral("<w:r><w:instrText> = 9 \"yes\""),
                 run("yes"))),
         "yes\r"},
        {"simple fields", p(run("Page ") + QStringLiteral("<w:fldSimple w:instr=\" PAGE \">%1</w:fldSimple>").arg(run("4"))),
         "Page 4\r"},
        {"hidden runs are left out", p(run("shown ") + run("secret ", hidden) + run("text")), "shown text\r"},
        {"a wholly hidden paragraph is left out", p(run("gone", hidden), QStringLiteral("<w:rPr><w:vanish/></w:rPr>")) + para("kept"),
         "kept\r"},
        {"insertions kept, deletions and moved-away text left out",
         p(run("a") + QStringLiteral("<w:ins w:id=\"1\" w:author=\"x\">%1</w:ins>").arg(run("b")) +
           QStringLiteral("<w:del w:id=\"2\" w:author=\"x\"><w:r><w:delText>zz</w:delText></w:r></w:del>") +
           QStringLiteral("<w:moveFrom w:id=\"3\" w:author=\"x\">%1</w:moveFrom>").arg(run("old")) +
           QStringLiteral("<w:moveTo w:id=\"4\" w:author=\"x\">%1</w:moveTo>").arg(run("c"))),
         "abc\r"},
        {"a note's text leaves out deletions and moved-away text and keeps insertions", p(run("x") + noteMarks),
         QStringLiteral("x\u0002\u0002\r"),
         // Deleted text is written as w:delText, or by some producers as w:t.
         p(run("Seen ") +
           QStringLiteral("<w:del w:id=\"6\" w:author=\"x\"><w:r><w:delText>rarely </w:delText></w:r>%1</w:del>").arg(run("seldom ")) +
           QStringLiteral("<w:moveFrom w:id=\"7\" w:author=\"x\">%1</w:moveFrom>").arg(run("once ")) +
           QStringLiteral("<w:ins w:id=\"8\" w:author=\"x\">%1</w:ins>").arg(run("often")) + run(" in adults")),
         "Seen often in adults"},
        {"a deleted paragraph mark joins two paragraphs",
         p(run("one "), QStringLiteral("<w:rPr><w:del w:id=\"5\" w:author=\"x\"/></w:rPr>")) + para("two"), "one two\r"},
        {"a paragraph moved away leaves nothing where it was and reads once where it went",
         movedParagraph(p(run("moved")), MoveSide::From, "m") + para("stays") + movedParagraph(p(run("moved")), MoveSide::To, "m"),
         "stays\rmoved\r"},
        {"a removed paragraph mark joins across bookmarks and comment marks, into a content control",
         p(run("one "), QStringLiteral("<w:rPr><w:del w:id=\"5\" w:author=\"x\"/></w:rPr>")) +
             QStringLiteral("<w:bookmarkEnd w:id=\"3\"/><w:sdt><w:sdtContent><w:commentRangeEnd w:id=\"4\"/>%1</w:sdtContent></w:sdt>")
                 .arg(para("two")),
         "one two\r"},
        {"an emptied paragraph whose removed mark has nothing to join goes: before a table, last or alone in a cell",
         movedParagraph(p(run("w")), MoveSide::From, "w") +
             QStringLiteral("<w:tbl><w:tr><w:tc>%1%2%3</w:tc><w:tc>%4</w:tc></w:tr></w:tbl>")
                 .arg(movedParagraph(p(run("x")), MoveSide::From, "x"), para("A"), movedParagraph(p(run("y")), MoveSide::From, "y"),
                      movedParagraph(p(run("z")), MoveSide::From, "z")),
         "A\r\r"},
        {"wrappers are transparent",
         QStringLiteral("<w:sdt><w:sdtContent>%1</w:sdtContent></w:sdt>")
                 .arg(p(QStringLiteral("<w:smartTag w:element=\"x\">%1</w:smartTag><w:customXml w:element=\"y\">%2</w:customXml>"
                                       "<w:sdt><w:sdtContent>%3</w:sdtContent></w:sdt>")
                            .arg(run("a"), run("b"), run("c")))),
         "abc\r"},
        {"special characters",
         p(QStringLiteral("<w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t><w:cr/><w:noBreakHyphen/><w:softHyphen/>"
                          "<w:br w:type=\"column\"/><w:br w:type=\"page\"/></w:r>")),
         QStringLiteral("a\tb\vc\v") + QChar(30) + QChar(31) + QChar(14) + QStringLiteral("\f\r")},
        {"line ends typed into the text read as blanks",
         p(QStringLiteral("<w:r><w:t xml:space=\"preserve\">by:\n\nAcme\r\n125 Main St&#13;Town</w:t></w:r>")),
         "by:  Acme 125 Main St Town\r"},
        {"note references and comments add nothing",
         p(run("x") + QStringLiteral("<w:r><w:footnoteReference w:id=\"1\"/></w:r><w:r><w:commentReference w:id=\"0\"/></w:r>")),
         "x\r"},
        {"symbol characters read as what they show",
         p(QStringLiteral("<w:r><w:t>x </w:t><w:sym w:font=\"Symbol\" w:char=\"F0B3\"/><w:t xml:space=\"preserve\"> 5 </w:t></w:r>") +
           run(QStringLiteral("\u00B1m"), QStringLiteral("<w:rFonts w:ascii=\"Symbol\" w:hAnsi=\"Symbol\"/>"))),
         QStringLiteral("x \u2265 5 \u00B1\u03BC\r")},
        {"equations in line",
         p(run("dose ") +
           QStringLiteral("<m:oMath xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\"><m:f><m:num><m:r><m:t>mg</m:t>"
                          "</m:r></m:num><m:den><m:r><m:rPr><m:sty m:val=\"p\"/></m:rPr><m:t>kg</m:t></m:r></m:den></m:f></m:oMath>")),
         "dose mg/kg\r"},
        {"alternate content: the understood choice, else the fallback",
         p(QStringLiteral("<mc:AlternateContent><mc:Choice Requires=\"w99\">%1</mc:Choice><mc:Fallback>%2</mc:Fallback>"
                          "</mc:AlternateContent>")
               .arg(run("new"), run("old"))),
         "old\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::DocxParts parts;
        if (!c.note.isEmpty()) {
            for (const QString& kind : {QStringLiteral("footnote"), QStringLiteral("endnote")}) {
                parts.parts.insert("word/" + kind + "s.xml",
                                   QStringLiteral("<w:%1s xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                                                  "<w:%1 w:id=\"1\">%2</w:%1></w:%1s>")
                                       .arg(kind, c.note)
                                       .toUtf8());
                parts.relationships += test::relationship("rId" + kind, kind + "s", kind + "s.xml");
            }
        }
        const Document doc = test::openDocx(c.body, parts);
        EXPECT_EQ(doc.content().text(), c.text);
        QStringList noteTexts;
        for (const Note& note : doc.content().notes())
            noteTexts << note.text();
        EXPECT_EQ(noteTexts, c.note.isEmpty() ? QStringList() : QStringList({c.noteText, c.noteText}));
    }
}

TEST(DocxText, FieldsAndTheirTypes)
{
    const Document doc = test::openDocx(
        p(run("See [") + field(" REF _Ref1 \\h ", run("12")) + run("] and ") + field(" PAGE ", run("4")) + run(" ") +
          field(" SEQ Table \\* ARABIC ", run("2"))));
    const Range range = doc.paragraphs().first().range();
    ASSERT_EQ(range.fields().count(), 3);
    EXPECT_EQ(range.fields().item(1).type(), field_type::Ref);
    EXPECT_EQ(range.fields().item(1).result().text(), QStringLiteral("12"));
    EXPECT_EQ(range.fields().item(1).code(), QStringLiteral("REF _Ref1 \\h"));
    EXPECT_EQ(range.fields().item(2).type(), field_type::Page);
    EXPECT_EQ(range.fields().item(3).type(), field_type::Seq);
    // A character of a field result lies in that field; the text before it in none.
    const auto characters = range.characters();
    EXPECT_EQ(characters.item(6).text(), QStringLiteral("1"));
    EXPECT_EQ(characters.item(6).fields().count(), 1);
    EXPECT_EQ(characters.item(1).fields().count(), 0);
}

TEST(DocxText, HyperlinksAndBookmarks)
{
    test::DocxParts parts;
    parts.relationships = test::relationship(QStringLiteral("rIdLink"), QStringLiteral("hyperlink"),
                                             QStringLiteral("https://example.org/a"), true);
    const Document doc = test::openDocx(
        p(QStringLiteral("<w:bookmarkStart w:id=\"1\" w:name=\"_Toc1\"/><w:bookmarkStart w:id=\"2\" w:name=\"Dosage_Forms\"/>") +
          run("Dosage") + QStringLiteral("<w:bookmarkEnd w:id=\"2\"/><w:bookmarkEnd w:id=\"1\"/>")) +
            p(run("See ") + QStringLiteral("<w:hyperlink w:anchor=\"Dosage_Forms\">%1</w:hyperlink>").arg(run("5.1")) + run(", ") +
              QStringLiteral("<w:hyperlink r:id=\"rIdLink\">%1</w:hyperlink>").arg(run("site")) + run(" and ") +
              field(" HYPERLINK \\l \"Other\" \\o \"tip\" ", run("other"))),
        parts);
    const Range first = doc.paragraphs().item(1).range();
    ASSERT_EQ(first.bookmarks().count(), 1);
    EXPECT_EQ(first.bookmarks().first().name(), QStringLiteral("Dosage_Forms"));
    EXPECT_EQ(first.bookmarks().first().range().text(), QStringLiteral("Dosage"));

    const Range second = doc.paragraphs().item(2).range();
    const auto links = second.hyperlinks();
    ASSERT_EQ(links.count(), 3);
    EXPECT_EQ(links.item(1).subAddress(), QStringLiteral("Dosage_Forms"));
    EXPECT_EQ(links.item(1).textToDisplay(), QStringLiteral("5.1"));
    EXPECT_EQ(links.item(1).type(), hyperlink_type::Range);
    EXPECT_EQ(links.item(2).address(), QStringLiteral("https://example.org/a"));
    EXPECT_EQ(links.item(2).subAddress(), QString());
    EXPECT_EQ(links.item(3).subAddress(), QStringLiteral("Other"));
    EXPECT_EQ(links.item(3).range().text(), QStringLiteral("other"));
    EXPECT_EQ(second.characters().item(5).hyperlinks().count(), 1);
    EXPECT_EQ(second.characters().item(1).hyperlinks().count(), 0);
}

TEST(DocxText, ApproximationsAreReportedAsWarnings)
{
    const Document plain = test::openDocx(para("a"));
    EXPECT_TRUE(plain.warnings().isEmpty());

    const Document revised = test::openDocx(
        p(QStringLiteral("<w:ins w:id=\"1\" w:author=\"x\">%1</w:ins>").arg(run("b"))) +
        p(QStringLiteral("<w:r><w:sym w:font=\"Wingdings\" w:char=\"F021\"/><w:sym w:font=\"Wingdings\" w:char=\"F022\"/></w:r>")));
    EXPECT_EQ(revised.warnings().filter(QStringLiteral("tracked changes")).size(), 1);
    EXPECT_EQ(revised.warnings().filter(QStringLiteral("Wingdings")).size(), 1);

    // Page numbers come from the breaks the file records, and say so once.
    const Document paged = test::openDocx(
        para("one") + p(run("two") + QStringLiteral("<w:r><w:br w:type=\"page\"/><w:t>three</w:t></w:r>")) +
        para("four", QStringLiteral("<w:pageBreakBefore/>")));
    const auto paragraphs = paged.paragraphs();
    EXPECT_EQ(paragraphs.item(1).range().pageNumber(), 1);
    EXPECT_EQ(paragraphs.item(2).range().pageNumber(), 2);
    EXPECT_EQ(paragraphs.item(3).range().pageNumber(), 3);
    EXPECT_EQ(paged.pageCount(), 3);
    EXPECT_EQ(paged.warnings().filter(QStringLiteral("Page numbers")).size(), 1);
}
