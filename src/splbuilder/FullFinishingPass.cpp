#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"

namespace veldra {

void clsSPL::Finalize(const StructuredDataInput& input)
{
    RemoveSubSectionTemplateByTitle(document().childNodes(), QStringLiteral("$SubSection"));
    if (input.SPLOutputBoxedWarning == 0) {
        RemoveSubSectionTemplateByTitle(document().childNodes(), QStringLiteral("WARNING"));
        WriteLog(logSeparator(), QString(), false);
        WriteLog(log_category::Information, QStringLiteral("Boxed Warning has been removed"));
    }
    AddStructuredDataProductDataAndIngredients(input.Ingredients, input.Packaging, input.ProductTradeName,
                                               input.ProductGenericName, input.ProductNCIAdministrativeFormCode,
                                               input.ProductNCIAdministrativeFormName,
                                               input.ProductNCIAdministrativeRouteCode,
                                               input.ProductNCIAdministrativeRouteName);
    AddStructuredDataIndications(input.Indications);
    AddStructuredDataContraIndications(input.ContraIndications);
    AddStructuredDataDrugInteraction(input.DrugInteraction);
    AddStructuredDataAdverseReaction(input.AdverseReaction);
    AddStructuredDataConditionOfUsePatientAge(input.ConditionOfUsePatientAgeHigh, input.ConditionOfUsePatientAgeLow);
    AddStructuredDataConditionOfUseCoAdministration(input.ConditionOfUseCoAdministrationCode,
                                                    input.ConditionOfUseCoAdministrationCodeSystem,
                                                    input.ConditionOfUseCoAdministrationName);
    AddStructuredDataConditionOfUseMonitoring(input.ConditionOfUseMonitoringCode, input.ConditionOfUseMonitoringCodeSystem,
                                              input.ConditionOfUseMonitoringName);
    AddStructuredDataMaximumDose(input.MaxDoseNumeratorValue, input.MaxDoseNumeratorUnit, input.MaxDoseDenominatorValue,
                                 input.MaxDoseDenominatorUnit);
    AddStructuredDataDosageCharacteristics(
        input.DEAScheduleCode, input.DEAScheduleDisplayName, input.DosageCharacteristicImprint,
        input.DosageCharacteristicSymbol, input.DosageCharacteristicCoating, input.DosageCharacteristicSize,
        input.DosageCharacteristicShapeDisplayName, input.DosageCharacteristicNCIShapeCode,
        input.DosageCharacteristicShapeOriginalText, input.DosageCharacteristicNCIScoreCode,
        input.DosageCharacteristicColorDisplayName, input.DosageCharacteristicNCIColorCode,
        input.DosageCharacteristicColorOriginalText);
    RemoveEmptyExcerpts();
    RemoveUnusedSections(true);
    if (input.AddLOINCCodes != 0)
        ProcessLoincCodes(nullptr);
    ProcessIDRoot();
}

} // namespace veldra
