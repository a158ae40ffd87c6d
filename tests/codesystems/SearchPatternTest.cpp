#include "codesystems/SearchPattern.h"

#include <gtest/gtest.h>

using namespace veldra::codesystems;

TEST(SearchPatternTest, PartialPatternJoinsWordsWithWildcards)
{
    EXPECT_EQ(partialSearchPattern(QStringLiteral("Indications AND Usage")), QStringLiteral("%Indications%Usage%"));
    EXPECT_EQ(partialSearchPattern(QStringLiteral("dosage and administration")),
              QStringLiteral("%dosage%and%administration%"));
    EXPECT_EQ(partialSearchPattern(QString()), QStringLiteral("%%"));
    EXPECT_EQ(partialSearchPattern(QStringLiteral("50% a_b\\")), QStringLiteral("%50\\%%a\\_b\\\\%"));
}

TEST(SearchPatternTest, PickerBoxKeepsItsWildcardsAndEscapes)
{
    EXPECT_EQ(pickerSearchPattern(QStringLiteral("Heart rate")), QStringLiteral("%Heart%rate%"));
    EXPECT_EQ(pickerSearchPattern(QString()), QString());
    EXPECT_EQ(pickerSearchPattern(QStringLiteral("a_b")), QStringLiteral("%a\\_b%"));
    // A pattern shown in the box searches the same again.
    EXPECT_EQ(pickerSearchPattern(partialSearchPattern(QStringLiteral("a_b 5%"))), QStringLiteral("%%a\\_b%5\\%%%"));
    EXPECT_EQ(pickerSearchPattern(QStringLiteral("end\\")), QStringLiteral("%end\\\\%"));
}
