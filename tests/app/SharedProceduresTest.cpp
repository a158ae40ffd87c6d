#include "app/shared/SharedProcedures.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace veldra;

TEST(SharedProcedures, NewGUIDHasTheIdFormatAndNeverRepeats)
{
    static const QRegularExpression format(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    QSet<QString> seen;
    QHash<QChar, int> digits;
    const int draws = 20000;
    for (int i = 0; i < draws; ++i) {
        const QString id = NewGUID();
        ASSERT_TRUE(format.match(id).hasMatch()) << id.toStdString();
        ASSERT_FALSE(seen.contains(id)) << "repeated id " << id.toStdString();
        seen.insert(id);
        for (const QChar c : id)
            if (c != '-')
                ++digits[c];
    }
    // Every digit equally likely ("0" is not favoured): 40000 expected each, sd about 200.
    ASSERT_EQ(digits.size(), 16);
    for (auto it = digits.cbegin(); it != digits.cend(); ++it)
        EXPECT_NEAR(it.value(), draws * 32 / 16, 2000) << QString(it.key()).toStdString();

    EXPECT_EQ(RandomHex(0), QString());
    EXPECT_EQ(RandomHex(-3), QString());
    EXPECT_EQ(RandomHex(5).size(), 5);
}

TEST(SharedProcedures, CodeSystemOIDKnowsTheSixSystemsExactly)
{
    EXPECT_EQ(CodeSystemOID("National Cancer Institute Thesaurus"), "2.16.840.1.113883.3.26.1.1");
    EXPECT_EQ(CodeSystemOID("Logical Observation Identifiers Names and Codes"), "2.16.840.1.113883.6.1");
    EXPECT_EQ(CodeSystemOID("Food and Drug Administration Drug Registration and Listing System"),
              "2.16.840.1.113883.6.69");
    EXPECT_EQ(CodeSystemOID("Food and Drug Administration Substance Registration System"), "2.16.840.1.113883.4.9");
    EXPECT_EQ(CodeSystemOID("Department of Veterans Affairs National Drug File Reference Terminology"),
              "2.16.840.1.113883.3.26.1.5");
    EXPECT_EQ(CodeSystemOID("Systematized Nomenclature of Medicine"), "2.16.840.1.113883.6.96");
    for (const char* other : {"LOINC", "national cancer institute thesaurus", "Systematized Nomenclature of Medicine ",
                              ""})
        EXPECT_EQ(CodeSystemOID(other), "UNKNOWN") << other;
}

TEST(SharedProcedures, MakeSafeFileNameExamples)
{
    EXPECT_EQ(MakeSafeFileName("Boxed Warning: A&B?", ".jpg"), "boxed_warning__ab_.jpg");
    EXPECT_EQ(MakeSafeFileName("CON", ".xml"), "con_.xml");
    EXPECT_EQ(MakeSafeFileName("lpt3", ""), "lpt3_");
    EXPECT_EQ(MakeSafeFileName("console", ".xml"), "console.xml");
    EXPECT_EQ(MakeSafeFileName("a%b&c", ""), "abc");
    EXPECT_EQ(MakeSafeFileName("x.xml.xml", ".xml"), "x.xml");
    EXPECT_EQ(MakeSafeFileName("Label.XML", ".xml"), "label.xml");
    EXPECT_EQ(MakeSafeFileName("Figure", ".JPG"), "figure.JPG") << "the extension keeps its case";
    EXPECT_EQ(MakeSafeFileName("a\r\nb\rc\nd\te", ""), "a_b_c_d_e");
    EXPECT_EQ(MakeSafeFileName(QString::fromUtf8("Caf\u00e9 \u20ac\x01"), ""), QString::fromUtf8("caf\u00e9_\u20ac"));
}

TEST(SharedProcedures, MakeSafeFileNameNeverYieldsForbiddenCharacters)
{
    // Characters outside the Windows code page used to come back as "?".
    EXPECT_EQ(MakeSafeFileName(QString::fromUtf8("\u4e2d\u6587"), ".xml"), "__.xml");
    EXPECT_EQ(MakeSafeFileName(QString::fromUtf8("a\U0001F600b"), ""), "a_b");
    EXPECT_EQ(MakeSafeFileName(QString::fromUtf8("\u0101\u2212"), ""), "__");

    const QString nasty = QString::fromUtf8("\\/:*?\"<>|\r\n\t %&\x01\x1f\u4e2d\U0001F600\u200b\u0085 ok");
    const QString safe = MakeSafeFileName(nasty, "");
    for (const QChar c : safe) {
        EXPECT_FALSE(QStringLiteral("\\/:*?\"<>|").contains(c)) << safe.toStdString();
        EXPECT_GE(c.unicode(), 32) << safe.toStdString();
    }
    EXPECT_TRUE(safe.endsWith("_ok"));
}

TEST(SharedProcedures, MakeSectionKeyDropsTheNumberAndJoinsWords)
{
    EXPECT_EQ(MakeSectionKey("12 HOW SUPPLIED/STORAGE AND HANDLING"), "HOW-SUPPLIED-STORAGE-AND-HANDLING");
    EXPECT_EQ(MakeSectionKey("1 INDICATIONS AND USAGE"), "INDICATIONS-AND-USAGE");
    EXPECT_EQ(MakeSectionKey("2.1 Adult Dosage (Oral)"), "ADULT-DOSAGE--ORAL-");
    EXPECT_EQ(MakeSectionKey("BOXED WARNING"), "BOXED-WARNING");
    EXPECT_EQ(MakeSectionKey("2010"), "");
    EXPECT_EQ(MakeSectionKey(""), "");
    EXPECT_EQ(MakeSectionKey("A\\B,C:d"), "A-B-C-D");
    EXPECT_EQ(MakeSectionKey("1A Title"), "_1A-TITLE") << "only a numeric first word is dropped; an ID starts with no digit";
    // Keys are section IDs: characters an XML name cannot hold become "-".
    EXPECT_EQ(MakeSectionKey("Questions?"), "QUESTIONS-");
    EXPECT_EQ(MakeSectionKey("Uses & Directions 'Adults'"), "USES---DIRECTIONS--ADULTS-");
    EXPECT_EQ(MakeSectionKey("Dosierung für Kinder"), "DOSIERUNG-FÜR-KINDER");
}

TEST(SharedProcedures, TextHelpers)
{
    EXPECT_EQ(XMLEscape("a<b & c>d"), "a&lt;b &amp; c&gt;d");
    EXPECT_EQ(XMLEscape("&amp; \"q\" 'a'"), "&amp;amp; \"q\" 'a'");

    QString text = "\ta\r\nb ";
    StripControlChars(text);
    EXPECT_EQ(text, "ab");
    text = QString::fromUtf8("  x\x7fy\u00e9\x1b z  ");
    StripControlChars(text);
    EXPECT_EQ(text, QString::fromUtf8("x\x7fy\u00e9 z"));

    EXPECT_EQ(ZeroPad("7", 3), "007");
    EXPECT_EQ(ZeroPad("1234", 3), "1234");
    EXPECT_EQ(ZeroPad("", 2), "00");
    EXPECT_EQ(ZeroPad("5", 0), "5");
}
