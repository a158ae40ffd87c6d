#include "BuildFormTestSupport.h"

#include "app/window/frmMain.h"
#include "buildform/BuildRun.h"
#include "support/Fixtures.h"
#include "support/LogFixture.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::buildform;
using namespace veldra::buildform::test;

namespace {

// Records what the build run hands over, and what the main window holds meanwhile.
class FakeConverter : public BuildConverter {
public:
    bool ProcessDocument(BuildRequest& request) override
    {
        received = request;
        heldByMainWindow = mainForm() && mainForm()->TargetWord.get() == this;
        options = {CheckChars, QString::number(CheckCrossReferences), QString::number(CheckSubscriptSuperscript),
                   QString::number(IgnoreTableCellBorders), QString::number(SPLOutputBoxedWarning)};
        Cancel = cancelInside;
        return produces;
    }
    bool writesOutput() const override { return canWrite; }

    BuildRequest received;
    QStringList options;
    bool heldByMainWindow = false;
    bool cancelInside = false;
    bool produces = true;
    bool canWrite = true;
};

class BuildRunTest : public veldra::test::LogFixture {
protected:
    BuildRunTest()
    {
        fillWithNames(form);
        form.textBox("txtSourceFileName")->setText("/labels/Zorvat.tablets.docx");
        out = dir.file("out");
        form.textBox("txtTargetFolder")->setText(out);
        QDir().mkpath(out);
        for (const char* name : {"old.xml", "img0001.JPG", "label.docx", "notes.txt"})
            veldra::test::writeTextFile(out + "/" + name, "x");
        buildConverterFactory() = [this] {
            converter = std::make_shared<FakeConverter>();
            ++made;
            return converter;
        };
    }
    ~BuildRunTest() override { buildConverterFactory() = nullptr; }

    QStringList outFiles() const { return QDir(out).entryList(QDir::Files, QDir::Name); }
    QStringList texts() const
    {
        QStringList result;
        for (const auto& message : ui.messages)
            result << message.text;
        return result;
    }

    frmMain main;
    frmBuildSPL form;
    veldra::test::TempDir dir;
    QString out;
    std::shared_ptr<FakeConverter> converter;
    int made = 0;
    const QStringList untouched{"img0001.JPG", "label.docx", "notes.txt", "old.xml"};
    const QString missing = "Some user input data is missing. Please check that all parameters are specified.";
};

} // namespace

TEST_F(BuildRunTest, EachRequiredBoxLeftEmptyStopsTheRunBeforeAnything)
{
    for (const QString& name : requiredTextBoxes()) {
        const QString kept = form.textBox(name)->text();
        form.textBox(name)->clear();
        ui.messages.clear();
        EXPECT_FALSE(form.InputCheck()) << name.toStdString();
        form.cmdOK->click();
        EXPECT_EQ(texts(), QStringList({missing})) << name.toStdString();
        EXPECT_EQ(ui.messages.first().icon, ui::Icon::Warning);
        form.textBox(name)->setText(kept);
    }
    EXPECT_EQ(made, 0);
    EXPECT_EQ(outFiles(), untouched);

    // A blank is an entry.
    for (const QString& name : requiredTextBoxes())
        if (name != "txtSourceFileName" && name != "txtTargetFolder")
            form.textBox(name)->setText(" ");
    EXPECT_TRUE(form.InputCheck());
}

TEST_F(BuildRunTest, NoAtTheQuestionChangesNothing)
{
    ui.answers = {ui::Answer::No};
    form.OK();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.first().text,
              "Before SPL processing can start please make sure you dont have any Word Documents open.\r\n"
              "Existing output, if any, will be overwritten.\r\nAre you sure you want to continue?");
    EXPECT_EQ(ui.messages.first().buttons, ui::Buttons::YesNo);
    EXPECT_EQ(ui.messages.first().icon, ui::Icon::Information);
    EXPECT_EQ(made, 0);
    EXPECT_EQ(outFiles(), untouched);
    EXPECT_EQ(logWindow(), nullptr);
    EXPECT_EQ(main.TargetWord, nullptr);
}

TEST_F(BuildRunTest, YesHandsTheConverterEveryEntryUnderItsOwnName)
{
    form.checkBox("chkTestBuild")->setCheckState(Qt::PartiallyChecked);
    form.checkBox("chkAddLOINCCodes")->setChecked(false);
    form.checkBox("chkCheckCrossReferences")->setCheckState(Qt::PartiallyChecked);
    form.checkBox("chkIgnoreTableCellBorders")->setChecked(false);

    form.OK();

    ASSERT_EQ(made, 1);
    EXPECT_TRUE(converter->heldByMainWindow);
    EXPECT_EQ(main.TargetWord, nullptr);
    EXPECT_EQ(outFiles(), QStringList({"label.docx", "notes.txt"}));
    ASSERT_NE(logWindow(), nullptr);
    EXPECT_EQ(texts().last(), "The operation has been completed. Please check the Log for more information.");

    const BuildRequest& r = converter->received;
    // Each of the request's texts and of the structured data's, with the control that feeds it.
    const std::pair<QString BuildRequest::*, const char*> textArguments[] = {
        {&BuildRequest::SetID, "txtSetID"},
        {&BuildRequest::VersionNumber, "txtVersionNumber"},
        {&BuildRequest::Title, "txtTitle"},
        {&BuildRequest::TitleEffectiveTime, "txtTitleEffectiveTime"},
        {&BuildRequest::TitleAvailabiltyTime, "txtTitleAvailabiltyTime"},
        {&BuildRequest::CompanyName, "txtCompanyName"},
        {&BuildRequest::CompanyAddress, "txtCompanyAddress"},
        {&BuildRequest::InitialApprovalCompanyName, "txtInitialApprovalCompanyName"},
        {&BuildRequest::InitialApprovalCompanyAddress, "txtInitialApprovalCompanyAddress"},
        {&BuildRequest::InitialApprovaYear, "txtInitialApprovaYear"},
        {&BuildRequest::AdverseEffectCompanyName, "txtAdverseEffectCompanyName"},
        {&BuildRequest::LegalAuthenticatorFirstName, "txtLegalAuthenticatorFirstName"},
        {&BuildRequest::LegalAuthenticatorLastName, "txtLegalAuthenticatorLastName"},
        {&BuildRequest::AdverseEffectPhoneNumber, "txtAdverseEffectPhoneNumber"},
        {&BuildRequest::AdverseEffectWebAddress, "txtAdverseEffectWebAddress"},
        {&BuildRequest::SourceFileName, "txtSourceFileName"},
        {&BuildRequest::SectionStyle, "txtSectionStyle"},
        {&BuildRequest::SubSectionStyle, "txtSubSectionStyle"},
        {&BuildRequest::ExcerptHeaderStyle, "txtExcerptHeaderStyle"},
    };
    const std::pair<QString StructuredDataInput::*, const char*> dataTextArguments[] = {
        {&StructuredDataInput::ProductTradeName, "txtProductTradeName"},
        {&StructuredDataInput::ProductGenericName, "txtProductGenericName"},
        {&StructuredDataInput::ProductNCIAdministrativeFormCode, "txtProductNCIAdministrativeFormCode"},
        {&StructuredDataInput::ProductNCIAdministrativeFormName, "txtProductNCIAdministrativeFormName"},
        {&StructuredDataInput::ProductNCIAdministrativeRouteCode, "txtProductNCIAdministrativeRouteCode"},
        {&StructuredDataInput::ProductNCIAdministrativeRouteName, "txtProductNCIAdministrativeRouteName"},
        {&StructuredDataInput::ConditionOfUsePatientAgeHigh, "txtConditionOfUsePatientAgeHigh"},
        {&StructuredDataInput::ConditionOfUsePatientAgeLow, "txtConditionOfUsePatientAgeLow"},
        {&StructuredDataInput::ConditionOfUseCoAdministrationCode, "txtConditionOfUseCoAdministrationCode"},
        {&StructuredDataInput::ConditionOfUseCoAdministrationCodeSystem, "cboConditionOfUseCoAdministrationCodeSystem"},
        {&StructuredDataInput::ConditionOfUseCoAdministrationName, "txtConditionOfUseCoAdministrationName"},
        {&StructuredDataInput::ConditionOfUseMonitoringCode, "txtConditionOfUseMonitoringCode"},
        {&StructuredDataInput::ConditionOfUseMonitoringCodeSystem, "cboConditionOfUseMonitoringCodeSystem"},
        {&StructuredDataInput::ConditionOfUseMonitoringName, "txtConditionOfUseMonitoringName"},
        {&StructuredDataInput::MaxDoseNumeratorValue, "txtMaxDoseNumeratorValue"},
        {&StructuredDataInput::MaxDoseNumeratorUnit, "txtMaxDoseNumeratorUnit"},
        {&StructuredDataInput::MaxDoseDenominatorValue, "txtMaxDoseDenominatorValue"},
        {&StructuredDataInput::MaxDoseDenominatorUnit, "txtMaxDoseDenominatorUnit"},
        {&StructuredDataInput::DEAScheduleCode, "txtDEAScheduleCode"},
        {&StructuredDataInput::DEAScheduleDisplayName, "txtDEAScheduleDisplayName"},
        {&StructuredDataInput::DosageCharacteristicImprint, "txtDosageCharacteristicImprint"},
        {&StructuredDataInput::DosageCharacteristicSymbol, "cboDosageCharacteristicSymbol"},
        {&StructuredDataInput::DosageCharacteristicCoating, "cboDosageCharacteristicCoating"},
        {&StructuredDataInput::DosageCharacteristicSize, "txtDosageCharacteristicSize"},
        {&StructuredDataInput::DosageCharacteristicShapeDisplayName, "txtDosageCharacteristicShapeDisplayName"},
        {&StructuredDataInput::DosageCharacteristicNCIShapeCode, "txtDosageCharacteristicNCIShapeCode"},
        {&StructuredDataInput::DosageCharacteristicShapeOriginalText, "txtDosageCharacteristicShapeOriginalText"},
        {&StructuredDataInput::DosageCharacteristicNCIScoreCode, "txtDosageCharacteristicNCIScoreCode"},
        {&StructuredDataInput::DosageCharacteristicColorDisplayName, "txtDosageCharacteristicColorDisplayName"},
        {&StructuredDataInput::DosageCharacteristicNCIColorCode, "txtDosageCharacteristicNCIColorCode"},
        {&StructuredDataInput::DosageCharacteristicColorOriginalText, "txtDosageCharacteristicColorOriginalText"},
    };
    const FormState entered = form.state();
    for (const auto& [member, control] : textArguments)
        EXPECT_EQ(r.*member, entered.text(QLatin1String(control))) << control;
    for (const auto& [member, control] : dataTextArguments)
        EXPECT_EQ(r.StructuredData.*member, entered.text(QLatin1String(control))) << control;
    EXPECT_EQ(r.TargetFileName, out + "/Zorvat.tablets.xml");
    EXPECT_EQ(r.TestBuild, 2);
    EXPECT_EQ(r.StructuredData.AddLOINCCodes, 0);
    EXPECT_EQ(r.StructuredData.SPLOutputBoxedWarning, 1);
    const std::pair<StructuredRows StructuredDataInput::*, const char*> listArguments[] = {
        {&StructuredDataInput::Ingredients, "ListProductIngredients"},
        {&StructuredDataInput::Packaging, "ListProductPackaging"},
        {&StructuredDataInput::Indications, "ListIndications"},
        {&StructuredDataInput::ContraIndications, "ListContraIndications"},
        {&StructuredDataInput::DrugInteraction, "ListDrugInteractions"},
        {&StructuredDataInput::AdverseReaction, "ListAdverseReactions"},
    };
    for (const auto& [member, control] : listArguments) {
        EXPECT_EQ(r.StructuredData.*member, form.list(QLatin1String(control)).rows().rows) << control;
        EXPECT_EQ((r.StructuredData.*member).size(), 1) << control;
    }
    EXPECT_EQ(converter->options, QStringList({"txtCheckChars", "2", "1", "0", "1"}));
}

TEST_F(BuildRunTest, TheEndMessageSaysWhatBecameOfTheSplFile)
{
    form.textBox("txtTargetFolder")->setText(out + "/");
    buildConverterFactory() = [this] {
        converter = std::make_shared<FakeConverter>();
        converter->cancelInside = true;
        return converter;
    };
    form.OK();
    EXPECT_EQ(converter->received.TargetFileName, out + "/Zorvat.tablets.xml");
    EXPECT_EQ(texts().last(), "The operation has been cancelled. SPL File may not be valid.");
    EXPECT_EQ(ui.messages.last().icon, ui::Icon::Warning);

    buildConverterFactory() = [this] {
        converter = std::make_shared<FakeConverter>();
        converter->produces = false;
        return converter;
    };
    form.OK();
    EXPECT_EQ(texts().last(), "No SPL file was produced. Please check the Log for more information.");
    EXPECT_EQ(main.TargetWord, nullptr);
}

// Nothing is deleted that nothing will replace: without a converter, for a converter that
// cannot write a file, or for a source name that gives no target name.
TEST_F(BuildRunTest, WithoutAConverterOrATargetNameTheFolderIsLeftAlone)
{
    buildConverterFactory() = nullptr;
    form.OK();
    EXPECT_TRUE(texts().last().startsWith("No SPL file was produced")) << texts().last().toStdString();
    EXPECT_EQ(outFiles(), untouched);

    buildConverterFactory() = [this] { ++made; return std::make_shared<FakeConverter>(); };
    form.textBox("txtSourceFileName")->setText("C:\\Labels.v2\\README");
    ui.messages.clear();
    form.OK();
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages.last().icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages.last().text.startsWith("PrepareOutputFolder ")) << texts().last().toStdString();
    EXPECT_EQ(made, 0);
    EXPECT_EQ(outFiles(), untouched);
    EXPECT_EQ(main.TargetWord, nullptr);

    buildConverterFactory() = [this] {
        converter = std::make_shared<FakeConverter>();
        converter->canWrite = false;
        converter->produces = false;
        return converter;
    };
    form.textBox("txtSourceFileName")->setText("/labels/Zorvat.tablets.docx");
    ui.messages.clear();
    form.OK();
    EXPECT_TRUE(texts().last().startsWith("No SPL file was produced")) << texts().last().toStdString();
    EXPECT_EQ(converter->received.TargetFileName, QDir(out).filePath("Zorvat.tablets.xml"));
    EXPECT_EQ(outFiles(), untouched);
}
