#include "buildform/BuildRun.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "app/window/frmMain.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"

namespace veldra::buildform {

namespace {

const QString missingData =
    QStringLiteral("Some user input data is missing. Please check that all parameters are specified.");
const QString cancelled = QStringLiteral("The operation has been cancelled. SPL File may not be valid.");
const QString completed = QStringLiteral("The operation has been completed. Please check the Log for more information.");
const QString noConverter = QStringLiteral(
    "No SPL file was produced: this program cannot convert Word documents yet. The target folder was left as it was.");
const QString noOutput = QStringLiteral("No SPL file was produced. Please check the Log for more information.");

QString question()
{
    return QStringLiteral("Before SPL processing can start please make sure you dont have any Word Documents open.\r\n"
                          "Existing output, if any, will be overwritten.\r\n"
                          "Are you sure you want to continue?");
}

// The main window names the running converter, so that Esc reaches it; on every way out
// of the run the name is taken back.
class RunningJob {
public:
    explicit RunningJob(std::shared_ptr<BuildConverter> converter)
    {
        if (frmMain* main = mainForm())
            main->TargetWord = std::move(converter);
    }
    ~RunningJob()
    {
        if (frmMain* main = mainForm())
            main->TargetWord.reset();
    }
    RunningJob(const RunningJob&) = delete;
    RunningJob& operator=(const RunningJob&) = delete;
};

BuildOutcome convert(const FormState& state)
{
    // The converter is made first: a folder is emptied only for a converter that can fill it.
    std::shared_ptr<BuildConverter> converter = buildConverterFactory()();
    if (!converter)
        throw VbError(err::General, QStringLiteral("OK"), QStringLiteral("The Word converter could not be created"));
    const QString source = state.text("txtSourceFileName");
    const QString folder = state.text("txtTargetFolder");
    const QString target =
        converter->writesOutput() ? PrepareOutputFolder(source, folder) : SPLTargetFileName(source, folder);
    ShowLogWindow(true);
    RunningJob running(converter);
    setConverterOptions(*converter, state);
    BuildRequest request = buildRequest(state, target);
    const bool produced = converter->ProcessDocument(request);
    if (converter->Cancel) {
        ui::msgBox(cancelled, ui::Buttons::OK, ui::Icon::Warning);
        return BuildOutcome::Cancelled;
    }
    ui::msgBox(produced ? completed : noOutput, ui::Buttons::OK, produced ? ui::Icon::Information : ui::Icon::Warning);
    return produced ? BuildOutcome::Produced : BuildOutcome::NoOutput;
}

} // namespace

BuildConverterFactory& buildConverterFactory()
{
    static BuildConverterFactory factory;
    return factory;
}

const QStringList& requiredTextBoxes()
{
    static const QStringList names{
        "txtTitle", "txtTitleEffectiveTime", "txtTitleAvailabiltyTime", "txtCompanyName", "txtCompanyAddress",
        "txtLegalAuthenticatorFirstName", "txtLegalAuthenticatorLastName", "txtSourceFileName", "txtTargetFolder",
        "txtSectionStyle", "txtSubSectionStyle", "txtExcerptHeaderStyle"};
    return names;
}

bool InputCheck(const FormState& state)
{
    for (const QString& name : requiredTextBoxes())
        if (state.text(name).isEmpty())
            return false;
    return true;
}

void setConverterOptions(BuildConverter& converter, const FormState& state)
{
    converter.Cancel = false;
    converter.CheckChars = state.text("txtCheckChars");
    converter.CheckCrossReferences = state.check("chkCheckCrossReferences");
    converter.CheckSubscriptSuperscript = state.check("chkCheckSubscriptSuperScript");
    converter.IgnoreTableCellBorders = state.check("chkIgnoreTableCellBorders");
    converter.SPLOutputBoxedWarning = state.check("chkSPLOutputBoxedWarning");
}

BuildRequest buildRequest(const FormState& state, const QString& targetFileName)
{
    BuildRequest r;
    r.TestBuild = state.check("chkTestBuild");
    r.SetID = state.text("txtSetID");
    r.VersionNumber = state.text("txtVersionNumber");
    r.Title = state.text("txtTitle");
    r.TitleEffectiveTime = state.text("txtTitleEffectiveTime");
    r.TitleAvailabiltyTime = state.text("txtTitleAvailabiltyTime");
    r.CompanyName = state.text("txtCompanyName");
    r.CompanyAddress = state.text("txtCompanyAddress");
    r.InitialApprovalCompanyName = state.text("txtInitialApprovalCompanyName");
    r.InitialApprovalCompanyAddress = state.text("txtInitialApprovalCompanyAddress");
    r.InitialApprovaYear = state.text("txtInitialApprovaYear");
    r.AdverseEffectCompanyName = state.text("txtAdverseEffectCompanyName");
    r.LegalAuthenticatorFirstName = state.text("txtLegalAuthenticatorFirstName");
    r.LegalAuthenticatorLastName = state.text("txtLegalAuthenticatorLastName");
    r.AdverseEffectPhoneNumber = state.text("txtAdverseEffectPhoneNumber");
    r.AdverseEffectWebAddress = state.text("txtAdverseEffectWebAddress");
    r.SourceFileName = state.text("txtSourceFileName");
    r.TargetFileName = targetFileName;
    r.SectionStyle = state.text("txtSectionStyle");
    r.SubSectionStyle = state.text("txtSubSectionStyle");
    r.ExcerptHeaderStyle = state.text("txtExcerptHeaderStyle");
    StructuredDataInput& d = r.StructuredData;
    d.SPLOutputBoxedWarning = state.check("chkSPLOutputBoxedWarning");
    d.Ingredients = state.list("ListProductIngredients").rows;
    d.Packaging = state.list("ListProductPackaging").rows;
    d.ProductTradeName = state.text("txtProductTradeName");
    d.ProductGenericName = state.text("txtProductGenericName");
    d.ProductNCIAdministrativeFormCode = state.text("txtProductNCIAdministrativeFormCode");
    d.ProductNCIAdministrativeFormName = state.text("txtProductNCIAdministrativeFormName");
    d.ProductNCIAdministrativeRouteCode = state.text("txtProductNCIAdministrativeRouteCode");
    d.ProductNCIAdministrativeRouteName = state.text("txtProductNCIAdministrativeRouteName");
    d.AddLOINCCodes = state.check("chkAddLOINCCodes");
    d.Indications = state.list("ListIndications").rows;
    d.ContraIndications = state.list("ListContraIndications").rows;
    d.DrugInteraction = state.list("ListDrugInteractions").rows;
    d.AdverseReaction = state.list("ListAdverseReactions").rows;
    d.ConditionOfUsePatientAgeHigh = state.text("txtConditionOfUsePatientAgeHigh");
    d.ConditionOfUsePatientAgeLow = state.text("txtConditionOfUsePatientAgeLow");
    d.ConditionOfUseCoAdministrationCode = state.text("txtConditionOfUseCoAdministrationCode");
    d.ConditionOfUseCoAdministrationCodeSystem = state.text("cboConditionOfUseCoAdministrationCodeSystem");
    d.ConditionOfUseCoAdministrationName = state.text("txtConditionOfUseCoAdministrationName");
    d.ConditionOfUseMonitoringCode = state.text("txtConditionOfUseMonitoringCode");
    d.ConditionOfUseMonitoringCodeSystem = state.text("cboConditionOfUseMonitoringCodeSystem");
    d.ConditionOfUseMonitoringName = state.text("txtConditionOfUseMonitoringName");
    d.MaxDoseNumeratorValue = state.text("txtMaxDoseNumeratorValue");
    d.MaxDoseNumeratorUnit = state.text("txtMaxDoseNumeratorUnit");
    d.MaxDoseDenominatorValue = state.text("txtMaxDoseDenominatorValue");
    d.MaxDoseDenominatorUnit = state.text("txtMaxDoseDenominatorUnit");
    d.DEAScheduleCode = state.text("txtDEAScheduleCode");
    d.DEAScheduleDisplayName = state.text("txtDEAScheduleDisplayName");
    d.DosageCharacteristicImprint = state.text("txtDosageCharacteristicImprint");
    d.DosageCharacteristicSymbol = state.text("cboDosageCharacteristicSymbol");
    d.DosageCharacteristicCoating = state.text("cboDosageCharacteristicCoating");
    d.DosageCharacteristicSize = state.text("txtDosageCharacteristicSize");
    d.DosageCharacteristicShapeDisplayName = state.text("txtDosageCharacteristicShapeDisplayName");
    d.DosageCharacteristicNCIShapeCode = state.text("txtDosageCharacteristicNCIShapeCode");
    d.DosageCharacteristicShapeOriginalText = state.text("txtDosageCharacteristicShapeOriginalText");
    d.DosageCharacteristicNCIScoreCode = state.text("txtDosageCharacteristicNCIScoreCode");
    d.DosageCharacteristicColorDisplayName = state.text("txtDosageCharacteristicColorDisplayName");
    d.DosageCharacteristicNCIColorCode = state.text("txtDosageCharacteristicNCIColorCode");
    d.DosageCharacteristicColorOriginalText = state.text("txtDosageCharacteristicColorOriginalText");
    return r;
}

BuildOutcome runBuild(const FormState& state)
{
    if (!InputCheck(state)) {
        ui::msgBox(missingData, ui::Buttons::OK, ui::Icon::Warning);
        return BuildOutcome::NotStarted;
    }
    if (ui::msgBox(question(), ui::Buttons::YesNo, ui::Icon::Information) != ui::Answer::Yes)
        return BuildOutcome::NotStarted;
    try {
        // The target name is settled before anything in the folder is deleted.
        SPLTargetFileName(state.text("txtSourceFileName"), state.text("txtTargetFolder"));
        if (!buildConverterFactory()) {
            ui::msgBox(noConverter, ui::Buttons::OK, ui::Icon::Warning);
            return BuildOutcome::NoOutput;
        }
        return convert(state);
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("OK")));
        return BuildOutcome::Failed;
    }
}

} // namespace veldra::buildform
