#include "platform/core/VbError.h"
#include "platform/xml/io/RereadInPlace.h"
#include "platform/xml/tree/BulkRemoval.h"
#include "platform/xml/io/IndentOverlay.h"
#include "platform/xml/io/Serializer.h"
#include "platform/xml/io/WhitespaceRules.h"
#include "platform/xml/tree/Document.h"
#include "support/DiskFull.h"
#include "support/Fixtures.h"
#include "support/LibxmlAllocations.h"
#include "support/TempDir.h"
#include "support/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

using namespace veldra::xml;
using veldra::VbError;
using veldra::test::documentFrom;
using veldra::test::splDocumentFiles;
using veldra::test::TempDir;
using veldra::test::writeTextFile;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

const QList<QByteArray> marks{"Word2SPLID", "Color", "AllowMultiLineText"};

// The text road that settling in place must match: marks and comments taken out, the
// document written, its empty default declarations dropped and the text read back twice.
QString readBack(const Document& doc)
{
    removeAttributesAndComments(doc, marks);
    QString text = doc.xml();
    text.remove("xmlns=\"\"");
    return documentFrom(documentFrom(text).xml()).xml();
}

// Marks on every element, and around every child element a comment and a blank, as edits
// leave them: the blank is layout between blocks and a word space between inline elements,
// and with the comment gone it joins the text before it.
void markUp(const Document& doc)
{
    const NodeList elements = doc.selectNodes("//*");
    for (int i = 0; i < elements.length(); ++i) {
        const Node element = elements.item(i);
        element.setAttribute(i % 3 ? "Word2SPLID" : "Color", QString::number(i));
        if (i > 0 && !element.previousSibling().isNull()) {  // not beside the document element
            element.parentNode().insertBefore(doc.createTextNode(" "), element);
            element.parentNode().insertBefore(doc.createComment("c"), element);
        }
    }
}

// What an indented copy of the document writes: the road taken where the indentation cannot
// be laid over the tree itself.
QByteArray indentedCopyBytes(const Document& doc)
{
    xmlDocPtr copy = xmlCopyDoc(doc.raw(), 1);
    detail::indentLayout(copy);
    const QByteArray bytes = detail::documentBytes(copy, doc.hasDeclaration(), Layout::AsIs);
    xmlFreeDoc(copy);
    return bytes;
}

// An indented save writes what the indented copy writes, laying the indentation over the tree
// itself when `overlaid`, and leaves the tree as it was.
void expectIndentedLikeACopy(const Document& doc, bool overlaid)
{
    const QByteArray asIs = detail::documentBytes(doc.raw(), doc.hasDeclaration(), Layout::AsIs);
    {
        detail::IndentOverlay overlay;
        EXPECT_EQ(overlay.layOver(doc.raw()), overlaid);
    }
    EXPECT_EQ(detail::documentBytes(doc.raw(), doc.hasDeclaration(), Layout::Indented), indentedCopyBytes(doc));
    EXPECT_EQ(detail::documentBytes(doc.raw(), doc.hasDeclaration(), Layout::AsIs), asIs);
}

} // namespace

TEST(XmlWhitespaceTest, IndentationBetweenElementsIsDropped)
{
    Document doc = documentFrom("<?xml version=\"1.0\"?>\n<SPLR4>\n  <GeneralData>\n    <Title>  x  </Title>\n"
                          "    <Empty>   </Empty>\n  </GeneralData>\n  <!-- note -->\n</SPLR4>\n");
    const Node general = doc.documentElement().firstChild();
    EXPECT_EQ(general.nodeName(), "GeneralData");
    EXPECT_EQ(general.firstChild().nodeName(), "Title");
    EXPECT_EQ(general.firstChild().text(), "  x  ");  // text with words keeps its blanks
    EXPECT_FALSE(general.lastChild().hasChildNodes());
    EXPECT_EQ(general.lastChild().text(), "");
    EXPECT_EQ(general.nextSibling().nodeType(), NodeType::Comment);
    EXPECT_EQ(doc.documentElement().childNodes().length(), 2);
}

TEST(XmlWhitespaceTest, BlanksOfNarrativeTextStay)
{
    Document doc = documentFrom(
        "<document xmlns=\"urn:hl7-org:v3\"><text>\n"
        "  <paragraph><content styleCode=\"bold\">Take</content> <content styleCode=\"italics\">two</content>"
        "\n<sup>1</sup> <linkHtml href=\"#a\">see</linkHtml></paragraph>\n"
        "  <paragraph>Words <content>and</content> <sub>x</sub></paragraph>\n"
        "  <table><tbody><tr><td><content>a</content> <content>b</content></td></tr></tbody></table>\n"
        "  <paragraph xml:space=\"preserve\"><b/>   <i/></paragraph>\n"
        "  <paragraph>\n    <content>only child</content>\n  </paragraph>\n"
        "  <paragraph>kg <content styleCode=\"italics\"><content styleCode=\"underline\">or</content> </content>"
        "pediatric, see<content>\n    <linkHtml href=\"#s\">Use (8.1)</linkHtml>\n  </content>, and a<sup> </sup>b</paragraph>\n"
        "</text></document>");
    const NodeList paragraphs = doc.selectNodes("//paragraph");
    EXPECT_EQ(paragraphs.item(0).text(), "Take two\n1 see");
    EXPECT_EQ(paragraphs.item(1).text(), "Words and x");
    EXPECT_EQ(doc.selectSingleNode("//td").text(), "a b");
    EXPECT_EQ(paragraphs.item(2).childNodes().length(), 3);
    EXPECT_EQ(paragraphs.item(3).childNodes().length(), 1);  // layout around a lone inline element
    // Blanks at the edges of inline elements stand between words.
    EXPECT_EQ(paragraphs.item(4).text().simplified(), "kg or pediatric, see Use (8.1) , and a b");
    EXPECT_EQ(doc.selectSingleNode("//text").firstChild().nodeName(), "paragraph");
}

TEST(XmlWhitespaceTest, IndentedLayoutReloadsToTheSameTree)
{
    const QString source =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<document xmlns=\"urn:hl7-org:v3\"><component><section><title>T <sup>1</sup></title><text>"
        "<paragraph><content>a</content><content>b</content></paragraph><paragraph>p</paragraph>"
        "<list><item>one</item><item><content>x</content> <content>y</content></item></list>"
        "</text></section></component><!--c--></document>";
    Document doc = documentFrom(source);
    const QString indented = doc.xml(Layout::Indented);
    EXPECT_TRUE(indented.contains("\n  <component>\n    <section>"));
    // Inline content is never broken up: "ab" must not become "a b".
    EXPECT_TRUE(indented.contains("<paragraph><content>a</content><content>b</content></paragraph>"));
    Document again = documentFrom(indented);
    EXPECT_EQ(again.xml(), doc.xml());
    EXPECT_EQ(doc.xml(), source.left(38) + "\n" + source.mid(38) + "\n");
}

// The indentation is laid over the tree only while it is written: the tree stays as it was. An
// element taken out leaves its namespace at document level, which once made an indented copy
// write xml:lang as a plain "lang".
TEST(XmlWhitespaceTest, AnIndentedSaveLeavesTheTreeAndItsXmlAttributesAsTheyWere)
{
    Document doc = documentFrom("<document xmlns=\"urn:hl7-org:v3\"><gone/><text><paragraph xml:lang=\"en\">a</paragraph>"
                          "<list xml:space=\"preserve\"> <item>b</item></list></text></document>");
    doc.documentElement().removeChild(doc.documentElement().firstChild());
    const QString before = doc.xml();
    const QString indented = doc.xml(Layout::Indented);
    EXPECT_EQ(doc.xml(), before);
    EXPECT_TRUE(indented.contains("<paragraph xml:lang=\"en\">a</paragraph>")) << indented.toStdString();
    EXPECT_TRUE(indented.contains("<list xml:space=\"preserve\"> <item>b</item></list>")) << indented.toStdString();
    EXPECT_EQ(documentFrom(indented).xml(), before);
}

// Settling a document in place while its marks and comments go gives the tree that taking
// them out, writing the text and reading it back gives; where it cannot, it says so, and the
// marks and comments are gone all the same.
TEST(XmlWhitespaceTest, SettlingInPlaceWithoutMarksGivesWhatReadingBackGives)
{
    const auto blank = [](const char* where, const char* text) {
        return [where, text](const Document& doc) {
            const Node at = doc.selectSingleNode(where);
            at.insertBefore(doc.createTextNode(text), at.firstChild());
            at.appendChild(doc.createTextNode(text));
        };
    };
    const struct {
        const char* body;
        std::function<void(const Document&)> edit;
        bool inPlace;
    } cases[] = {
        {"<!--top--><document Color='1'><paragraph Word2SPLID='2'>a<!--c-->b</paragraph><!--c--></document>", {}, true},
        {"<text><paragraph><content>a</content> <!--c--> <content>b</content><!--c--></paragraph></text>", {}, true},
        {"<section><!--c--><title>T</title><!--c--><text x:Color='k' xmlns:x='urn:x'/></section>",
         blank("//section", "\n  "), true},
        {"<text xml:space='preserve'><list xml:space='default'><item>a</item></list><paragraph><br/></paragraph></text>",
         [&blank](const Document& doc) {
             blank("//list", " ")(doc);
             blank("//paragraph", " ")(doc);
         },
         true},
        {"<text><list xml:space='other'><item>a</item></list></text>", blank("//list", "\n"), true},
        {"<section><title><![CDATA[T]]></title></section>", blank("//title", " "), true},
        {"<document AllowMultiLineText='1'><paragraph Word2SPLID='1'>reads xmlns=\"\" here<!--c--></paragraph>"
         "<b Color='red'/></document>",
         {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const Document settled = documentFrom(c.body);
        const Document reference = documentFrom(c.body);
        if (c.edit) {
            c.edit(settled);
            c.edit(reference);
        }
        EXPECT_EQ(rereadInPlaceWithout(settled, marks), c.inPlace);
        if (!c.inPlace) {
            removeAttributesAndComments(reference, marks);  // and nothing else changed
            EXPECT_EQ(settled.xml(), reference.xml());
        } else {
            EXPECT_EQ(settled.xml(), readBack(reference));
        }
    }
    for (const QString& file : splDocumentFiles()) {
        SCOPED_TRACE(file.toStdString());
        Document settled;
        Document reference;
        ASSERT_TRUE(settled.load(file) && reference.load(file));
        markUp(settled);
        markUp(reference);
        EXPECT_TRUE(rereadInPlaceWithout(settled, marks));
        EXPECT_EQ(settled.xml(), readBack(reference));
    }
}

// The indentation is laid over the tree where that writes what an indented copy writes, with
// what the ancestors decide (namespaces in scope, xml:space, depth) carried down the tree.
TEST(XmlWhitespaceTest, IndentationLaidOverTheTreeWritesWhatAnIndentedCopyWrites)
{
    struct LayoutCase {
        QString text;
        bool overlaid;
        std::function<void(xmlNodePtr root)> edit;  // a change made through libxml2 after loading
    };
    const LayoutCase cases[] = {
        // xml:space set, inherited, reset and left by another value; a prefix declared again
        // lower with another URI, on the element using it; prefixed attributes and xml:lang; a
        // default namespace undeclared; comments and instructions around and inside the root.
        {"<?xml version=\"1.0\"?><?pi x?><!--before--><document xmlns=\"urn:hl7-org:v3\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><text xml:space=\"preserve\"><list><item>"
         "<paragraph>a</paragraph></item></list><table xml:space=\"default\"><tbody><tr><td>x</td></tr></tbody>"
         "</table><list xml:space=\"other\"><item><br/></item></list></text><value xsi:type=\"PQ\"><translation "
         "xmlns:xsi=\"urn:two\" xsi:code=\"c\"><xsi:x/></translation></value><title xml:lang=\"en\" xsi:type=\"ST\">"
         "<content>T</content></title><b xmlns=\"\"><c><!--in--><d/><?in y?></c></b></document><!--after-->",
         true, {}},
        // An element moved out of the element declaring its namespace.
        {"<a><b xmlns:p=\"urn:one\"><p:c><p:d/></p:c></b><e><f/></e></a>", false,
         [](xmlNodePtr a) {
             xmlNodePtr c = a->children->children;
             xmlUnlinkNode(c);
             xmlAddChild(a->children->next, c);
         }},
        // An attribute in a namespace its element sees under its prefix with another URI.
        {"<a xmlns:p=\"urn:one\"><c xmlns:p=\"urn:two\"><d/></c></a>", false,
         [](xmlNodePtr a) { xmlSetNsProp(a->children->children, a->nsDef, BAD_CAST "x", BAD_CAST "1"); }},
        // An entity reference: such trees are indented on a copy.
        {"<a><b/></a>", false,
         [](xmlNodePtr a) { xmlAddChild(a->children, xmlNewReference(a->doc, BAD_CAST "&amp;")); }},
    };
    for (const LayoutCase& layoutCase : cases) {
        SCOPED_TRACE(layoutCase.text.toStdString());
        const Document doc = documentFrom(layoutCase.text);
        if (layoutCase.edit)
            layoutCase.edit(xmlDocGetRootElement(doc.raw()));
        expectIndentedLikeACopy(doc, layoutCase.overlaid);
    }
    for (const QString& path : veldra::test::splDocumentFiles()) {
        SCOPED_TRACE(path.toStdString());
        Document doc;
        ASSERT_TRUE(doc.load(path));
        expectIndentedLikeACopy(doc, true);
    }
}

TEST(XmlLineBreakTest, CrLfIsStoredAsLfSoRepeatedEditsDoNotGrow)
{
    TempDir dir;
    Document doc = documentFrom("<r><v/></r>");
    const Node v = doc.documentElement().firstChild();
    v.setText("line 1\r\nline 2\rline 3\nline 4");
    EXPECT_EQ(v.text(), "line 1\nline 2\nline 3\nline 4");
    v.setAttribute("a", "x\r\ny");
    EXPECT_EQ(v.getAttribute("a"), "x\ny");

    for (int round = 0; round < 3; ++round) {
        // What an edit box hands back: the value with CR LF line breaks.
        const QString edited = doc.selectSingleNode("//v").text().replace("\n", "\r\n");
        doc.selectSingleNode("//v").setText(edited);
        doc.save(dir.file("v.xml"));
        ASSERT_TRUE(doc.load(dir.file("v.xml")));
    }
    EXPECT_EQ(doc.selectSingleNode("//v").text(), "line 1\nline 2\nline 3\nline 4");
    EXPECT_EQ(doc.selectSingleNode("//v").getAttribute("a"), "x\ny");
    const QByteArray saved = fileBytes(dir.file("v.xml"));
    EXPECT_FALSE(saved.contains('\r'));
    EXPECT_FALSE(saved.contains("&#13;"));
    EXPECT_TRUE(saved.contains("a=\"x&#10;y\""));  // a line break in an attribute survives a reload
}

TEST(XmlSaveTest, SavesUtf8WithTheDeclarationThroughATemporaryFile)
{
    TempDir dir;
    const QString path = dir.file("out.xml");
    Document doc = documentFrom(QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"&quot;\">caf") + QChar(0xE9)
                          + " &amp; &lt;x&gt;</r>");
    doc.save(path);
    EXPECT_EQ(fileBytes(path), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r a=\"&quot;\">caf\xC3\xA9 &amp; &lt;x&gt;</r>\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"out.xml"}));

    // The file is written in the encoding the declaration names.
    doc.firstChild().setAttribute("encoding", "ISO-8859-1");
    doc.save(path);
    EXPECT_TRUE(fileBytes(path).contains("caf\xE9 "));
    Document reread;
    ASSERT_TRUE(reread.load(path));
    EXPECT_EQ(reread.documentElement().text(), QString("caf") + QChar(0xE9) + " & <x>");

    // A failing save throws and leaves the former file as it was.
    const QByteArray before = fileBytes(path);
    EXPECT_THROW(doc.save(dir.file("missing-folder/out.xml")), VbError);
    doc.firstChild().setAttribute("encoding", "no-such-encoding");
    EXPECT_THROW(doc.save(path), VbError);
    EXPECT_EQ(fileBytes(path), before);
}

TEST(XmlSaveTest, TextLoadsKeepTheirDeclarationButAreNotDecodedAgain)
{
    Document doc = documentFrom(QString("<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>") + QChar(0x20AC) + "</r>");
    EXPECT_EQ(doc.firstChild().getAttribute("encoding"), "windows-1252");
    EXPECT_EQ(doc.documentElement().text(), QString(QChar(0x20AC)));
    Document none = documentFrom("<r/>");
    EXPECT_TRUE(none.firstChild().getAttribute("encoding").isNull());
}

TEST(XmlSaveTest, MarkupTheDeclaredEncodingCannotHoldIsSavedInUtf8SoTheFileReloads)
{
    const QString euro(QChar(0x20AC));
    const QString kanji = QString(QChar(0x540D)) + QChar(0x524D);
    const struct {
        const char* declared;
        QString body;
        const char* savedAs;
    } cases[] = {
        {"ISO-8859-1", "<r><" + kanji + " a='1'/></r>", "UTF-8"},
        {"ISO-8859-1", "<r " + kanji + "='1'/>", "UTF-8"},
        {"ISO-8859-1", "<r xmlns:" + kanji + "='urn:x'/>", "UTF-8"},
        {"ISO-8859-1", "<r><!-- " + euro + " --></r>", "UTF-8"},
        {"ISO-8859-1", "<r><![CDATA[" + euro + "]]></r>", "UTF-8"},
        {"ISO-8859-1", "<r><?pi " + euro + "?></r>", "UTF-8"},
        {"windows-1252", "<r><!-- " + kanji + " --></r>", "UTF-8"},
        {"windows-1252", "<r><!-- " + euro + " --></r>", "windows-1252"},
        // Markup is found by its ASCII bytes; UTF-7 writes '<' otherwise.
        {"UTF-7", "<r a='1'>x</r>", "UTF-8"},
        // Text and attribute values take character references and keep the declared encoding.
        {"ISO-8859-1", "<r a='" + euro + "'>" + kanji + "<!-- caf" + QChar(0xE9) + " --></r>", "ISO-8859-1"},
    };
    TempDir dir;
    const QString path = dir.file("out.xml");
    for (const auto& c : cases) {
        Document doc = documentFrom(QString("<?xml version=\"1.0\" encoding=\"%1\"?>").arg(c.declared) + c.body);
        const QString before = doc.documentElement().xml();
        doc.save(path);
        EXPECT_TRUE(fileBytes(path).startsWith(QByteArray("<?xml version=\"1.0\" encoding=\"") + c.savedAs + "\"?>"))
            << fileBytes(path).left(60).toStdString();
        Document reread;
        ASSERT_TRUE(reread.load(path)) << c.body.toStdString() << ": " << reread.parseError().reason.toStdString();
        EXPECT_EQ(reread.documentElement().xml(), before);
        EXPECT_EQ(doc.firstChild().getAttribute("encoding"), c.declared) << "the document itself is unchanged";
    }
}

TEST(XmlSaveTest, AFailedWriteNamesTheSystemsReasonAndKeepsTheFormerFile)
{
    TempDir dir;
    const QString path = dir.file("out.xml");
    writeTextFile(path, "<former/>");
    Document doc = documentFrom("<r>" + QString("x").repeated(1 << 20) + "</r>");

    QString message;
    try {
        const veldra::test::DiskFullAfter limit(64 * 1024);
        doc.save(path);
    } catch (const VbError& e) {
        message = e.description();
    }

    EXPECT_TRUE(message.contains(QString::fromLocal8Bit(strerror(EFBIG)))) << message.toStdString();
    EXPECT_EQ(fileBytes(path), "<former/>");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"out.xml"}));
}

// Memory that runs out in the middle of a save: libxml2's own buffers cannot grow past the
// limit, nor can the bytes the save collects.
TEST(XmlSaveTest, ASaveThatRunsOutOfMemoryFailsAndKeepsTheFormerFile)
{
    const QString value = QString("v").repeated(3 << 20);
    const struct {
        const char* name;
        QString text;
        Layout layout;
    } cases[] = {
        {"an attribute", "<r a='" + value + "'/>", Layout::AsIs},
        {"an attribute, indented", "<r><s a='" + value + "'/></r>", Layout::Indented},
        {"an attribute, another encoding", "<?xml version='1.0' encoding='ISO-8859-1'?><r a='" + value + "'/>",
         Layout::AsIs},
    };
    TempDir dir;
    const QString path = dir.file("out.xml");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeTextFile(path, "<former/>");
        const Document doc = documentFrom(c.text);
        QString message;
        try {
            const veldra::test::LibxmlAllocationsUpTo limit(1 << 20);
            doc.save(path, c.layout);
        } catch (const VbError& e) {
            message = e.description();
        }
        EXPECT_TRUE(message.contains("could not be written")) << message.toStdString();
        EXPECT_EQ(fileBytes(path), "<former/>");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"out.xml"}));
        const QByteArray saved = doc.save(path, c.layout);
        EXPECT_EQ(fileBytes(path), saved) << "saves once memory is there";
    }
}
