#include "app/EditorCommandRunning.h"
#include "app/log/Log.h"
#include "app/log/frmLog.h"
#include "app/window/frmMain.h"
#include "platform/xml/tree/Document.h"
#include "support/ScriptedUi.h"
#include "app/MainWindowTestSupport.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

const char* labelDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<SPLR4 Word2SPLID="a">
  <ProductLabel Word2SPLID="b">
    <WordDocument Word2SPLID="c">
      <File Word2SPLID="d">/labels/aspirin.docx</File>
      <SectionStyle Word2SPLID="e">Heading 1</SectionStyle>
      <SubSectionStyle Word2SPLID="f">Heading 2</SubSectionStyle>
      <ExcerptStyle Word2SPLID="g">Highlights</ExcerptStyle>
    </WordDocument>
    <DocumentSections Word2SPLID="h">
      <Section Word2SPLID="i"><SectionTitle Word2SPLID="j">BOXED WARNING</SectionTitle></Section>
      <Section Word2SPLID="k"><SectionTitle Word2SPLID="l">INDICATIONS AND USAGE</SectionTitle></Section>
      <Section Word2SPLID="m"><SectionTitle Word2SPLID="n">RECENT MAJOR CHANGES</SectionTitle></Section>
    </DocumentSections>
  </ProductLabel>
</SPLR4>)";

QStringList sectionTitles(const xml::Document& document)
{
    QStringList titles;
    const xml::NodeList titleNodes = document.selectNodes(QStringLiteral("//Section/SectionTitle"));
    for (int i = 0; i < titleNodes.length(); ++i)
        titles << titleNodes.item(i).text();
    return titles;
}

class EditorDocumentCommandsTest : public ::testing::Test {
protected:
    EditorDocumentCommandsTest()
    {
        EXPECT_TRUE(document.loadXml(QString::fromUtf8(labelDocument)));
        editor = new test::FakeEditor(&document);
        main.mdiArea()->addSubWindow(editor)->show();
        main.SourceXMLEditor = editor;
        main.show();
        savedLogging = NoLogging;
        NoLogging = false;
    }
    ~EditorDocumentCommandsTest() override { NoLogging = savedLogging; }

    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    xml::Document document;
    frmMain main;
    test::FakeEditor* editor = nullptr;
    bool savedLogging = false;
};

} // namespace

TEST_F(EditorDocumentCommandsTest, SectionNumberingAsksForTheSeparatorAndMarksTheDocument)
{
    QStringList runs;
    hooks().ProductLabelAddSectionNumbers = [&](xml::Document d, const QString& separator) {
        EXPECT_EQ(d, document);
        runs << separator;
    };
    ui.inputs.push_back(QStringLiteral(". "));
    ui.answers.push_back(ui::Answer::No);
    main.mnuSPLR4ProductLabelAddSectionNumbers->trigger();
    EXPECT_TRUE(runs.isEmpty());
    EXPECT_TRUE(editor->calls.isEmpty());

    ui.inputs.push_back(std::nullopt);  // Cancel in the input box ends the command
    main.mnuSPLR4ProductLabelAddSectionNumbers->trigger();
    EXPECT_TRUE(runs.isEmpty());
    EXPECT_EQ(ui.messages.size(), 1) << "no question after Cancel";

    ui.inputs.push_back(QString());  // an empty answer: an empty separator
    ui.answers.push_back(ui::Answer::Yes);
    main.mnuSPLR4ProductLabelAddSectionNumbers->trigger();

    EXPECT_EQ(runs, QStringList({""}));
    EXPECT_EQ(editor->calls, QStringList({"RefreshXML(1)", "setSaved(0)"}));
    ASSERT_EQ(ui.inputRequests.size(), 3);
    EXPECT_EQ(ui.inputRequests.at(0).prompt,
              QStringLiteral("Please enter the separator you wish to add after the section Number"));
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages.at(1).text, QStringLiteral("Are you sure you want to add Section Numbers to Product Label?"));
    EXPECT_EQ(ui.messages.at(1).buttons, ui::Buttons::YesNo);
}

TEST_F(EditorDocumentCommandsTest, AddLoincCodesLogsThePassAndLeavesTheDocumentUnsaved)
{
    hooks().ProcessLoincCodes = [](xml::Document d) {
        d.selectSingleNode(QStringLiteral("//Section[0]")).setAttribute(QStringLiteral("LOINC"), QStringLiteral("34066-1"));
        WriteLog(QStringLiteral("LOINC"), QStringLiteral("BOXED WARNING 34066-1"));
        return true;
    };

    main.mnuSPLR4AddLOINCCodesToProductLabel->trigger();

    const QString log = logWindow()->txtLog->toPlainText();
    const qsizetype start = log.indexOf(QStringLiteral("Start Adding Loinc Codes \n"));
    const qsizetype pass = log.indexOf(QStringLiteral("BOXED WARNING 34066-1"));
    const qsizetype end = log.indexOf(QStringLiteral("Adding Loinc Codes Completed \n"));
    EXPECT_TRUE(start >= 0 && start < pass && pass < end) << log.toStdString();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.at(0).text,
              QStringLiteral("The operation has been completed. Please check the Log for more information."));
    EXPECT_EQ(ui.messages.at(0).icon, ui::Icon::Information);
    EXPECT_EQ(editor->calls, QStringList({"setSaved(0)", "RefreshXML(1)"}));
    EXPECT_EQ(document.selectSingleNode(QStringLiteral("//Section[0]")).getAttribute(QStringLiteral("LOINC")),
              QStringLiteral("34066-1"));
}

TEST_F(EditorDocumentCommandsTest, AFailedLoincPassShowsTheErrorInsteadOfTheCompletion)
{
    hooks().ProcessLoincCodes = [](xml::Document) -> bool { throw VbError(3024, "clsSPL", "Could not find file"); };

    main.mnuFileAddLOINCCodes->trigger();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.at(0).text, QStringLiteral("clsSPL 3024: Could not find file"));
    EXPECT_EQ(ui.messages.at(0).icon, ui::Icon::Critical);
    EXPECT_TRUE(logWindow()->txtLog->toPlainText().contains(QStringLiteral("Start Adding Loinc Codes")));
    EXPECT_FALSE(logWindow()->txtLog->toPlainText().contains(QStringLiteral("Completed")));
}

TEST_F(EditorDocumentCommandsTest, WordImportLeavesTheSavedFlagToTheImport)
{
    QWidget* importedInto = nullptr;
    hooks().ImportProductLabelFromWord = [&](QPointer<QWidget> window, xml::Document d) {
        importedInto = window;
        EXPECT_EQ(d, document);
    };
    main.mnuSPLR4ImportProductLabel->trigger();
    EXPECT_EQ(importedInto, editor);
    EXPECT_TRUE(editor->calls.isEmpty());
}

TEST_F(EditorDocumentCommandsTest, FormattingAnalysisPassesTheStylesInItsOwnOrder)
{
    QStringList arguments;
    hooks().AnalyzeDocumentFormatting = [&](const QString& file, const QString& section, const QString& excerpt,
                                            const QString& subSection) {
        arguments << file << section << excerpt << subSection;
    };
    main.mnuSPLR4PopupAnalyzeWordDocumentFormatting->trigger();
    EXPECT_EQ(arguments, QStringList({"/labels/aspirin.docx", "Heading 1", "Highlights", "Heading 2"}));

    // Its results go to the log alone: with Show Log unchecked it says so instead of running
    // unseen, and a File of nothing or blanks is named instead of being passed over in silence.
    arguments.clear();
    main.mnuShowLogging->trigger();
    main.mnuSPLR4PopupAnalyzeWordDocumentFormatting->trigger();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.at(0).text, QStringLiteral("The results of the Word Document Formatting Analysis are written "
                                                     "to the log, and the log is switched off. Switch on Show Log in "
                                                     "the SPL Document menu to see them."));
    EXPECT_FALSE(main.mnuShowLogging->isChecked());
    main.mnuShowLogging->trigger();
    for (const QString& file : {QString(), QStringLiteral("  \t")}) {
        ui.messages.clear();
        document.selectSingleNode(QStringLiteral("//WordDocument/File")).setText(file);
        main.mnuSPLR4PopupAnalyzeWordDocumentFormatting->trigger();
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages.at(0).text, QStringLiteral("No Word Document is entered in File, so there is nothing to analyze."));
    }
    EXPECT_TRUE(arguments.isEmpty());
}

// The sections the numbering passes over are told in the log alone: with Show Log unchecked
// its end says how many there were.
TEST_F(EditorDocumentCommandsTest, SectionNumberingWithTheLogSwitchedOffSaysWhatItPassedOver)
{
    hooks().ProductLabelAddSectionNumbers = [](xml::Document, const QString&) {
        WriteLog(QStringLiteral("Warning"), QStringLiteral("Section 2 has no title; it is not numbered"));
    };
    for (const bool logOn : {true, false}) {
        SCOPED_TRACE(logOn);
        NoLogging = !logOn;
        ui.messages.clear();
        ui.inputs.push_back(QStringLiteral("."));
        ui.answers.push_back(ui::Answer::Yes);
        main.mnuSPLR4ProductLabelAddSectionNumbers->trigger();
        ASSERT_EQ(ui.messages.size(), logOn ? 1 : 2) << "the question, and with the log off the closing message";
        if (!logOn) {
            EXPECT_TRUE(ui.messages.at(1).text.startsWith(QStringLiteral("The numbering found 1 warning: ")))
                << ui.messages.at(1).text.toStdString();
        }
    }
}

TEST_F(EditorDocumentCommandsTest, RecentMajorChangesMovesInFrontOfTheFirstSection)
{
    main.mnuDebugProcess->trigger();
    EXPECT_EQ(sectionTitles(document),
              QStringList({"RECENT MAJOR CHANGES", "BOXED WARNING", "INDICATIONS AND USAGE"}));

    document.selectSingleNode(QStringLiteral("//Section[0]/SectionTitle")).setText(QStringLiteral("Recent Major Changes"));
    main.mnuDebugProcess->trigger();  // the title is compared exactly: nothing moves
    EXPECT_EQ(sectionTitles(document),
              QStringList({"Recent Major Changes", "BOXED WARNING", "INDICATIONS AND USAGE"}));
    EXPECT_TRUE(editor->calls.isEmpty());
}

// While one command works on the document (here the Word import, waiting as it does in a
// LOINC prompt), every other command the user starts on it is refused and says why; the
// next one after its end runs.
TEST_F(EditorDocumentCommandsTest, ACommandOnTheDocumentRefusesASecondUntilItEnds)
{
    QStringList hookRuns;
    hooks().ProcessLoincCodes = [&](xml::Document) {
        hookRuns << "LOINC";
        return true;
    };
    hooks().ProductLabelAddSectionNumbers = [&](xml::Document, const QString&) { hookRuns << "numbering"; };
    hooks().ImportFromExcel = [&](QPointer<QWidget>) { hookRuns << "Excel"; };
    const std::vector<QAction*> others{main.mnuSPLR4ImportProductLabel, main.mnuSPLR4ProductLabelAddSectionNumbers,
                                       main.mnuFileAddLOINCCodes, main.mnuSPLR4AddLOINCCodesToProductLabel,
                                       main.mnuSPLR4ImportFromExcel, main.mnuSPLR4TransformSPL,
                                       main.MenuSPLR4QuickPreview, main.mnuSPLR4Search, main.mnuSPLR4Replace,
                                       main.mnuSPLR4ReverseTransform};
    int imports = 0;
    hooks().ImportProductLabelFromWord = [&](QPointer<QWidget>, xml::Document) {
        ++imports;
        for (QAction* other : others) {
            ui.messages.clear();
            other->trigger();
            ASSERT_EQ(ui.messages.size(), 1) << other->objectName().toStdString();
            EXPECT_EQ(ui.messages.at(0).text, CommandStillRunningMessage);
        }
    };

    main.mnuSPLR4ImportProductLabel->trigger();

    EXPECT_EQ(imports, 1);
    EXPECT_TRUE(hookRuns.isEmpty()) << hookRuns.join(',').toStdString();
    EXPECT_TRUE(editor->calls.isEmpty()) << editor->calls.join(',').toStdString();
    EXPECT_TRUE(ui.inputRequests.isEmpty());
    main.mnuSPLR4ImportFromExcel->trigger();
    EXPECT_EQ(hookRuns, QStringList({"Excel"}));
}
