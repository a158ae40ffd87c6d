// List numbers as a word processor shows them, computed from numbering definitions.
#include "support/DocxFixture.h"
#include "support/WordMarkup.h"
#include "platform/word/detail/NumberFormats.h"

#include <gtest/gtest.h>

#include <limits>

using namespace veldra;
using namespace veldra::word;
using veldra::test::para;

namespace {

QString lvl(int ilvl, const QString& format, const QString& text, const QString& extra = QString(), int start = 1)
{
    return QStringLiteral("<w:lvl w:ilvl=\"%1\"><w:start w:val=\"%2\"/><w:numFmt w:val=\"%3\"/><w:lvlText w:val=\"%4\"/>%5</w:lvl>")
        .arg(ilvl).arg(start).arg(format, text, extra);
}

QString abstractNum(int id, const QString& levels, const QString& type = QStringLiteral("hybridMultilevel"))
{
    return QStringLiteral("<w:abstractNum w:abstractNumId=\"%1\"><w:multiLevelType w:val=\"%2\"/>%3</w:abstractNum>")
        .arg(id).arg(type, levels);
}

QString num(int id, int abstractId, const QString& overrides = QString())
{
    return QStringLiteral("<w:num w:numId=\"%1\"><w:abstractNumId w:val=\"%2\"/>%3</w:num>").arg(id).arg(abstractId).arg(overrides);
}

QString startOverride(int ilvl, int start)
{
    return QStringLiteral("<w:lvlOverride w:ilvl=\"%1\"><w:startOverride w:val=\"%2\"/></w:lvlOverride>").arg(ilvl).arg(start);
}

QString numbered(int numId, int ilvl, const QString& text = QStringLiteral("x"))
{
    return para(text, QStringLiteral("<w:numPr><w:ilvl w:val=\"%1\"/><w:numId w:val=\"%2\"/></w:numPr>").arg(ilvl).arg(numId));
}

QStringList listStrings(const Document& doc)
{
    QStringList result;
    for (const Paragraph& p : doc.paragraphs())
        result.append(p.range().listFormat().listString());
    return result;
}

const QString kOutline = abstractNum(0, lvl(0, "decimal", "%1") + lvl(1, "decimal", "%1.%2") + lvl(2, "lowerLetter", "(%3)"),
                                     QStringLiteral("multilevel"));
const QString kSimple = abstractNum(0, lvl(0, "decimal", "%1."));

} // namespace

TEST(DocxNumbering, ListStringsFollowTheCountersOfTheAbstractNumbering)
{
    struct Case {
        const char* name;
        QString numbering;
        QString body;
        QStringList expected;
    };
    const std::vector<Case> cases{
        {"multilevel headings", kOutline + num(1, 0),
         numbered(1, 0) + numbered(1, 1) + numbered(1, 1) + numbered(1, 2) + numbered(1, 0) + numbered(1, 1),
         {"1", "1.1", "1.2", "(a)", "2", "2.1"}},
        {"a level not yet used shows its start", kOutline + num(1, 0), numbered(1, 1) + numbered(1, 1), {"1.1", "1.2"}},
        {"lists of one abstract numbering continue each other", kSimple + num(1, 0) + num(2, 0),
         numbered(1, 0) + numbered(1, 0) + numbered(2, 0) + para("plain") + numbered(1, 0), {"1.", "2.", "3.", "", "4."}},
        {"a start override restarts at the list's first paragraph", kSimple + num(1, 0) + num(2, 0, startOverride(0, 1)),
         numbered(1, 0) + numbered(1, 0) + numbered(2, 0) + numbered(2, 0), {"1.", "2.", "1.", "2."}},
        {"a start override can start anywhere", kSimple + num(1, 0, startOverride(0, 7)), numbered(1, 0) + numbered(1, 0),
         {"7.", "8."}},
        {"the largest number a list can hold is not passed",
         kSimple + num(1, 0, startOverride(0, std::numeric_limits<int>::max())), numbered(1, 0) + numbered(1, 0),
         {"2147483647.", "2147483647."}},
        {"a level without restart keeps counting",
         abstractNum(0, lvl(0, "decimal", "%1") + lvl(1, "lowerLetter", "%2)", QStringLiteral("<w:lvlRestart w:val=\"0\"/>"))) +
             num(1, 0),
         numbered(1, 0) + numbered(1, 1) + numbered(1, 1) + numbered(1, 0) + numbered(1, 1), {"1", "a)", "b)", "2", "c)"}},
        {"a level restarting after level 1 goes on across level 2",
         abstractNum(0, lvl(0, "decimal", "%1") + lvl(1, "decimal", "%1.%2") +
                            lvl(2, "lowerLetter", "(%3)", QStringLiteral("<w:lvlRestart w:val=\"1\"/>")),
                     QStringLiteral("multilevel")) +
             num(1, 0),
         numbered(1, 0) + numbered(1, 2) + numbered(1, 2) + numbered(1, 1) + numbered(1, 2) + numbered(1, 0) +
             numbered(1, 2),
         {"1", "(a)", "(b)", "1.1", "(c)", "2", "(a)"}},
        {"legal numbering shows higher levels in decimal",
         abstractNum(0, lvl(0, "upperRoman", "%1") + lvl(1, "decimal", "%1.%2", QStringLiteral("<w:isLgl/>"))) + num(1, 0),
         numbered(1, 0) + numbered(1, 0) + numbered(1, 1), {"I", "II", "2.1"}},
        {"roman and letters past z",
         abstractNum(0, lvl(0, "lowerRoman", "%1.", QString(), 3) + lvl(1, "upperLetter", "%2", QString(), 26)) + num(1, 0),
         numbered(1, 0) + numbered(1, 1) + numbered(1, 1) + numbered(1, 0), {"iii.", "Z", "AA", "iv."}},
        {"numbered paragraphs in table cells count in document order", kSimple + num(1, 0),
         numbered(1, 0) +
             QStringLiteral("<w:tbl><w:tr><w:tc>%1</w:tc><w:tc>%2</w:tc></w:tr><w:tr><w:tc>%3</w:tc></w:tr></w:tbl>")
                 .arg(numbered(1, 0), numbered(1, 0), numbered(1, 0)) +
             numbered(1, 0),
         {"1.", "2.", "3.", "4.", "5."}},
        {"a list item moved away or deleted takes no number", kSimple + num(1, 0),
         test::movedParagraph(numbered(1, 0, QStringLiteral("a")), test::MoveSide::From, QStringLiteral("m")) +
             numbered(1, 0, QStringLiteral("b")) +
             QStringLiteral("<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr><w:rPr><w:del w:id=\"1\" "
                            "w:author=\"x\"/></w:rPr></w:pPr><w:del w:id=\"2\" w:author=\"x\"><w:r><w:delText>d</w:delText>"
                            "</w:r></w:del></w:p><w:bookmarkEnd w:id=\"3\"/>") +
             numbered(1, 0, QStringLiteral("c")) +
             test::movedParagraph(numbered(1, 0, QStringLiteral("a")), test::MoveSide::To, QStringLiteral("m")),
         {"1.", "2.", "3."}},
        {"numId 0 cancels numbering", kSimple + num(1, 0), numbered(1, 0) + numbered(0, 0) + numbered(1, 0), {"1.", "", "2."}},
        {"an undefined list gives no number", kSimple, numbered(5, 0), {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::DocxParts parts;
        parts.numbering = c.numbering;
        EXPECT_EQ(listStrings(test::openDocx(c.body, parts)), c.expected);
    }
}

TEST(DocxNumbering, NumberingFromParagraphStylesAndNumberingStyles)
{
    test::DocxParts parts;
    parts.styles = QStringLiteral(
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/>"
        "<w:pPr><w:numPr><w:numId w:val=\"1\"/></w:numPr></w:pPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Heading2\"><w:name w:val=\"heading 2\"/><w:basedOn w:val=\"Heading1\"/>"
        "<w:pPr><w:numPr><w:ilvl w:val=\"1\"/></w:numPr></w:pPr></w:style>"
        "<w:style w:type=\"numbering\" w:styleId=\"LegalList\"><w:name w:val=\"Legal List\"/>"
        "<w:pPr><w:numPr><w:numId w:val=\"2\"/></w:numPr></w:pPr></w:style>");
    // Abstract 1 only points at the numbering style; the style's list (abstract 0) holds
    // the levels, so lists of either continue one count.
    parts.numbering = abstractNum(0, lvl(0, "decimal", "%1", QStringLiteral("<w:pStyle w:val=\"Heading1\"/>")) +
                                         lvl(1, "decimal", "%1.%2"),
                                  QStringLiteral("multilevel")) +
                      QStringLiteral("<w:abstractNum w:abstractNumId=\"1\"><w:numStyleLink w:val=\"LegalList\"/></w:abstractNum>") +
                      num(1, 0) + num(2, 0) + num(3, 1);
    const QString h1 = QStringLiteral("<w:pStyle w:val=\"Heading1\"/>");
    const QString h2 = QStringLiteral("<w:pStyle w:val=\"Heading2\"/>");
    const Document doc = test::openDocx(para("A", h1) + para("B", h2) + para("C", h2) + numbered(3, 0) + para("D", h1) +
                                            para("E", h1 + QStringLiteral("<w:numPr><w:numId w:val=\"0\"/></w:numPr>")) +
                                            // A list set on the paragraph starts at its own level 0.
                                            para("F", h2 + QStringLiteral("<w:numPr><w:numId w:val=\"1\"/></w:numPr>")),
                                        parts);
    EXPECT_EQ(listStrings(doc), (QStringList{"1", "1.1", "1.2", "2", "3", "", "4"}));
    EXPECT_EQ(doc.paragraphs().item(1).range().listFormat().listType(), list_type::Outline);
    EXPECT_EQ(doc.paragraphs().item(2).range().listFormat().listLevelNumber(), 2);
    EXPECT_EQ(doc.crossReferenceItems(), (QStringList{"1 A", "1.1 B", "1.2 C", "2 x", "3 D", "4 F"}));
}

TEST(DocxNumbering, BulletsAndListTypes)
{
    test::DocxParts parts;
    parts.numbering =
        abstractNum(0, lvl(0, "bullet", QString(QChar(0xF0B7)), QStringLiteral("<w:rPr><w:rFonts w:ascii=\"Symbol\"/></w:rPr>"))) +
        abstractNum(1, lvl(0, "bullet", QStringLiteral("o"), QStringLiteral("<w:lvlPicBulletId w:val=\"0\"/>"))) +
        abstractNum(2, lvl(0, "decimal", "%1.")) + abstractNum(3, lvl(0, "decimal", "%1."), QStringLiteral("multilevel")) +
        num(1, 0) + num(2, 1) + num(3, 2) + num(4, 3);
    const Document doc = test::openDocx(numbered(1, 0) + numbered(2, 0) + numbered(3, 0) + numbered(4, 0) + para("p"), parts);
    std::vector<int> types;
    for (const Paragraph& p : doc.paragraphs())
        types.push_back(p.range().listFormat().listType());
    EXPECT_EQ(types, (std::vector<int>{list_type::Bullet, list_type::PictureBullet, list_type::Simple, list_type::Outline,
                                       list_type::None}));
    // A Symbol-font bullet is shown as the bullet it draws.
    EXPECT_EQ(doc.paragraphs().item(1).range().listFormat().listString(), QStringLiteral("\u2022"));
    // Bullets are not numbered items.
    EXPECT_EQ(doc.crossReferenceItems(), (QStringList{"1. x", "1. x"}));
}

TEST(DocxNumbering, NumberFormats)
{
    struct Case {
        int value;
        const char* format;
        QString expected;
    };
    const Case cases[] = {
        {7, "decimal", "7"},          {7, "decimalZero", "07"},        {12, "decimalZero", "12"},
        {1994, "lowerRoman", "mcmxciv"}, {4, "upperRoman", "IV"},     {27, "lowerLetter", "aa"},
        {53, "upperLetter", "AAA"},   {1, "ordinal", "1st"},          {12, "ordinal", "12th"},
        {23, "ordinal", "23rd"},      {21, "cardinalText", "Twenty-one"}, {112, "cardinalText", "One hundred twelve"},
        {12, "ordinalText", "Twelfth"}, {40, "ordinalText", "Fortieth"}, {3, "none", ""},
        {std::numeric_limits<int>::min(), "ordinal", "-2147483648th"},
        // Letters repeat and roman numerals add an m per thousand: far out they are shown as
        // decimal numbers, not as strings of millions of characters.
        {32767, "lowerRoman", QString(32, QLatin1Char('m')) + "dcclxvii"}, {32768, "lowerRoman", "32768"},
        {std::numeric_limits<int>::max(), "upperLetter", "2147483647"},
    };
    for (const Case& c : cases) {
        bool known = false;
        const QString shown = detail::formatNumber(c.value, QLatin1String(c.format), &known);
        ASSERT_LE(shown.size(), 50) << c.format;
        EXPECT_EQ(shown, c.expected) << c.format;
        EXPECT_TRUE(known);
    }
    bool known = true;
    EXPECT_EQ(detail::formatNumber(5, QStringLiteral("decimalEnclosedCircle"), &known), QStringLiteral("5"));
    EXPECT_FALSE(known);

    // An unknown format in a document shows decimal numbers and says so once.
    test::DocxParts parts;
    parts.numbering = abstractNum(0, lvl(0, "chineseCounting", "%1")) + num(1, 0);
    const Document doc = test::openDocx(numbered(1, 0) + numbered(1, 0), parts);
    EXPECT_EQ(listStrings(doc), (QStringList{"1", "2"}));
    EXPECT_EQ(doc.warnings().filter(QStringLiteral("chineseCounting")).size(), 1);
}
