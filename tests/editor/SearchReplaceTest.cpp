// Search and replace over an editor's tree.

#include "TreeViewFixture.h"

#include "app/log/Log.h"
#include "app/log/frmLog.h"
#include "editor/SmallEditorLimit.h"
#include "platform/xml/tree/Document.h"
#include "support/SkippedErrors.h"
#include "support/XmlDocument.h"

#include <QTextEdit>

namespace veldra::test {
namespace {

const QColor Yellow(255, 255, 0);

using SearchReplaceTest = TreeViewFixture;

TEST_F(SearchReplaceTest, FindMarksEveryCaptionThatHoldsTheTextWhateverItsCase)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    ui.inputs.push_back(QString("aspirin"));

    editor->SearchNode(false);

    ASSERT_EQ(ui.inputRequests.size(), 1);
    EXPECT_EQ(ui.inputRequests[0].prompt, "Search for:");
    // Title, two product names, two ingredient names.
    EXPECT_EQ(countWithBackColor(editor, Yellow), 5);
    EXPECT_EQ(nodeCaption(editor->TreeView->selectedNode()), "Ingredient Name: ASPIRIN");
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(editor->Saved);

    // A word of an element name hits every node of that element.
    ui.inputs.push_back(QString("ingredient"));
    editor->SearchNode(false);
    EXPECT_EQ(countWithBackColor(editor, Yellow), 4);
}

TEST_F(SearchReplaceTest, FindWithoutHitsSaysSoAndWhitensEveryNode)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    ASSERT_EQ(nodeBackColor(node(editor, "Product Name: Aspirin [")), QColor(255, 0, 0));
    ui.inputs.push_back(QString("zzz"));

    editor->SearchNode(false);

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "No occurrences of Search String 'zzz' found.");
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    EXPECT_EQ(countWithBackColor(editor, QColor(Qt::white)), editor->TreeView->nodeCount());
}

TEST_F(SearchReplaceTest, AnEmptySearchMarksTheLeavesWithoutValue)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    ui.inputs.push_back(QString());

    editor->SearchNode(false);

    EXPECT_EQ(countWithBackColor(editor, Yellow), 1);
    EXPECT_EQ(nodeBackColor(node(editor, "Marketing")), Yellow);
}

TEST_F(SearchReplaceTest, ReplaceRewritesMatchingValuesCaseExactlyAndCountsEveryHit)
{
    frmXMLEditor* editor = openSettings(sampleSettings());
    select(editor, "Title");
    ui.inputs.push_back(QString("Aspirin"));
    ui.inputs.push_back(QString("Salicyl"));

    editor->SearchNode(true);

    ASSERT_EQ(ui.inputRequests.size(), 2);
    EXPECT_EQ(ui.inputRequests[0].defaultText, "Aspirin Tablets");
    EXPECT_EQ(ui.inputRequests[1].prompt, "Replace 'Aspirin' with:");
    EXPECT_EQ(texts(editor, "//Title"), QStringList({"Salicyl Tablets"}));
    EXPECT_EQ(texts(editor, "//ProductName"), QStringList({"Salicyl", "Salicyl Forte"}));
    // Hits whose text matches only when case is ignored are marked but keep their text.
    EXPECT_EQ(texts(editor, "//IngredientName"), QStringList({"ASPIRIN", "ASPIRIN"}));
    EXPECT_EQ(countWithBackColor(editor, Yellow), 5);  // marks survive the rebuild
    EXPECT_NE(node(editor, "Title: Salicyl Tablets"), nullptr);
    EXPECT_FALSE(editor->Saved);
}

TEST_F(SearchReplaceTest, ReplaceNeverFlattensMarkupInsideAValue)
{
    const struct {
        const char* name;
        const char* paragraph;
        const char* expected;
    } cases[] = {
        {"the replaced text follows the inline markup",
         R"(<paragraph>Take <content styleCode="bold">one tablet</content> daily with water</paragraph>)",
         R"(<paragraph>Take <content styleCode="bold">one tablet</content> twice a day with water</paragraph>)"},
        {"inline markup and more hits follow the element's own replaced text",
         R"(<paragraph>Take daily <content styleCode="bold">one tablet daily</content> with water daily</paragraph>)",
         R"(<paragraph>Take twice a day <content styleCode="bold">one tablet twice a day</content> with water twice a day</paragraph>)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        veldra::test::ExpectSkippedErrors skipped;  // nothing is selected when the search starts
        frmXMLEditor* editor = openSettings(QStringLiteral("<SPLR4><Section><LabelText>\n%1\n</LabelText></Section></SPLR4>")
                                                .arg(QString::fromUtf8(c.paragraph)));
        ui.inputs.push_back(QString("daily"));
        ui.inputs.push_back(QString("twice a day"));

        editor->SearchNode(true);

        // The ids the editor gives every element on opening are no part of the comparison.
        const xml::Node paragraph = editor->XMLDoc->selectSingleNode("//paragraph");
        paragraph.removeAttribute("Word2SPLID");
        for (const xml::Node& content : paragraph.selectNodes(".//content"))
            content.removeAttribute("Word2SPLID");
        EXPECT_NODE(paragraph, QString::fromUtf8(c.expected));
    }
}

TEST_F(SearchReplaceTest, AnEmptyReplacementEndsTheCommandAtOnce)
{
    veldra::test::ExpectSkippedErrors skipped;  // nothing is selected when the search starts
    frmXMLEditor* editor = openSettings(sampleSettings());
    const QStringList before = texts(editor, "//Title | //ProductName | //IngredientName | //DocumentID");
    ui.inputs.push_back(QString("Aspirin"));
    ui.inputs.push_back(std::nullopt);  // Cancel gives the empty text

    editor->SearchNode(true);

    EXPECT_EQ(texts(editor, "//Title | //ProductName | //IngredientName | //DocumentID"), before);
    EXPECT_EQ(countWithBackColor(editor, Yellow), 0);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(editor->Saved);
}

TEST_F(SearchReplaceTest, ReplacingTheEmptyTextFillsTheEmptyValues)
{
    veldra::test::ExpectSkippedErrors skipped;  // nothing is selected when the search starts
    frmXMLEditor* editor = openSettings(sampleSettings());
    ui.inputs.push_back(QString());
    ui.inputs.push_back(QString("n/a"));

    editor->SearchNode(true);

    EXPECT_EQ(texts(editor, "//Marketing"), QStringList({"n/a"}));
    EXPECT_NE(node(editor, "Marketing: n/a"), nullptr);
}

} // namespace
} // namespace veldra::test

namespace veldra::test {
namespace {

// Cancel in the first question ends either form at once: nothing is marked, changed or asked.
TEST_F(SearchReplaceTest, CancelInTheSearchQuestionEndsTheCommand)
{
    veldra::test::ExpectSkippedErrors skipped;  // nothing is selected when the search starts
    frmXMLEditor* editor = openSettings(sampleSettings());
    const QString before = editor->XMLDoc->xml();
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "replace" : "find");
        ui.inputRequests.clear();
        ui.inputs.push_back(std::nullopt);
        ui.inputs.push_back(QString("n/a"));  // would fill every empty value if asked

        editor->SearchNode(replace);

        EXPECT_EQ(ui.inputRequests.size(), 1);
        EXPECT_EQ(countWithBackColor(editor, Yellow), 0);
        EXPECT_TRUE(ui.messages.isEmpty());
        EXPECT_EQ(editor->XMLDoc->xml(), before);
        EXPECT_TRUE(editor->Saved);
        ui.inputs.clear();
    }
}

// A replacement goes through each element's own value check: what the check refuses keeps its
// value and is listed in the log, or with the log switched off in a message box; the others are
// written.
TEST_F(SearchReplaceTest, ReplacementsThatAValueCheckRefusesAreSkippedAndLogged)
{
    veldra::test::ExpectSkippedErrors skipped;  // nothing is selected when the search starts
    const bool loggingBefore = NoLogging;
    const QString packageCount = "Not replaced in SPLR4/GeneralData/PackageCount: 'Package Count' must be numeric";
    const QString version = "Not replaced in SPLR4/GeneralData/VersionNumber: 'Version Number' must have a maximum "
                            "length of 4";
    for (const bool logOn : {true, false}) {
        SCOPED_TRACE(logOn);
        NoLogging = !logOn;
        ui.messages.clear();
        frmXMLEditor* editor = openSettings(R"(<SPLR4><GeneralData>
<VersionNumber ConstraintDataType="Numeric" ConstraintLengthMax="4">1</VersionNumber>
<Title/><PackageCount ConstraintDataType="Numeric"/></GeneralData></SPLR4>)");
        ui.inputs = {QString(), QString("n/a"), QString("1"), QString("12345")};

        editor->SearchNode(true);  // the empty values become "n/a"
        editor->SearchNode(true);  // "1" becomes "12345"

        EXPECT_EQ(texts(editor, "//Title"), QStringList({"n/a"}));
        EXPECT_EQ(texts(editor, "//PackageCount"), QStringList({""}));
        EXPECT_EQ(texts(editor, "//VersionNumber"), QStringList({"1"}));
        const QString log = logWindow() ? logWindow()->txtLog->toPlainText() : QString();
        EXPECT_EQ(log.contains(packageCount), logOn) << log.toStdString();
        EXPECT_EQ(log.contains(version), logOn);
        EXPECT_FALSE(log.contains("Title"));
        QStringList boxes;
        for (const ui::MessageRequest& message : ui.messages)
            boxes << message.text;
        EXPECT_EQ(boxes, logOn ? QStringList()
                               : QStringList({"1 value(s) were left as they were:\r\n\r\n" + packageCount,
                                              "1 value(s) were left as they were:\r\n\r\n" + version}));
        if (frmLog* form = logWindow())
            form->close();
    }
    NoLogging = loggingBefore;
}

// What the replacements add counts against the bytes the editor opens, in the order they are
// made: the value whose replacement would pass the limit, by one byte here, keeps its value
// and is listed in the log; those before it are written.
TEST_F(SearchReplaceTest, ReplacementsPastTheBytesTheEditorOpensAreSkippedAndLogged)
{
    veldra::test::ExpectSkippedErrors skipped;  // nothing is selected when the search starts
    frmXMLEditor* editor = openSettings("<SPLR4><GeneralData><Title>x</Title><Note>x</Note></GeneralData></SPLR4>");
    const qint64 bytes = editor->XMLDoc->xmlBytes().size();
    // Each replacement adds 103 bytes: "&amp;" and 99 letters in place of one.
    const SmallEditorLimit limit(1'000, bytes + 2 * 103 - 1);
    ui.inputs = {QString("x"), "&" + QString(99, QLatin1Char('y'))};

    editor->SearchNode(true);

    EXPECT_EQ(texts(editor, "//GeneralData/*"), QStringList({"&" + QString(99, QLatin1Char('y')), "x"}));
    const QString log = logWindow() ? logWindow()->txtLog->toPlainText() : QString();
    EXPECT_TRUE(log.contains("Not replaced in SPLR4/GeneralData/Note: the document would be larger than the editor opens (up "
                             "to 1000 elements"))
        << log.toStdString();
    if (frmLog* form = logWindow())
        form->close();
}

} // namespace
} // namespace veldra::test
