#include "platform/core/VbError.h"
#include "platform/xml/query/QueryTranslator.h"

#include <gtest/gtest.h>

using veldra::VbError;
using veldra::xml::QueryTranslator;

namespace {

QString xpath(const QString& query, const QSet<QString>& prefixes = {})
{
    return QueryTranslator::toXPath(query, prefixes);
}

const char* kSection = "*[local-name()='Section']";

} // namespace

TEST(XmlQueryTranslatorTest, NamesMatchByLocalNameAndPositionsCountFromZero)
{
    EXPECT_EQ(xpath("/SPLR4/ProductLabel/DocumentSections/Section[0]"),
              QString("/*[local-name()='SPLR4']/*[local-name()='ProductLabel']/*[local-name()='DocumentSections']/")
                  + kSection + "[1]");
    EXPECT_EQ(xpath("document/component/structuredBody/component[1]"),
              "*[local-name()='document']/*[local-name()='component']/*[local-name()='structuredBody']/"
              "*[local-name()='component'][2]");
    EXPECT_EQ(xpath("Section[ 10 ]"), QString(kSection) + "[11]");
    // `text` is an element of SPL; text() is the node test.
    EXPECT_EQ(xpath("section/text"), "*[local-name()='section']/*[local-name()='text']");
    EXPECT_EQ(xpath("title/text()"), "*[local-name()='title']/text()");
}

TEST(XmlQueryTranslatorTest, PathsStepsAndUnions)
{
    EXPECT_EQ(xpath("//KitAssembly"), "//*[local-name()='KitAssembly']");
    EXPECT_EQ(xpath("section//highlight"), "*[local-name()='section']//*[local-name()='highlight']");
    EXPECT_EQ(xpath("."), ".");
    EXPECT_EQ(xpath("../x"), "../*[local-name()='x']");
    EXPECT_EQ(xpath("/"), "/");
    EXPECT_EQ(xpath("//*[@Color]"), "//*[@Color]");
    EXPECT_EQ(xpath("//section/code/@code"), "//*[local-name()='section']/*[local-name()='code']/@code");
    EXPECT_EQ(xpath("@*"), "@*");
    EXPECT_EQ(xpath("//comment()"), "//comment()");
    EXPECT_EQ(xpath("Word2SPLTransform/Transform | Word2SPLTransform/PostProcessing"),
              "*[local-name()='Word2SPLTransform']/*[local-name()='Transform'] | "
              "*[local-name()='Word2SPLTransform']/*[local-name()='PostProcessing']");
}

TEST(XmlQueryTranslatorTest, PredicatesTranslateNamesButNeverLiterals)
{
    EXPECT_EQ(xpath("//Wizard[@Enabled=1]/Name"), "//*[local-name()='Wizard'][@Enabled=1]/*[local-name()='Name']");
    EXPECT_EQ(xpath("//section[@ID = 'BOXED-WARNING-SECTION']/title"),
              "//*[local-name()='section'][@ID='BOXED-WARNING-SECTION']/*[local-name()='title']");
    EXPECT_EQ(xpath("x[@a=\"it's\"]"), "*[local-name()='x'][@a=\"it's\"]");
    // Slashes, brackets, names and digits inside literals stay as written.
    EXPECT_EQ(xpath("/Word2SPLTransform/Transform[Definition/Source='SPLR4/GeneralData[0] | a']"),
              "/*[local-name()='Word2SPLTransform']/*[local-name()='Transform']"
              "[*[local-name()='Definition']/*[local-name()='Source']='SPLR4/GeneralData[0] | a']");
    EXPECT_EQ(xpath("Transform[Definition[Source='x']]"),
              "*[local-name()='Transform'][*[local-name()='Definition'][*[local-name()='Source']='x']]");
    EXPECT_EQ(xpath("component[section/title]"), "*[local-name()='component'][*[local-name()='section']/*[local-name()='title']]");
    EXPECT_EQ(xpath("a[@x='1' and (b or not(c))]"),
              "*[local-name()='a'][@x='1' and (*[local-name()='b'] or not(*[local-name()='c']))]");
    EXPECT_EQ(xpath("a[b!='v']"), "*[local-name()='a'][*[local-name()='b']!='v']");
    // concat() of texts writes a text that holds both kinds of quote.
    EXPECT_EQ(xpath("a[@b=concat('x\"', \"'\", 'y')]"), "*[local-name()='a'][@b=concat('x\"',\"'\",'y')]");
    // A quote doubled inside its own quotes stands for itself; a text holding both kinds, or a
    // character XML does not allow, is bound to a variable, whatever its length.
    const struct {
        const char* query;
        const char* xpath;
        QStringList texts;
    } literals[] = {
        {"a[@b='O''Brien']", "*[local-name()='a'][@b=\"O'Brien\"]", {}},
        {"a[@b=\"say \"\"hi\"\"\"]", "*[local-name()='a'][@b='say \"hi\"']", {}},
        {"a[@b='''\"'][@c=\"\"\"'\"]", "*[local-name()='a'][@b=$text1][@c=$text2]", {"'\"", "\"'"}},
        {"a[@b='']", "*[local-name()='a'][@b='']", {}},
        {"a[@b='x\x01y' or @b=concat('''', '\"')]", "*[local-name()='a'][@b=$text1 or @b=concat(\"'\",'\"')]", {"x\x01y"}},
    };
    for (const auto& row : literals) {
        const veldra::xml::TranslatedQuery translated = QueryTranslator::translate(QString::fromUtf8(row.query));
        EXPECT_EQ(translated.xpath, QString::fromUtf8(row.xpath)) << row.query;
        EXPECT_EQ(translated.texts, row.texts) << row.query;
    }
    // `and` where a name stands is an element name.
    EXPECT_EQ(xpath("a[and='x']"), "*[local-name()='a'][*[local-name()='and']='x']");
}

TEST(XmlQueryTranslatorTest, PrefixesNeedABinding)
{
    EXPECT_EQ(xpath("x:section/@xsi:type", {"x", "xsi"}), "x:section/@xsi:type");
    EXPECT_EQ(xpath("x:*", {"x"}), "x:*");
    EXPECT_EQ(xpath("@xml:lang"), "@xml:lang");
    EXPECT_THROW(xpath("x:section"), VbError);
    EXPECT_THROW(xpath("@xsi:type"), VbError);
}

TEST(XmlQueryTranslatorTest, AnythingOutsideTheDialectIsRefused)
{
    const char* refused[] = {
        "",
        "   ",
        "a[",
        "a]",
        "a[]",
        "a[@b='x]",
        "child::a",
        "a[position()=1]",
        "a[last()]",
        "count(a)",
        "a[1.5]",
        "a[-1]",
        "a[@b<1]",
        "a[@b > 1]",
        "a[@b $eq$ 'x']",
        "a[$x]",
        "a['x']",
        "a[1 or @b]",
        "a/",
        "a//",
        "./[1]",
        ".[@a]",
        "a[b][",
        "'text'",
        "a b",
        "@xmlns",
        "a | ",
        "a[@b=]",
        "a::b",
        "a[text(1)]",
        "a[@b=concat('x')]",
        "a[@b=concat('x', c)]",
        "a[concat('x', 'y')]",
        "a[@b='x'']",
        "a[@b=\"\"\"]",
    };
    for (const char* query : refused) {
        try {
            xpath(QString::fromUtf8(query));
            ADD_FAILURE() << "accepted: " << query;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), veldra::err::XmlQuery) << query;
            EXPECT_FALSE(e.description().isEmpty());
        }
    }
}

TEST(XmlQueryTranslatorTest, DeepNestingIsRefusedAndTheQueryIsQuotedAsWritten)
{
    const struct {
        QString query;
        bool accepted;
    } cases[] = {
        {"a" + QString("[b").repeated(5000) + QString("]").repeated(5000), false},
        {"a[" + QString("(").repeated(14000) + "@b=1" + QString(")").repeated(14000) + "]", false},
        {"a[" + QString("not(").repeated(14000) + "@b" + QString(")").repeated(14000) + "]", false},
        {"a" + QString("[b").repeated(50) + QString("]").repeated(50), true},
    };
    for (const auto& c : cases) {
        try {
            xpath(c.query);
            EXPECT_TRUE(c.accepted) << c.query.left(20).toStdString();
        } catch (const VbError& e) {
            EXPECT_FALSE(c.accepted) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains("levels deep")) << e.description().toStdString();
        }
    }

    for (const QString& query : {QString("a[%1 %2]"), QString("%3%1[")}) {
        try {
            xpath(query);
            ADD_FAILURE() << "accepted: " << query.toStdString();
        } catch (const VbError& e) {
            EXPECT_TRUE(e.description().startsWith("The query '" + query + "' is not supported"))
                << e.description().toStdString();
        }
    }
}
