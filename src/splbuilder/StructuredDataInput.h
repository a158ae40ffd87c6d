#pragma once

#include "splbuilder/StructuredRows.h"

#include <QString>

namespace veldra {

// Everything the full finishing pass (clsSPL::Finalize) hands to the structured-data builders:
// the build form's two options, its six lists and its single values, in the form's order.
struct StructuredDataInput {
    int AddLOINCCodes = 0;          // any value but 0 looks up the subsections' LOINC codes
    int SPLOutputBoxedWarning = 1;  // 0 removes the sections titled "WARNING"

    StructuredRows Ingredients;
    StructuredRows Packaging;
    QString ProductTradeName;
    QString ProductGenericName;
    QString ProductNCIAdministrativeFormCode;
    QString ProductNCIAdministrativeFormName;
    QString ProductNCIAdministrativeRouteCode;
    QString ProductNCIAdministrativeRouteName;

    StructuredRows Indications;
    StructuredRows ContraIndications;
    StructuredRows DrugInteraction;
    StructuredRows AdverseReaction;

    QString ConditionOfUsePatientAgeHigh;
    QString ConditionOfUsePatientAgeLow;
    QString ConditionOfUseCoAdministrationCode;
    QString ConditionOfUseCoAdministrationCodeSystem;
    QString ConditionOfUseCoAdministrationName;
    QString ConditionOfUseMonitoringCode;
    QString ConditionOfUseMonitoringCodeSystem;
    QString ConditionOfUseMonitoringName;
    QString MaxDoseNumeratorValue;
    QString MaxDoseNumeratorUnit;
    QString MaxDoseDenominatorValue;
    QString MaxDoseDenominatorUnit;

    QString DEAScheduleCode;
    QString DEAScheduleDisplayName;
    QString DosageCharacteristicImprint;
    QString DosageCharacteristicSymbol;
    QString DosageCharacteristicCoating;
    QString DosageCharacteristicSize;
    QString DosageCharacteristicShapeDisplayName;
    QString DosageCharacteristicNCIShapeCode;
    QString DosageCharacteristicShapeOriginalText;
    QString DosageCharacteristicNCIScoreCode;
    QString DosageCharacteristicColorDisplayName;
    QString DosageCharacteristicNCIColorCode;
    QString DosageCharacteristicColorOriginalText;
};

} // namespace veldra
