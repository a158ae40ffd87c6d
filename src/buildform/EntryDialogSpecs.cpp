#include "buildform/EntryDialogSpecs.h"

#include "app/window/FormLaunchers.h"

namespace veldra::buildform {

namespace {

using K = EntryFieldKind;

// A clinical group: the code and the name side by side, the code system under them with the
// group's "?" button.
std::vector<EntryFieldSpec> codedGroup(int firstRow, const QString& code, const QString& codeLabel, int codeCell,
                                       const QString& name, const QString& nameLabel, int nameCell,
                                       const QString& system, const QString& systemLabel, int systemCell,
                                       const QString& search)
{
    return {{code, K::TextBox, codeLabel, codeCell, firstRow},
            {name, K::TextBox, nameLabel, nameCell, firstRow},
            {system, K::CodeSystemCombo, systemLabel, systemCell, firstRow + 1, search}};
}

std::vector<EntryFieldSpec> joined(std::initializer_list<std::vector<EntryFieldSpec>> parts)
{
    std::vector<EntryFieldSpec> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The two quantity rows shared by packaging and ingredients (cells 3 to 10).
std::vector<EntryFieldSpec> quantityRows(const QString& stem, const QString& numerator, const QString& denominator,
                                         const QString& numeratorSearch, const QString& denominatorSearch)
{
    return {{stem + numerator, K::TextBox, "Quantity Numerator", 3, 1},
            {stem + numerator + "Unit", K::TextBox, "Numerator Unit", 4, 1},
            {stem + numerator + "NCICode", K::TextBox, "NCI Code", 5, 1, numeratorSearch},
            {stem + numerator + "NCIName", K::TextBox, "NCI Name", 6, 1},
            {stem + denominator, K::TextBox, "Quantity Denominator", 7, 2},
            {stem + denominator + "Unit", K::TextBox, "Denominator  Unit", 8, 2},
            {stem + denominator + "NCICode", K::TextBox, "NCI Code", 9, 2, denominatorSearch},
            {stem + denominator + "NCIName", K::TextBox, "NCI Name", 10, 2}};
}

} // namespace

const QStringList& codeSystemNames()
{
    static const QStringList names = conditionOfUseCodeSystems();
    return names;
}

const QStringList& ingredientRoles()
{
    static const QStringList roles{QStringLiteral("Active"), QStringLiteral("Inactive")};
    return roles;
}

const EntryDialogSpec& indicationDialog()
{
    static const EntryDialogSpec spec{
        "frmIndication", "Indication", "Indication", "&Close", {},
        codedGroup(0, "txtIndicationValueCode", "Value Code", 0, "txtIndicationValueName", "Value Name", 1,
                   "cboIndicationValueCodeSystem", "Value Code System", 2, "cmdSearchIndication"),
        3};
    return spec;
}

const EntryDialogSpec& contraIndicationDialog()
{
    static const EntryDialogSpec spec{
        "frmContraIndication", "Contraindication", "Contraindication", "&Close",
        {"Enter the Data for Contraindication below - e.g. Hypersensitivity", {},
         "Enter the Value for Contraindication below - e.g. An Ingredient", {}},
        joined({codedGroup(0, "txtContraIndicationCodeCode", "Code", 0, "txtContraIndicationCodeName", "Name", 2,
                           "cboContraIndicationCodeSystem", "Code System", 1, "cmdSearchContraindication"),
                codedGroup(2, "txtContraIndicationValueCode", "Value Code", 3, "txtContraIndicationValueName",
                           "Value Name", 5, "cboContraIndicationValueCodeSystem", "Value Code System", 4,
                           "CndSearchContraIndicationValueName")}),
        6};
    return spec;
}

const EntryDialogSpec& drugInteractionDialog()
{
    static const EntryDialogSpec spec{
        "frmDrugInteraction", "Drug Interaction", "Drug Interaction", "&Close",
        {"Enter the Interaction Food or Drug below", {}, "Enter the Risk Code below ", {},
         "Enter the Risk Value below", {}},
        joined({codedGroup(0, "txtInteractionCode", "Code", 0, "txtInteractionName", "Name", 2,
                           "cboInteractionCodeSystem", "Code System", 1, "cmdSearchFoodOrDrug"),
                codedGroup(2, "txtRiskCodeCode", "Risk Code", 3, "txtRiskCodeName", "Risk Code Name", 5,
                           "cboRiskCodeSystem", "Risk Code System", 4, "cmdSearchRisk"),
                codedGroup(4, "txtRiskValueCode", "Risk Value Code", 6, "txtRiskValueName", "Risk Value Name", 8,
                           "cboRiskValueCodeSystem", "Risk Value Code System", 7, "cmdSearchRiskValue")}),
        9};
    return spec;
}

const EntryDialogSpec& adverseReactionDialog()
{
    static const EntryDialogSpec spec{
        "frmAdverseReaction", "Adverse Reaction", "Adverse Reaction", "&Close",
        {"Enter the Risk Code below ", {}, "Enter the Risk Value below", {}},
        joined({codedGroup(0, "txtRiskCodeCode", "Risk Code", 0, "txtRiskCodeName", "Risk Code Name", 2,
                           "cboRiskCodeSystem", "Risk Code System", 1, "cmdSearchRiskCodeName"),
                codedGroup(2, "txtRiskValueCode", "Risk Value Code", 3, "txtRiskValueName", "Risk Value Name", 5,
                           "cboRiskValueCodeSystem", "Risk Value Code System", 4, "cmdSearchRiskValueName")}),
        6};
    return spec;
}

const EntryDialogSpec& packagingDialog()
{
    static const EntryDialogSpec spec{
        "frmPackaging", "Product Packaging", "Packaging", "Close", {},
        joined({{{"txtProductPackagingNDCContainerCode", K::TextBox, "NDC Container Code", 0, 0},
                 {"txtProductPackagingNCIContainerCode", K::TextBox, "NCI Container Code", 1, 0,
                  "cmdSearchProductPackagingNCIContainerName"},
                 {"txtProductPackagingNCIContainerName", K::TextBox, "NCI Container Name", 2, 0}},
                quantityRows("txtPackaging", "QuantityNumerator", "Denominator",
                             "cmdSearchPackagingQuantityNumeratorNCICode", "cmdSearchPackagingDenominatorNCICode")}),
        11};
    return spec;
}

const EntryDialogSpec& ingredientDialog()
{
    static const EntryDialogSpec spec{
        "frmIngredients", "Active/Inactive Ingredient", "Ingredient", "Close", {},
        joined({{{"txtIngredientName", K::TextBox, "Ingredient Substance Name", 0, 0},
                 {"txtIngredientFDASRSCode", K::TextBox, "FDA SRS Code (UNII)", 1, 0, "cmdSearchUNII"},
                 {"cboIngredientRole", K::RoleCombo, "Role", 2, 0}},
                quantityRows("txtIngredient", "QuantityNumerator", "Denominator", "cmdSearchNCINumerator",
                             "cmdSearchNCIDenominator")}),
        11};
    return spec;
}

} // namespace veldra::buildform
