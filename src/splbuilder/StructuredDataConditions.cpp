#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "splbuilder/SplNodes.h"
#include "splbuilder/StructuredDataFrame.h"

#include <functional>

namespace veldra {

namespace {

const QString indications = QStringLiteral("INDICATIONS-AND-USAGE");
const QString dosage = QStringLiteral("DOSAGE-AND-ADMINISTRATION");
const QStringList excerptHighlight{QStringLiteral("excerpt"), QStringLiteral("highlight")};
const QString fragmentAdministration = QStringLiteral("subject//substanceAdministration");

// The texts and the fragment of one condition-of-use or maximum-dose builder.
struct ConditionBuilder {
    QString start, notDefined, loadFailure, notInitialized, failure, success;
    QString file;
    // The piece that joins an existing subject of the indications highlight; empty for the
    // maximum dose, which always adds a subject of its own to the dosage highlight.
    QString joiningPiece;
};

// A new subject in the target document holding the fragment's substance administration,
// appended to the highlight; a subject that cannot be placed is dropped.
void addSubject(const xml::Document& target, const xml::Document& fragment, const QString& sectionId)
{
    const xml::Node subject = target.createElement(QStringLiteral("subject"));
    subject.appendChild(spl::requiredNode(fragment, fragmentAdministration));
    spl::requiredSectionPart(target, sectionId, excerptHighlight).appendChild(subject);
}

void place(const ConditionBuilder& builder, const xml::Document& target, const xml::Document& fragment)
{
    if (builder.joiningPiece.isEmpty()) {
        addSubject(target, fragment, dosage);
        return;
    }
    const xml::Node highlight = spl::requiredSectionPart(target, indications, excerptHighlight);
    if (spl::descendantPath(highlight, {QStringLiteral("subject")}).isNull()) {
        addSubject(target, fragment, indications);
        return;
    }
    spl::requiredSectionPart(target, indications,
                             excerptHighlight + QStringList{QStringLiteral("subject"), QStringLiteral("substanceAdministration")})
        .appendChild(spl::requiredNode(fragment, builder.joiningPiece));
}

void runConditionBuilder(const ConditionBuilder& builder, bool defined, const std::function<void(const xml::Document&)>& fill,
                         const QString& valuesLine, const std::optional<xml::Document>& target)
{
    spl::openBuilderLog(builder.start);
    if (!defined) {
        WriteLog(log_category::Warning, builder.notDefined);
        return;
    }
    const std::optional<xml::Document> fragment = spl::loadFragment(builder.file, builder.loadFailure);
    if (!fragment)
        return;
    fill(*fragment);
    WriteLog(log_category::Processing, valuesLine);
    if (!target) {
        WriteLog(log_category::Warning, builder.notInitialized);
        return;
    }
    spl::MovePhase moves;
    moves.attempt([&] { place(builder, *target, *fragment); });
    moves.report(builder.failure, builder.success);
}

void writeCode(const xml::Document& fragment, const QString& path, const QString& code, const QString& system,
               const QString& name)
{
    const xml::Node element = spl::requiredNode(fragment, path);
    spl::setExistingAttribute(element, QStringLiteral("code"), code);
    spl::setExistingAttribute(element, QStringLiteral("codeSystem"), CodeSystemOID(system));
    spl::setExistingAttribute(element, QStringLiteral("displayName"), name);
}

ConditionBuilder conditionTexts(const QString& name, const QString& loadFailure, const QString& success,
                                const QString& file, const QString& joiningPiece)
{
    return {QStringLiteral("Start processing Condition of Use - ") + name,
            QStringLiteral("No Condition of Use - ") + name + QStringLiteral(" - defined"),
            loadFailure,
            QStringLiteral("Condition of Use - ") + name + QStringLiteral(" - cannot be added cause document is not initialized"),
            QStringLiteral("Adding Condition of Use - ") + name + QStringLiteral(" - failed: "),
            success,
            file,
            joiningPiece};
}

QString codedValuesLine(const QString& name, const QString& code, const QString& system, const QString& display)
{
    return QStringLiteral("Condition of Use - ") + name + QStringLiteral(": ") + code + QLatin1Char('-') + system
           + QLatin1Char('-') + display;
}

} // namespace

void clsSPL::AddStructuredDataConditionOfUsePatientAge(const QString& ConditionOfUsePatientAgeHigh,
                                                       const QString& ConditionOfUsePatientAgeLow)
{
    static const ConditionBuilder builder = conditionTexts(
        QStringLiteral("Patient Age"), QStringLiteral("Condition of use - patient age - template loading failed: "),
        QStringLiteral("Condition of Use - Patient Age - successfully processed"),
        QStringLiteral("TEMPLATE_STRUCTURED_DATA_CONDITION_OF_USE_AGE.xml"),
        QStringLiteral("subject//substanceAdministration//precondition"));
    const auto fill = [&](const xml::Document& fragment) {
        const xml::Node value =
            spl::requiredNode(fragment, QStringLiteral("subject//substanceAdministration//precondition//observationCriterion//value"));
        spl::setExistingAttribute(spl::requiredNode(value, QStringLiteral("low")), QStringLiteral("value"),
                                  ConditionOfUsePatientAgeLow);
        spl::setExistingAttribute(spl::requiredNode(value, QStringLiteral("high")), QStringLiteral("value"),
                                  ConditionOfUsePatientAgeHigh);
    };
    runConditionBuilder(builder, !ConditionOfUsePatientAgeHigh.isEmpty() && !ConditionOfUsePatientAgeLow.isEmpty(), fill,
                        QStringLiteral("Condition of Use - Patient Age: ") + ConditionOfUsePatientAgeLow + QLatin1Char('-')
                            + ConditionOfUsePatientAgeHigh + QStringLiteral(" years (a)"),
                        Document);
}

void clsSPL::AddStructuredDataConditionOfUseCoAdministration(const QString& ConditionOfUseCoAdministrationCode,
                                                             const QString& ConditionOfUseCoAdministrationCodeSystem,
                                                             const QString& ConditionOfUseCoAdministrationName)
{
    static const ConditionBuilder builder = conditionTexts(
        QStringLiteral("Co Administration"),
        QStringLiteral("Condition of Use - Co Administration - template loading failed: "),
        QStringLiteral("Condition of Use - Co Administration - successfully added"),
        QStringLiteral("TEMPLATE_STRUCTURED_DATA_CONDITION_OF_USE_CO_ADMINISTRATION.xml"),
        QStringLiteral("subject//substanceAdministration//precondition"));
    const auto fill = [&](const xml::Document& fragment) {
        writeCode(fragment,
                  QStringLiteral("subject//substanceAdministration//precondition//substanceAdministrationCriterion//"
                                 "consumable//administrableMaterial//administrableMaterialKind//code"),
                  ConditionOfUseCoAdministrationCode, ConditionOfUseCoAdministrationCodeSystem,
                  ConditionOfUseCoAdministrationName);
    };
    const bool defined = !ConditionOfUseCoAdministrationCode.isEmpty() || !ConditionOfUseCoAdministrationCodeSystem.isEmpty()
                         || !ConditionOfUseCoAdministrationName.isEmpty();
    runConditionBuilder(builder, defined, fill,
                        codedValuesLine(QStringLiteral("Co Administration"), ConditionOfUseCoAdministrationCode,
                                        ConditionOfUseCoAdministrationCodeSystem, ConditionOfUseCoAdministrationName),
                        Document);
}

void clsSPL::AddStructuredDataConditionOfUseMonitoring(const QString& ConditionOfUseMonitoringCode,
                                                       const QString& ConditionOfUseMonitoringCodeSystem,
                                                       const QString& ConditionOfUseMonitoringName)
{
    static const ConditionBuilder builder = conditionTexts(
        QStringLiteral("Monitoring"), QStringLiteral("Condition of Use - Monitoring - template loading failed: "),
        QStringLiteral("Condition of Use - Monitoring - successfully processed"),
        QStringLiteral("TEMPLATE_STRUCTURED_DATA_CONDITION_OF_USE_MONITORING.xml"),
        QStringLiteral("subject//substanceAdministration//componentOf"));
    const auto fill = [&](const xml::Document& fragment) {
        writeCode(fragment,
                  QStringLiteral("subject//substanceAdministration//componentOf//protocol//component//monitoringObservation//code"),
                  ConditionOfUseMonitoringCode, ConditionOfUseMonitoringCodeSystem, ConditionOfUseMonitoringName);
    };
    const bool defined = !ConditionOfUseMonitoringCode.isEmpty() || !ConditionOfUseMonitoringCodeSystem.isEmpty()
                         || !ConditionOfUseMonitoringName.isEmpty();
    runConditionBuilder(builder, defined, fill,
                        codedValuesLine(QStringLiteral("Monitoring"), ConditionOfUseMonitoringCode,
                                        ConditionOfUseMonitoringCodeSystem, ConditionOfUseMonitoringName),
                        Document);
}

void clsSPL::AddStructuredDataMaximumDose(const QString& NumeratorValue, const QString& NumeratorUnit,
                                          const QString& DenominatorValue, const QString& DenominatorUnit)
{
    static const ConditionBuilder builder{
        QStringLiteral("Start processing Maximum Dose"), QStringLiteral("Maximum Dose not or not correctly defined"),
        QStringLiteral("Maximum Dose template loading failed: "),
        QStringLiteral("Maximum Dose cannot be added cause document is not initialized"),
        QStringLiteral("Adding Maximum Dose failed: "), QStringLiteral("Maximum Dose successfully processed"),
        QStringLiteral("TEMPLATE_STRUCTURED_DATA_MAXIMUM_DOSE.xml"), QString()};
    const auto fill = [&](const xml::Document& fragment) {
        const xml::Node quantity = spl::requiredNode(fragment, QStringLiteral("subject//substanceAdministration//maxDoseQuantity"));
        const xml::Node numerator = spl::requiredNode(quantity, QStringLiteral("numerator"));
        spl::setExistingAttribute(numerator, QStringLiteral("value"), NumeratorValue);
        spl::setExistingAttribute(numerator, QStringLiteral("unit"), NumeratorUnit);
        const xml::Node denominator = spl::requiredNode(quantity, QStringLiteral("denominator"));
        spl::setExistingAttribute(denominator, QStringLiteral("value"), DenominatorValue);
        spl::setExistingAttribute(denominator, QStringLiteral("unit"), DenominatorUnit);
    };
    const bool defined = !NumeratorValue.isEmpty() && !NumeratorUnit.isEmpty() && !DenominatorValue.isEmpty()
                         && !DenominatorUnit.isEmpty();
    runConditionBuilder(builder, defined, fill,
                        QStringLiteral("Maximum Dose: ") + NumeratorValue + QLatin1Char(' ') + NumeratorUnit
                            + QLatin1Char('/') + DenominatorValue + QLatin1Char(' ') + DenominatorUnit,
                        Document);
}

} // namespace veldra
