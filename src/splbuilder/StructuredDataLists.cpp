#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "splbuilder/SplNodes.h"
#include "splbuilder/StructuredDataFrame.h"

namespace veldra {

namespace {

// One attribute a row writes into its unit: the element's path from the unit, the
// attribute, and the cell it takes (through CodeSystemOID for a code-system cell).
struct CellWrite {
    QString path;
    QString attribute;
    int cell;
    bool codeSystem = false;
};

// What makes one list builder: its texts, fragment, the order of the cells in its row line,
// its cell mapping, its target section and the inner subjects that travel with their unit.
struct ListBuilder {
    QString start, none, loadFailure, rowLabel, notInitialized, success, moveFailure;
    QString file;
    QList<int> logCells;
    QList<CellWrite> writes;
    QString sectionId;
    QString innerSubjectChild;
};

// Where the units go: the highlight of the target section's first excerpt.
QStringList excerptHighlight()
{
    return {QStringLiteral("excerpt"), QStringLiteral("highlight")};
}

QList<CellWrite> codeTriple(const QString& path, int firstCell)
{
    return {{path, QStringLiteral("code"), firstCell}, {path, QStringLiteral("codeSystem"), firstCell + 1, true},
            {path, QStringLiteral("displayName"), firstCell + 2}};
}

QString rowLine(const StructuredRow& row, const QList<int>& cells)
{
    QStringList texts;
    for (int cell : cells)
        texts << cellText(row, cell);
    return texts.join(QLatin1Char('-'));
}

void fillUnit(const xml::Node& unit, const StructuredRow& row, const QList<CellWrite>& writes)
{
    for (const CellWrite& write : writes) {
        const QString value = cellText(row, write.cell);
        spl::setExistingAttribute(spl::requiredNode(unit, write.path), write.attribute,
                                  write.codeSystem ? CodeSystemOID(value) : value);
    }
}

bool travelsWithItsUnit(const xml::Node& subject, const QString& innerSubjectChild)
{
    const xml::Node first = subject.firstChild();
    return !innerSubjectChild.isEmpty() && first && first.localName() == innerSubjectChild;
}

void runListBuilder(const ListBuilder& builder, const StructuredRows& rows, const std::optional<xml::Document>& target)
{
    spl::openBuilderLog(builder.start);
    if (rows.isEmpty()) {
        WriteLog(log_category::Warning, builder.none);
        return;
    }
    const std::optional<xml::Document> fragment = spl::loadFragment(builder.file, builder.loadFailure);
    if (!fragment)
        return;
    const xml::Node templateRoot = spl::requiredNode(*fragment, QStringLiteral("TEMPLATE"));
    const QString unitPath = QStringLiteral("TEMPLATE//subject");
    xml::Node unit = spl::requiredNode(*fragment, unitPath);
    const qsizetype count = rows.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            unit = spl::requiredNode(*fragment, unitPath).cloneNode(true);
        WriteLog(log_category::Processing, builder.rowLabel + rowLine(rows.at(i), builder.logCells));
        fillUnit(unit, rows.at(i), builder.writes);
        if (i > 0)
            templateRoot.appendChild(unit);
    }
    if (!target) {
        WriteLog(log_category::Warning, builder.notInitialized);
        return;
    }
    spl::MovePhase moves;
    xml::Node highlight;
    for (const xml::Node& subject : fragment->selectNodes(unitPath)) {
        if (travelsWithItsUnit(subject, builder.innerSubjectChild))
            continue;
        moves.attempt([&] {
            if (!highlight)
                highlight = spl::requiredSectionPart(*target, builder.sectionId, excerptHighlight());
            highlight.appendChild(subject);
        });
    }
    moves.report(builder.moveFailure, builder.success);
}

const ListBuilder& indications()
{
    static const ListBuilder builder{
        QStringLiteral("Start processing Indications"), QStringLiteral("No Indications defined"),
        QStringLiteral("Indication template loading failed: "), QStringLiteral("Indication: "),
        QStringLiteral("Indications cannot be added cause document is not initialized"),
        QStringLiteral("Indications successfully processed"), QStringLiteral("Adding Indications failed: "),
        QStringLiteral("TEMPLATE_STRUCTURED_DATA_INDICATIONS.xml"), {0, 2, 1},
        {{QStringLiteral("substanceAdministration//reason//indicationObservationCriterion//value"), QStringLiteral("code"), 0},
         {QStringLiteral("substanceAdministration//reason//indicationObservationCriterion//value"), QStringLiteral("displayName"), 1},
         {QStringLiteral("substanceAdministration//reason//indicationObservationCriterion//value"), QStringLiteral("codeSystem"), 2, true}},
        QStringLiteral("INDICATIONS-AND-USAGE"), QString()};
    return builder;
}

const ListBuilder& contraindications()
{
    const QString criterion = QStringLiteral("substanceAdministration//subjectOf//issue//subject//observationCriterion//");
    static const ListBuilder builder{
        QStringLiteral("Start processing Contraindications"), QStringLiteral("No Contraindications defined"),
        QStringLiteral("Contraindication template loading failed: "), QStringLiteral("Contraindication: "),
        QStringLiteral("Contraindications cannot be added cause document is not initialized"),
        QStringLiteral("Contraindications successfully processed"), QStringLiteral("Adding Contraindications failed: "),
        QStringLiteral("TEMPLATE_STRUCTURED_DATA_CONTRAINDICATIONS.xml"), {0, 1, 2, 3, 4, 5},
        codeTriple(criterion + QStringLiteral("code"), 0) + codeTriple(criterion + QStringLiteral("value"), 3),
        QStringLiteral("CONTRAINDICATIONS"), QStringLiteral("observationCriterion")};
    return builder;
}

const QString riskObservation = QStringLiteral("substanceAdministration//subjectOf//issue//risk//consequenceObservation//");

const ListBuilder& drugInteractions()
{
    static const ListBuilder builder{
        QStringLiteral("Start processing Drug Interactions"), QStringLiteral("No Drug Interactions defined"),
        QStringLiteral("Drug interaction template loading failed: "), QStringLiteral("Drug Interaction: "),
        QStringLiteral("Drug interactions cannot be added cause document is not initialized"),
        QStringLiteral("Drug Drug Interactions successfully processed"), QStringLiteral("Adding Drug Interactions failed: "),
        QStringLiteral("TEMPLATE_STRUCTURED_DATA_DRUG_INTERACTIONS.xml"), {0, 1, 2, 3, 4, 5, 6, 7, 8},
        codeTriple(QStringLiteral("substanceAdministration//subjectOf//issue//subject//substanceAdministrationCriterion//"
                                  "consumable//administrableMaterial//administrableMaterialKind//code"),
                   0)
            + codeTriple(riskObservation + QStringLiteral("code"), 3) + codeTriple(riskObservation + QStringLiteral("value"), 6),
        QStringLiteral("DRUG-INTERACTIONS"), QStringLiteral("substanceAdministrationCriterion")};
    return builder;
}

const ListBuilder& adverseReactions()
{
    static const ListBuilder builder{
        QStringLiteral("Start processing Adverse reactions"), QStringLiteral("No Adverse Reactions defined"),
        QStringLiteral("Adverse Reaction template loading failed: "), QStringLiteral("Adverse Reaction: "),
        QStringLiteral("Adverse Reactions cannot be added cause document is not initialized"),
        QStringLiteral("Adverse Reactions successfully processed"), QStringLiteral("Adding Adverse Reactions failed: "),
        QStringLiteral("TEMPLATE_STRUCTURED_DATA_ADVERSE_REACTIONS.xml"), {0, 1, 2, 3, 4, 5},
        codeTriple(riskObservation + QStringLiteral("code"), 0) + codeTriple(riskObservation + QStringLiteral("value"), 3),
        QStringLiteral("ADVERSE-REACTIONS"), QString()};
    return builder;
}

} // namespace

void clsSPL::AddStructuredDataIndications(const StructuredRows& Indications)
{
    runListBuilder(indications(), Indications, Document);
}

void clsSPL::AddStructuredDataContraIndications(const StructuredRows& ContraIndications)
{
    runListBuilder(contraindications(), ContraIndications, Document);
}

void clsSPL::AddStructuredDataDrugInteraction(const StructuredRows& DrugInteraction)
{
    runListBuilder(drugInteractions(), DrugInteraction, Document);
}

void clsSPL::AddStructuredDataAdverseReaction(const StructuredRows& AdverseReaction)
{
    runListBuilder(adverseReactions(), AdverseReaction, Document);
}

} // namespace veldra
