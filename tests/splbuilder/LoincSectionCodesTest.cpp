#include "SplBuilderTestSupport.h"

#include "app/Hooks.h"
#include "app/window/frmMain.h"
#include "splbuilder/InstallSplBuilderHooks.h"
#include "codesystems/frmSelectLOINC.h"

#include <QPushButton>
#include <QTimer>
#include <functional>

using namespace veldra;
using namespace veldra::test;

namespace {

const QString settingsDocument = QStringLiteral(
    "<SPLR4><ProductLabel><DocumentSections><Section>"
    "<component Word2SPLID='c1'><section ID='S1'><title>Pediatric Use</title><code code='' codeSystem='' displayName=''/></section></component>"
    "<component Word2SPLID='c2'><section ID='S2'><title>Mystery Heading</title><code code='' codeSystem='' displayName=''/></section></component>"
    "<component Word2SPLID='c3'><section ID='S3'><code code='x' codeSystem='' displayName=''/></section></component>"
    "<component Word2SPLID='c4'><section ID='S4'><title>Geriatric Use</title><code code='' codeSystem='' displayName=''/></section></component>"
    "</Section></DocumentSections></ProductLabel></SPLR4>");

class LoincSectionCodesTest : public SplBuilderTest {
protected:
    void SetUp() override
    {
        SplBuilderTest::SetUp();
        writeLoincDatabase();
        ASSERT_TRUE(settings.loadXml(settingsDocument));
    }
    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SplBuilderTest::TearDown();
    }

    // The user's answer in the LOINC picker, once it shows.
    static void whenPickerShows(std::function<void(frmSelectLOINC&)> answer)
    {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, answer] {
            frmSelectLOINC* picker = frmSelectLOINC::instance();
            if (!picker || !picker->isVisible())
                return;
            timer->stop();
            timer->deleteLater();
            answer(*picker);
        });
        timer->start(0);
    }
    static void whenPickerShows(QPushButton* frmSelectLOINC::*button)
    {
        whenPickerShows([button](frmSelectLOINC& picker) { (picker.*button)->click(); });
    }

    QString codeOf(const QString& id) const
    {
        const xml::Node code = settings.selectSingleNode("//section[@ID='" + id + "']/code");
        return code.getAttribute("codeSystem") + " " + code.getAttribute("code") + " " + code.getAttribute("displayName");
    }

    frmMain main;
    xml::Document settings;
};

const QString loinc = QStringLiteral("2.16.840.1.113883.6.1 ");

} // namespace

TEST_F(LoincSectionCodesTest, SettingsSectionsGetTheirCodesAndUnmatchedOnesTheUnclassifiedCode)
{
    whenPickerShows(&frmSelectLOINC::cmdUnclassified);
    clsSPL().ProcessLoincCodes(&settings);

    EXPECT_EQ(codeOf("S1"), loinc + "34081-0 PEDIATRIC USE SECTION");
    EXPECT_EQ(codeOf("S2"), loinc + "42229-5 SPL UNCLASSIFIED SECTION");
    EXPECT_EQ(codeOf("S3"), " x ") << "a component without a title is skipped";
    EXPECT_EQ(codeOf("S4"), loinc + "34082-8 GERIATRIC USE SECTION");
    const QStringList log = logLines();
    EXPECT_EQ(log.at(1), line("Information", "Start loading LOINC Codes"));
    EXPECT_EQ(log.last(), line("Information", "Loading LOINC Codes completed"));
    EXPECT_EQ(main.TargetLOINC, nullptr);
}

TEST_F(LoincSectionCodesTest, AnAbortOrEscCodesEveryLaterSectionUnclassifiedWithoutLookingItUp)
{
    const std::function<void(frmSelectLOINC&)> cancels[] = {
        [](frmSelectLOINC& picker) { picker.cmdAbort->click(); },
        [](frmSelectLOINC& picker) {
            CancelOnEscape(27, 0);  // Esc in the log window while the picker waits
            picker.cmdUnclassified->click();
        },
    };
    for (const auto& cancel : cancels) {
        closeLog();
        ASSERT_TRUE(settings.loadXml(settingsDocument));
        ui.answers = {ui::Answer::Yes};
        whenPickerShows(cancel);
        clsSPL().ProcessLoincCodes(&settings);

        EXPECT_EQ(codeOf("S1"), loinc + "34081-0 PEDIATRIC USE SECTION");
        EXPECT_EQ(codeOf("S2"), loinc + "42229-5 SPL UNCLASSIFIED SECTION");
        EXPECT_EQ(codeOf("S3"), " x ");
        EXPECT_EQ(codeOf("S4"), loinc + "42229-5 SPL UNCLASSIFIED SECTION") << "no lookup after the cancel";
        const QStringList log = logLines();
        EXPECT_EQ(log.filter("LOINC unclassified").size(), 1);
        EXPECT_TRUE(log.contains(line("Warning", "S4 LOINC unclassified")));
        EXPECT_EQ(log.last(), line("Information", "Loading LOINC Codes Cancelled"));
    }

    // The next run starts uncancelled.
    whenPickerShows([](frmSelectLOINC& picker) { picker.cmdUnclassified->click(); });
    clsSPL().ProcessLoincCodes(&settings);
    EXPECT_EQ(codeOf("S4"), loinc + "34082-8 GERIATRIC USE SECTION");
}

TEST_F(LoincSectionCodesTest, AFailureIsLoggedKeepsTheCodesSoFarAndLeavesNoLookupBehind)
{
    settings.selectSingleNode("//section[@ID='S2']/code").removeAttribute("displayName");
    whenPickerShows(&frmSelectLOINC::cmdUnclassified);
    clsSPL().ProcessLoincCodes(&settings);

    EXPECT_EQ(codeOf("S1"), loinc + "34081-0 PEDIATRIC USE SECTION");
    EXPECT_EQ(codeOf("S4"), "  ");
    const QStringList log = logLines();
    EXPECT_EQ(log.filter("Error Loading LOINC Codes - clsSPL ").size(), 1);
    EXPECT_FALSE(log.contains(line("Information", "Loading LOINC Codes completed")));
    EXPECT_EQ(main.TargetLOINC, nullptr) << "the lookup is released on the error path too";
}

TEST_F(LoincSectionCodesTest, OnItsOwnDocumentOnlySubsectionsAreLookedUp)
{
    useSmallSkeleton();
    clsSPL spl = initialized();
    QString a = "A", sub = "Pregnancy";
    ASSERT_TRUE(spl.AddSubSection(a, sub));
    spl.RemoveSubSectionTemplateByTitle(spl.Document->childNodes(), "$SubSection");
    spl.ProcessLoincCodes();
    EXPECT_EQ(spl.Document->selectSingleNode("//section[@ID='PREGNANCY']/code").getAttribute("code"), "42228-7");
    EXPECT_EQ(spl.Document->selectSingleNode("//section[@ID='B']/code").getAttribute("code"), "1-1");
    EXPECT_EQ(logLines().filter("LOINC").size(), 2) << "no lookup lines for top-level sections";
}

// The command's closing box tells a completed run from one the user aborted in the picker.
TEST_F(LoincSectionCodesTest, TheMainWindowCommandCodesTheOpenDocumentAndSaysHowItEnded)
{
    const Hooks saved = hooks();
    installSplBuilderHooks();
    const struct {
        QPushButton* frmSelectLOINC::*button;
        QString box;
        ui::Icon icon;
        QString lastLine;
    } cases[] = {
        {&frmSelectLOINC::cmdUnclassified, "The operation has been completed. Please check the Log for more information.",
         ui::Icon::Information, line("Processing", "Adding Loinc Codes Completed ")},
        {&frmSelectLOINC::cmdAbort,
         "The operation has been cancelled: the sections not coded by then got the unclassified section code. "
         "Please check the Log for more information.",
         ui::Icon::Warning, line("Information", "Loading LOINC Codes Cancelled")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(settings.loadXml(settingsDocument));
        ui.messages.clear();
        ui.answers = {ui::Answer::Yes};  // the abort is confirmed
        whenPickerShows(c.button);
        main.AddLOINCCodes(settings);
        EXPECT_EQ(codeOf("S1"), loinc + "34081-0 PEDIATRIC USE SECTION");
        ASSERT_FALSE(ui.messages.isEmpty());
        EXPECT_EQ(ui.messages.last().text, c.box);
        EXPECT_EQ(ui.messages.last().icon, c.icon);
        EXPECT_EQ(logLines().last(), c.lastLine);
    }
    hooks() = saved;
}

// A title numbered by Word or by the numbering command, once or more, with any separator, is
// looked up by its words alone; a number that is the whole title, or stands inside it, stays.
TEST_F(LoincSectionCodesTest, ALeadingSectionNumberIsLeftOutOfTheLookup)
{
    struct Case {
        const char* title;
        const char* code;
    };
    const std::vector<Case> cases{
        {"8.4 Pediatric Use", "34081-0 PEDIATRIC USE SECTION"},
        {"8.5\tGeriatric Use", "34082-8 GERIATRIC USE SECTION"},
        {"17  INFORMATION FOR PATIENTS", "34076-0 INFORMATION FOR PATIENTS SECTION"},
        {"8.1. Pregnancy", "42228-7 PREGNANCY SECTION"},
        {"8.4 8.4 Pediatric Use", "34081-0 PEDIATRIC USE SECTION"},
        {"8. 8.5\tGeriatric Use", "34082-8 GERIATRIC USE SECTION"},
        {"5.3.1 Pregnancy", "42228-7 PREGNANCY SECTION"},
        {"2.1.2.1 Pediatric Use", "34081-0 PEDIATRIC USE SECTION"},
        {"8 Geriatric Use", "34082-8 GERIATRIC USE SECTION"},
        {"8) 8.1) Pregnancy", "42228-7 PREGNANCY SECTION"},
        {"17 - INFORMATION FOR PATIENTS", "34076-0 INFORMATION FOR PATIENTS SECTION"},
        {"8:\u00a0Pediatric Use", "34081-0 PEDIATRIC USE SECTION"},
        {"Pregnancy 2", "42229-5 SPL UNCLASSIFIED SECTION"},
        {"12", "42229-5 SPL UNCLASSIFIED SECTION"},
    };
    QString sections;
    for (size_t i = 0; i < cases.size(); ++i)
        sections += QString("<component Word2SPLID='c%1'><section ID='S%1'><title>%2</title>"
                            "<code code='' codeSystem='' displayName=''/></section></component>")
                        .arg(i)
                        .arg(QString(cases[i].title).toHtmlEscaped());
    ASSERT_TRUE(settings.loadXml("<SPLR4><ProductLabel><DocumentSections><Section>" + sections
                                 + "</Section></DocumentSections></ProductLabel></SPLR4>"));
    // Every title that finds no single code is declared unclassified in the picker.
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [] {
        if (frmSelectLOINC* picker = frmSelectLOINC::instance(); picker && picker->isVisible())
            picker->cmdUnclassified->click();
    });
    answering.start(0);
    clsSPL().ProcessLoincCodes(&settings);

    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(codeOf(QString("S%1").arg(i)), loinc + cases[i].code) << cases[i].title;
}
