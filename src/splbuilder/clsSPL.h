#pragma once

#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/NodeList.h"
#include "splbuilder/StructuredDataInput.h"
#include "splbuilder/StructuredRows.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace veldra {

// The SPL section builder. It holds one SPL document made from the label skeleton
// LabelDefinitions/TEMPLATE_SPL.xml of the program folder, takes the content of a label
// section by section (the Word import pours it in), finishes it and saves it; it also codes
// the sections of a settings document by their titles, validates saved SPL files and turns the
// build form's structured data into SPL structured data.
//
// Paths name elements without a prefix and match them in any namespace; elements the builder
// creates carry none (saved, they join the skeleton's SPL namespace).
//
// Titles handed in by reference come back cleaned (control characters dropped, trimmed), so a
// caller keeps the title the document carries. Errors are VbError values naming what is
// missing; the operations that the long jobs run (LOINC codes, id roots, validation) and the
// structured-data builders' moves report theirs in the log instead.
class clsSPL {
public:
    // The document being built; empty until Initialize or OpenDocument. Callers may read,
    // replace or drop it.
    std::optional<xml::Document> Document;
    // The IDs of the subsections added, in order, without duplicates.
    QStringList AddedSubSectionIDs;
    // The section titles of the label, in the order given; a title given again is there again.
    QStringList RememberedSectionTitles;
    // The titles of the top-level sections added for headings the template lacks, in order.
    QStringList AddedSectionTitles;
    // The day that SetUserData writes; tests set a fixed one.
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // True once the user aborted a LOINC code loading of this builder.
    bool LoincLoadingCancelled = false;

    // Section document
    void Initialize(const QString& BoxedWarningTitle);
    void OpenDocument(const QString& TargetFileName);
    void CheckDocumentParseStatus() const;
    void RememberSectionInformation(QString& SectionTitle);
    // Finds the first section (document order) whose title reads SectionTitle in any letter
    // case; with a SubSectionTitle, the first section of that title inside such a section.
    // Only the title element of a section counts, and an empty title matches nothing.
    void GetSectionByTitle(const xml::NodeList& TargetNodes, const QString& SectionTitle,
                           const QString& SubSectionTitle, xml::Node& FoundNode) const;
    bool AddSubSection(QString& SectionTitle, QString& SectionSubTitle);
    // Whether the document has a top-level section of that title (in any letter case).
    bool HasTopLevelSection(const QString& SectionTitle) const;
    // Adds a top-level section for a heading of the label that the template lacks: titled as
    // the heading, coded later by the LOINC pass, ready for text, highlights and subsections.
    void AddSection(QString& SectionTitle);
    // Opens the top-level section a heading of that title fills, which takes the text that
    // follows: the template's; one added for a title the template lacks; or, for a title an
    // earlier heading opened already (a second package label), a section of its own, coded as
    // that earlier one. A heading that names a template section with more words (a typed
    // section number before it, a dash and particulars after it) is a section of its own,
    // titled as the heading and coded as that template section.
    enum class OpenedSection { Template, Added, Repeated, Variant };
    OpenedSection OpenSection(QString& SectionTitle);
    // Retitles the boxed-warning section.
    void TitleBoxedWarning(const QString& BoxedWarningTitle);
    // The ID of every section in document order ("N/A" for a blank one) appended to Target.
    void LoadSectionsSubSections(QStringList& Target) const;
    void RecurseLoadSectionsSubSections(const xml::Node& Node, QStringList& Target) const;

    // Section content
    bool AddSectionText(QString& SectionTitle, QString& SubSectionTitle, const QString& TextType, QString& Text,
                        bool Caption, QString& ParagraphID);
    bool AddSectionExcerpt(QString& SectionTitle, const QString& TextType, QString& Text, bool IsTable,
                           bool ContainsLink);
    void AddSectionImage(QString& SectionTitle, QString& SubSectionTitle, const QString& ImageID,
                         const QString& ImageFileName);

    // Finishing
    void FinalizeSPLR4();
    void RemoveSubSectionTemplateByTitle(const xml::NodeList& TargetNodes, const QString& SectionTitle);
    void RemoveEmptyExcerpts();
    void ProcessIDRoot();
    void RecurseIDRoot(const xml::Node& Node);
    void RemoveUnusedSections(bool Sort);
    void Finalize(const StructuredDataInput& input);

    // LOINC section codes: on the builder's own document when SPLR4Document is null, else on
    // the settings document's label sections. False when the user aborted the loading (the
    // sections not coded by then are coded unclassified).
    bool ProcessLoincCodes(xml::Document* SPLR4Document = nullptr);

    // Saving and schema validation. SaveFile validates what it saved; the document is then,
    // wherever that is provably the same, the tree that reading the file gives (the elements
    // the builder created in the skeleton's namespace), checked without reading the file.
    void SaveFile(const QString& TargetFileName);
    QString ValidateAgainstSchema(const QString& strFile) const;

    // Structured data
    void AddStructuredDataIndications(const StructuredRows& Indications);
    void AddStructuredDataContraIndications(const StructuredRows& ContraIndications);
    void AddStructuredDataDrugInteraction(const StructuredRows& DrugInteraction);
    void AddStructuredDataAdverseReaction(const StructuredRows& AdverseReaction);
    void AddStructuredDataProductDataAndIngredients(
        const StructuredRows& Ingredients, const StructuredRows& Packaging, const QString& ProductTradeName,
        const QString& ProductGenericName, const QString& ProductNCIAdministrativeFormCode,
        const QString& ProductNCIAdministrativeFormName, const QString& ProductNCIAdministrativeRouteCode,
        const QString& ProductNCIAdministrativeRouteName);
    void AddStructuredDataConditionOfUsePatientAge(const QString& ConditionOfUsePatientAgeHigh,
                                                   const QString& ConditionOfUsePatientAgeLow);
    void AddStructuredDataConditionOfUseCoAdministration(const QString& ConditionOfUseCoAdministrationCode,
                                                         const QString& ConditionOfUseCoAdministrationCodeSystem,
                                                         const QString& ConditionOfUseCoAdministrationName);
    void AddStructuredDataConditionOfUseMonitoring(const QString& ConditionOfUseMonitoringCode,
                                                   const QString& ConditionOfUseMonitoringCodeSystem,
                                                   const QString& ConditionOfUseMonitoringName);
    void AddStructuredDataMaximumDose(const QString& NumeratorValue, const QString& NumeratorUnit,
                                      const QString& DenominatorValue, const QString& DenominatorUnit);
    void AddStructuredDataDosageCharacteristics(
        const QString& DEAScheduleCode, const QString& DEAScheduleDisplayName,
        const QString& DosageCharacteristicImprint, const QString& DosageCharacteristicSymbol,
        const QString& DosageCharacteristicCoating, const QString& DosageCharacteristicSize,
        const QString& DosageCharacteristicShapeDisplayName, const QString& DosageCharacteristicNCIShapeCode,
        const QString& DosageCharacteristicShapeOriginalText, const QString& DosageCharacteristicNCIScoreCode,
        const QString& DosageCharacteristicColorDisplayName, const QString& DosageCharacteristicNCIColorCode,
        const QString& DosageCharacteristicColorOriginalText);

    // Document header
    void SetUserData(const QString& SetID, const QString& VersioNumber, const QString& Title,
                     const QString& TitleEffectiveTime, const QString& TitleAvailabiltyTime,
                     const QString& CompanyName, const QString& CompanyAddress,
                     const QString& InitialApprovalCompanyName, const QString& InitialApprovalCompanyAddress,
                     const QString& InitialApprovaYear, const QString& AdverseEffectCompanyName,
                     const QString& LegalAuthenticatorFirstName, const QString& LegalAuthenticatorLastName,
                     const QString& AdverseEffectPhoneNumber, const QString& AdverseEffectWebAddress);

private:
    // The document, or a VbError saying there is none.
    const xml::Document& document() const;
    // The section that content of that section (and subsection) title goes to: the
    // subsection its heading just opened, else inside the top-level section of that title,
    // else the first by GetSectionByTitle.
    xml::Node findSection(const QString& SectionTitle, const QString& SubSectionTitle) const;
    xml::Node topLevelSection(const QString& SectionTitle) const;
    xml::Node templateSectionNamedIn(const QString& SectionTitle) const;
    // Adds a section for the heading, coded as `model`.
    void addSectionCodedAs(QString& SectionTitle, const xml::Node& model);
    xml::Node openedSubSection(const QString& SectionTitle, const QString& SubSectionTitle) const;

    // The subsection that AddSubSection added last.
    xml::Node lastSubSection_;
    // The section that OpenSection opened last, and the titles it opened.
    xml::Node lastSection_;
    QStringList openedSectionTitles_;
};

} // namespace veldra
