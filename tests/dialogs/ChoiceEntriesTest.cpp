#include "dialogs/ChoiceEntries.h"
#include "dialogs/MultiLineText.h"

#include <gtest/gtest.h>

using namespace veldra;

TEST(ChoiceEntries, EntitiesAreReadBeforeSplittingAndPiecesStayAsTheyAre)
{
    EXPECT_EQ(choiceEntries(QStringLiteral("A;B &amp; C; ;")),
              QStringList({QStringLiteral("A"), QStringLiteral("B & C"), QStringLiteral(" "), QString()}));
    EXPECT_EQ(choiceEntries(QStringLiteral("C1 {One}")), QStringList({QStringLiteral("C1 {One}")}));
}

TEST(ChoiceEntries, ExactEntryThenCodeThenPrefix)
{
    const QStringList forms = {QStringLiteral("Tablet, film coated"), QStringLiteral("Tablet")};
    EXPECT_EQ(matchingEntry(forms, QStringLiteral("Tablet")), 1);
    EXPECT_EQ(matchingEntry(forms, QStringLiteral("Tab")), 0);
    EXPECT_EQ(matchingEntry(forms, QStringLiteral("Capsule")), -1);
    // An empty value starts every entry: the first is shown, unless an entry is empty itself.
    EXPECT_EQ(matchingEntry(forms, QString()), 0);
    EXPECT_EQ(matchingEntry({QStringLiteral("false"), QString()}, QString()), 1);

    const QStringList coded = {QStringLiteral("C429981 {TABLET, X}"), QStringLiteral("C42998 {TABLET}")};
    EXPECT_EQ(matchingEntry(coded, QStringLiteral("C42998")), 1);
    EXPECT_EQ(matchingEntry(coded, QStringLiteral("C42998 {TABLET}")), 1);
    EXPECT_EQ(matchingEntry(coded, QStringLiteral("C4299")), 0);
    // Letter case counts.
    EXPECT_EQ(matchingEntry(coded, QStringLiteral("c42998")), -1);
}

TEST(ChoiceEntries, MirroredEntrySwapsCodeAndName)
{
    EXPECT_EQ(mirroredEntry(QStringLiteral("C42998 {TABLET}")), QStringLiteral("TABLET {C42998}"));
    EXPECT_EQ(mirroredEntry(QStringLiteral("TABLET, FILM COATED {C42931}")), QStringLiteral("C42931 {TABLET, FILM COATED}"));
    EXPECT_EQ(mirroredEntry(QStringLiteral("plain")), QStringLiteral(" {plain}"));
}

TEST(MultiLineText, EveryKindOfLineBreakIsShownOnceAndGivenBackAsCrLf)
{
    EXPECT_EQ(multiLineDisplayText(QStringLiteral("a\nb\r\nc\rd")), QStringLiteral("a\nb\nc\nd"));
    EXPECT_EQ(multiLineValue(QStringLiteral("a\nb")), QStringLiteral("a\r\nb"));
    // A value that went through the box once comes back the same the second time.
    const QString once = multiLineValue(multiLineDisplayText(QStringLiteral("a\r\nb")));
    EXPECT_EQ(multiLineValue(multiLineDisplayText(once)), once);
}
