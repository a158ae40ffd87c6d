#include "buildform/CodeSearchButtons.h"

#include "app/search/CodeSearch.h"

namespace veldra::buildform {

namespace {

const QString nci = QStringLiteral("NCI Thesaurus");

} // namespace

const std::vector<CodeSearchButton>& codeSearchButtons()
{
    static const std::vector<CodeSearchButton> table{
        {"frmBuildSPL", "cmdSearchAdministrativeFormCode", "txtProductNCIAdministrativeFormName", {}, nci},
        {"frmBuildSPL", "cmdSearchAdministrativeRouteCode", "txtProductNCIAdministrativeRouteName", {}, nci},
        {"frmBuildSPL", "cmdSearchColorCode", "txtDosageCharacteristicColorDisplayName", {}, nci},
        {"frmBuildSPL", "cmdSearchShapeCode", "txtDosageCharacteristicShapeDisplayName", {}, nci},
        {"frmBuildSPL", "cmdSearchDEAScheduleCode", "txtDEAScheduleDisplayName", {}, nci},
        {"frmBuildSPL", "cmdSearchConditionOfUseCoAdministrationCode", "txtConditionOfUseCoAdministrationName",
         "cboConditionOfUseCoAdministrationCodeSystem", {}},
        {"frmBuildSPL", "cmdSearchConditionOfUseMonitoringCode", "txtConditionOfUseMonitoringName",
         "cboConditionOfUseMonitoringCodeSystem", {}},
        {"frmIndication", "cmdSearchIndication", "txtIndicationValueName", "cboIndicationValueCodeSystem", {}},
        {"frmContraIndication", "cmdSearchContraindication", "txtContraIndicationCodeName",
         "cboContraIndicationCodeSystem", {}},
        {"frmContraIndication", "CndSearchContraIndicationValueName", "txtContraIndicationValueName",
         "cboContraIndicationValueCodeSystem", {}},
        {"frmDrugInteraction", "cmdSearchFoodOrDrug", "txtInteractionName", "cboInteractionCodeSystem", {}},
        {"frmDrugInteraction", "cmdSearchRisk", "txtRiskCodeName", "cboRiskCodeSystem", {}},
        {"frmDrugInteraction", "cmdSearchRiskValue", "txtRiskValueName", "cboRiskValueCodeSystem", {}},
        {"frmAdverseReaction", "cmdSearchRiskCodeName", "txtRiskCodeName", "cboRiskCodeSystem", {}},
        {"frmAdverseReaction", "cmdSearchRiskValueName", "txtRiskValueName", "cboRiskValueCodeSystem", {}},
        {"frmPackaging", "cmdSearchProductPackagingNCIContainerName", "txtProductPackagingNCIContainerName", {}, nci},
        {"frmPackaging", "cmdSearchPackagingQuantityNumeratorNCICode", "txtPackagingQuantityNumeratorNCIName", {}, nci},
        {"frmPackaging", "cmdSearchPackagingDenominatorNCICode", "txtPackagingDenominatorNCIName", {}, nci},
        {"frmIngredients", "cmdSearchUNII", "txtIngredientName", {}, QStringLiteral("UNII Codes")},
        {"frmIngredients", "cmdSearchNCINumerator", "txtIngredientQuantityNumeratorUnit", {}, nci},
        {"frmIngredients", "cmdSearchNCIDenominator", "txtIngredientDenominatorUnit", {}, nci},
    };
    return table;
}

const CodeSearchButton* findCodeSearchButton(const QString& form, const QString& button)
{
    for (const CodeSearchButton& entry : codeSearchButtons())
        if (entry.form == form && entry.button == button)
            return &entry;
    return nullptr;
}

QString searchSystemFor(const CodeSearchButton& button, const QString& comboText)
{
    return button.systemCombo.isEmpty() ? button.fixedSystem : codeSystemSearchEntry(comboText);
}

} // namespace veldra::buildform
