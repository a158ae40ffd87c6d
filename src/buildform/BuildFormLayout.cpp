#include "buildform/BuildFormLayout.h"

namespace veldra::buildform {

namespace {

const QString search = QStringLiteral("?");
const QStringList trueFalse{QStringLiteral("true"), QStringLiteral("false")};

ListSpec listSpec(QString name, int page, QString group, QString groupCaption, QStringList headers,
                  QString stem, QString addButton, QString addTip, QString removeButton, QString removeTip,
                  QString resetButton, QString resetTip, const QString& one, const QString& all)
{
    return {std::move(name), page, std::move(group), std::move(groupCaption), std::move(headers),
            std::move(addButton), std::move(addTip),
            QStringLiteral("cmd%1MoveUp").arg(stem), QStringLiteral("cmd%1MoveDown").arg(stem),
            std::move(removeButton), std::move(removeTip), std::move(resetButton), std::move(resetTip),
            QStringLiteral("Are you sure you want to remove the selected %1?").arg(one),
            QStringLiteral("Are you sure you want to reset %1?").arg(all)};
}

std::vector<FieldSpec> makeFields()
{
    using K = ControlKind;
    const QString header = QStringLiteral("FrameHeaderSettings");
    const QString safety = QStringLiteral("FrameDrugSafety");
    const QString approval = QStringLiteral("FrameInitialApproval");
    const QString product = QStringLiteral("frameProductData");
    const QString dosage = QStringLiteral("FrameDosageCharacteristics");
    const QString dose = QStringLiteral("FrameMaximumDose");
    const QString use = QStringLiteral("FrameConditionsOfUse");
    const QString io = QStringLiteral("FrameFileIO");
    const QString word = QStringLiteral("FrameMSWordSections");
    return {
        {1, header, 0, "txtTitle", K::TextBox, "Title (Product Name - Short Description)"},
        {1, header, 1, "txtTitleEffectiveTime", K::TextBox, "Effective Time (YYYYMM)"},
        {1, header, 1, "txtTitleAvailabiltyTime", K::TextBox, "Availability Time (YYYYMM)"},
        {1, header, 2, "txtCompanyName", K::TextBox, "Company Name"},
        {1, header, 3, "txtCompanyAddress", K::TextBox, "Company Address"},
        {1, safety, 0, "txtAdverseEffectCompanyName", K::TextBox, "Company Name"},
        {1, safety, 1, "txtLegalAuthenticatorFirstName", K::TextBox, "Legal Authenticator First Name"},
        {1, safety, 1, "txtLegalAuthenticatorLastName", K::TextBox, "Last Name"},
        {1, safety, 2, "txtAdverseEffectPhoneNumber", K::TextBox, "Phone Number (e.g. tel:+1-800-555-0100)"},
        {1, safety, 3, "txtAdverseEffectWebAddress", K::TextBox, "Web Address (e.g. www.example.com/safety)"},
        {1, approval, 0, "txtInitialApprovalCompanyName", K::TextBox, "Company Name"},
        {1, approval, 0, "txtInitialApprovalCompanyAddress", K::TextBox, "Company Address"},
        {1, approval, 0, "txtInitialApprovaYear", K::TextBox, "Year (e.g. 2006)"},

        {2, product, 0, "txtProductTradeName", K::TextBox, "Trade Name"},
        {2, product, 0, "txtProductGenericName", K::TextBox, "Generic Name"},
        // A label without a buddy shows "&&" as it is, so one "&" stands for the ampersand.
        {2, product, 1, "txtProductNCIAdministrativeFormCode", K::TextBox,
         "Administrative Form Code & Name (NCI Thesaurs)"},
        {2, product, 1, "txtProductNCIAdministrativeFormName", K::TextBox, "", "cmdSearchAdministrativeFormCode", search},
        {2, product, 1, "txtProductNCIAdministrativeRouteCode", K::TextBox,
         "Administrative Route Code & Name (NCI Thesaurs)"},
        {2, product, 1, "txtProductNCIAdministrativeRouteName", K::TextBox, "", "cmdSearchAdministrativeRouteCode", search},

        {3, dosage, 0, "txtDEAScheduleCode", K::TextBox, "DEA Schedule Code and Display Name (if applicable)"},
        {3, dosage, 0, "txtDEAScheduleDisplayName", K::TextBox, "", "cmdSearchDEAScheduleCode", search},
        {3, dosage, 1, "txtDosageCharacteristicNCIColorCode", K::TextBox, "NCI Color Code"},
        {3, dosage, 1, "txtDosageCharacteristicColorDisplayName", K::TextBox, "Color Display Name"},
        {3, dosage, 1, "txtDosageCharacteristicColorOriginalText", K::TextBox, "Color Descriptive Text",
         "cmdSearchColorCode", search},
        {3, dosage, 2, "txtDosageCharacteristicNCIShapeCode", K::TextBox, "NCI Shape Code"},
        {3, dosage, 2, "txtDosageCharacteristicShapeDisplayName", K::TextBox, "Shape Display Name"},
        {3, dosage, 2, "txtDosageCharacteristicShapeOriginalText", K::TextBox, "Shape Descriptive Text",
         "cmdSearchShapeCode", search},
        {3, dosage, 3, "cboDosageCharacteristicSymbol", K::ComboBox, "Symbol", {}, {}, trueFalse},
        {3, dosage, 3, "txtDosageCharacteristicNCIScoreCode", K::TextBox, "Score"},
        {3, dosage, 3, "txtDosageCharacteristicImprint", K::TextBox, "Imprint"},
        {3, dosage, 3, "txtDosageCharacteristicSize", K::TextBox, "Size in Millimeters"},
        {3, dosage, 3, "cboDosageCharacteristicCoating", K::ComboBox, "Coating", {}, {}, trueFalse},

        {6, dose, 0, "txtMaxDoseNumeratorValue", K::TextBox, "Dose (e.g 1000)"},
        {6, dose, 1, "txtMaxDoseNumeratorUnit", K::TextBox, "Dose Unit (e.g. mg, IU)"},
        {6, dose, 2, "txtMaxDoseDenominatorValue", K::TextBox, "Time (e.g. 24)"},
        {6, dose, 3, "txtMaxDoseDenominatorUnit", K::TextBox, "Time Unit (e.g. h)"},
        {6, use, 0, "txtConditionOfUsePatientAgeLow", K::TextBox, "Patient Age From"},
        {6, use, 0, "txtConditionOfUsePatientAgeHigh", K::TextBox, "Patient Age To"},
        {6, use, 1, "txtConditionOfUseCoAdministrationCode", K::TextBox, "Co-Administration Code"},
        {6, use, 1, "txtConditionOfUseCoAdministrationName", K::TextBox, "Co-Administration Name"},
        {6, use, 2, "cboConditionOfUseCoAdministrationCodeSystem", K::ComboBox, "Co-Administration Code System",
         "cmdSearchConditionOfUseCoAdministrationCode", search},
        {6, use, 3, "txtConditionOfUseMonitoringCode", K::TextBox, "Monitoring Code"},
        {6, use, 3, "txtConditionOfUseMonitoringName", K::TextBox, "Monitoring Name"},
        {6, use, 4, "cboConditionOfUseMonitoringCodeSystem", K::ComboBox, "Monitoring Code System",
         "cmdSearchConditionOfUseMonitoringCode", search},

        {7, word, 0, "txtExcerptHeaderStyle", K::TextBox, "Excerpt and Warning Header Style", {}, {}, {}, "Title 1"},
        {7, word, 0, "txtSectionStyle", K::TextBox, "Section Header Style", {}, {}, {}, "Heading 1"},
        {7, word, 0, "txtSubSectionStyle", K::TextBox, "Sub-Section Header Style", {}, {}, {}, "Heading 2"},
        {7, word, 1, "txtCheckChars", K::TextBox,
         "Check if following Characters are contained in processed Text (Blank separated List)"},
        {7, word, 2, "chkIgnoreTableCellBorders", K::CheckBox, "Ignore Word Table Cell Borders"},
        {7, word, 2, "chkCheckCrossReferences", K::CheckBox, "Process Cross References"},
        {7, word, 2, "chkCheckSubscriptSuperScript", K::CheckBox, "Process Sub- and Superscripts"},
        {7, io, 0, "txtSourceFileName", K::TextBox, "Source Document", "cmdBrowseSourceDocument", "..."},
        {7, io, 1, "txtVersionNumber", K::TextBox, "Version Number"},
        {7, io, 2, "txtSetID", K::TextBox,
         "Set ID - Unique identifier for the document that remains constant through all versions/revisions",
         "cmdGenerateSetID", "Generate"},
        {7, io, 3, "txtTargetFolder", K::TextBox, "Target SPL Folder", "cmdBrowseFolder", "..."},
        {7, io, 4, "chkSPLOutputBoxedWarning", K::CheckBox, "Output Boxed Warning"},
        {7, io, 5, "chkAddLOINCCodes", K::CheckBox, "Add LOINC Codes to Subsections"},

        {0, {}, 0, "chkTestBuild", K::CheckBox, "Test Build (Does not Process Word Document, but Structured Data)"},
    };
}

std::vector<ListSpec> makeLists()
{
    const QString up = QStringLiteral("Move Up");
    return {
        listSpec("ListProductIngredients", 2, "FrameProductIngredients", "Ingredients",
                 {"Substance Name", "FDA SRS Code (UNII)", "Role", "Qty Numerator", "Numerator Unit", "NCI Code",
                  "NCI Name", "Qty Denominator", "Denominator Unit", "NCI Code", "NCI Name"},
                 "Ingredients", "cmdAddIngredient", "Add Ingredient", "cmdRemoveIngredient", "Remove Ingredient",
                 "cmdResetIngredient", "Clear Ingredients", "ingredient", "ingredients"),
        listSpec("ListProductPackaging", 2, "FrameProductPackaging", "Packaging",
                 {"NDC Container Code", "NCI Container Code", "NCI Container Name", "Qty Numerator", "Numerator Unit",
                  "NCI Code", "NCI Name", "Qty Denumerator", "Denumerator Unit", "NCI Code", "NCI Name"},
                 "Packaging", "cmdAddProductPackaging", "Add Packaging", "cmdRemoveProductPackaging",
                 "Remove Packaging", "cmdResetProductPackaging", "Reset Packaging", "packaging", "packaging"),
        listSpec("ListIndications", 4, "FrameIndications", "Indications", {"Code", "Name", "Code System"},
                 "Indications", "cmdAddIndication", "Add Indication", "cmdRemoveIndication", "Remove Indication",
                 "cmdResetIndication", "Clear Indications", "indication", "indications"),
        listSpec("ListContraIndications", 4, "frameContraIndications", "Contraindications - Limitation of Usage",
                 {"Code", "System", "Name", "Value Code", "Value Code System", "Value Code Name"},
                 "ContraIndications", "cmdAddContraindication", "Add Contraindication", "cmdRemoveContraindication",
                 "Remove Contraindication", "cmdClearContraindication", "Clear Contraindications", "contraindication",
                 "contraindications"),
        listSpec("ListDrugInteractions", 5, "frameDrugInteraction", "Drug Interactions",
                 {"Interaction Code", "Interaction System", "Interaction Name", "Risk Code", "Risk Code System",
                  "Risk Code Name", "Risk Value Code", "Risk Value Code System", "Risk Value Name"},
                 "DrugInteractions", "cmdAddDrugInteraction", "Add Drug Interaction", "cmdRemoveDrugInteraction",
                 "Remove Drug Interaction", "cmdResetDrugInteraction", "Clear Drug Interactions", "drug interaction",
                 "drug interactions"),
        listSpec("ListAdverseReactions", 5, "FrameAdverseReactions", "Adverse Reactions",
                 {"Risk Code", "Risk Code System", "Risk Code Name", "Risk Value Code", "Risk Value Code System",
                  "Risk Value Name"},
                 "AdverseReactions", "cmdAddAdverseReaction", "Add Adverse Reaction", "cmdRemoveAdverseReaction",
                 "Clear Adverse Reaction", "cmdResetAdverseReaction", "Clear Adverse Reactions", "adverse reaction",
                 "adverse reactions"),
    };
}

} // namespace

const std::vector<PageSpec>& pages()
{
    static const std::vector<PageSpec> table{
        {"General", "FrameGeneralInformation", "General Information"},
        {"Product Data / Ingredients", "FrameProduct", "Product Trade Name, Generic Name, Ingredients"},
        {"DEA Schedule/ Oral Dosage Characteristics", "FrameDosageCharacteristics",
         "DEA Schedule/ Dosage Charachteristics (Oral Form Only)"},
        {"Indications/Contraindications", "FrameIndicationsContraIndications", "Indications and Contraindications"},
        {"Drug Interactions/Adverse Effects", "FrameDrugInteractionsAdverseReactions",
         "DrugInteractions / AdverseReactions"},
        {"Maximum Dose/Conditions of Use", "FrameMaximumDoseConditionsOfUse", "Maximum Dose/ Conditions of Use"},
        {"Input and Ouput", "FrameInputOutput", "Input and Ouput"},
    };
    return table;
}

const std::vector<GroupSpec>& groups()
{
    // Page 3 has no group of its own: its rows stand on the page frame.
    static const std::vector<GroupSpec> table{
        {1, "FrameHeaderSettings", "Product, Title, Company and Author Information"},
        {1, "FrameDrugSafety", "Drug Safety - for reporting suspected drug adverse reactions"},
        {1, "FrameInitialApproval", "Initial Approval"},
        {2, "frameProductData", "Product Data"},
        {3, "FrameDosageCharacteristics", {}},
        {6, "FrameConditionsOfUse", "Conditions of Use"},
        {6, "FrameMaximumDose", "Maximum Dose"},
        {7, "FrameMSWordSections", "MS Word Sections"},
        {7, "FrameFileIO", "File Input/Output"},
    };
    return table;
}

const std::vector<FieldSpec>& fields()
{
    static const std::vector<FieldSpec> table = makeFields();
    return table;
}

const std::vector<ListSpec>& lists()
{
    static const std::vector<ListSpec> table = makeLists();
    return table;
}

const ListSpec* findList(const QString& name)
{
    for (const ListSpec& list : lists())
        if (list.name == name)
            return &list;
    return nullptr;
}

const std::vector<ControlEntry>& controlOrder()
{
    static const std::vector<ControlEntry> order = [] {
        std::vector<ControlEntry> entries;
        for (const FieldSpec& field : fields())
            entries.push_back({field.name, field.kind});
        for (const ListSpec& list : lists())
            entries.push_back({list.name, ControlKind::ListView});
        return entries;
    }();
    return order;
}

} // namespace veldra::buildform
