// A wizard opened again shows what the document holds where it writes, as the tree does.
#include "DialogTestSupport.h"

#include "app/Hooks.h"
#include "app/window/frmMain.h"
#include "dialogs/InstallDialogHooks.h"
#include "dialogs/WizardDefinitions.h"
#include "dialogs/frmWizard.h"
#include "dialogs/modWizard.h"
#include "platform/xml/tree/Document.h"

#include <QAction>
#include <QHash>
#include <QPushButton>

using namespace veldra;

namespace {

using Held = QList<std::pair<QString, QString>>;  // path, text

class WizardHeldValues : public test::DialogFixture {
protected:
    WizardHeldValues()
    {
        installDialogHooks();
        LoadWizardMenu();
    }
    ~WizardHeldValues() override { hooks() = savedHooks; }

    // The wizard as the Wizards menu opens it over a new document holding `held`; null if it
    // does not open.
    frmWizard* openOverNew(const QString& name, const Held& held)
    {
        editor = newSettings();
        if (!editor->XMLDoc)
            return nullptr;
        for (const auto& [path, text] : held)
            editor->XMLDoc->selectSingleNode(path).setText(text);
        return openAgain(name);
    }

    frmWizard* openAgain(const QString& name)
    {
        main.SourceXMLEditor = editor;
        for (QAction* item : main.mnuWizard)
            if (item->text() == name)
                item->trigger();
        const QList<frmWizard*> open = test::openWindows<frmWizard>();
        return open.size() == 1 ? open.front() : nullptr;
    }

    Hooks savedHooks = hooks();
    frmMain main;
    frmXMLEditor* editor = nullptr;
};

} // namespace

// Every field of every shipped wizard: a value applied and the wizard closed, the wizard
// opened again shows it; a generated id and a value proposed anew show their offer again.
TEST_F(WizardHeldValues, EveryFieldShowsWhatWasAppliedWhenOpenedAgain)
{
    const QHash<QString, QString> applied{
        {"VersionNumber", "7"}, {"EffectiveTime", "20240115"}, {"File", dir.file("label.docx")},
        {"ImageTargetFolder", dir.file("pictures")}, {"SectionStyle", "Heading 3"}, {"SubSectionStyle", "Heading 4"},
        {"ExcerptStyle", "Highlights"}, {"ExtractImages", "No"}, {"ProcessCrossReferences", "No"},
        {"IgnoreWordTableCellBorders", "Yes"}, {"SectionNumberingFromWord", "Yes"}, {"LoadDocumentTitle", "No"},
        {"LabelerName", "Acme Labs"}, {"LabelerDUNSNumber", "829076962"}, {"LabelerCode", "0071"},
        {"ContactPersonName", "Jane Roe"}, {"StreetAddressLine", "1 Main St"}, {"City", "Springfield"},
        {"State", "IL"}, {"PostalCode", "62701"}, {"CountryCode", "CAN"}, {"Telephone", "+1-217-555-0100"},
        {"Email", "regulatory@example.com"}, {"FolderNumber", "002"}, {"GUID", "typed over"}};
    const QHash<QString, QString> offeredAgain{
        {"New Document Version/GUID", "A new Document ID is made on Apply"},
        {"New Document Set/GUID", "New ids are made on Apply"},
        {"New Document Set/VersionNumber", "1"}};
    xml::Document wizards;
    ASSERT_TRUE(wizards.load(wizardDefinitionsFile()));

    for (const QString& name : enabledWizardNames(wizards)) {
        SCOPED_TRACE(name.toStdString());
        frmWizard* wizard = openOverNew(name, {{"SPLR4/ProductLabel/WordDocument/ImageTargetFolder", dir.file("images001")}});
        ASSERT_NE(wizard, nullptr);
        for (const FieldRow& row : wizard->rows()) {
            ASSERT_TRUE(applied.contains(row.name)) << row.name.toStdString() << " has no row in the table";
            FieldRowDialog::setFieldText(row.field, applied.value(row.name));
        }
        wizard->cmdOK->click();
        EXPECT_TRUE(ui.messages.isEmpty()) << messageTexts().join('\n').toStdString();
        wizard->cmdCancel->click();
        test::flushDeletes();

        wizard = openAgain(name);
        ASSERT_NE(wizard, nullptr);
        for (const FieldRow& row : wizard->rows())
            EXPECT_EQ(FieldRowDialog::fieldValue(row), offeredAgain.value(name + '/' + row.name, applied.value(row.name)))
                << row.name.toStdString();
        test::closeAllDialogs();
    }
}

// Where a field's places hold different values it opens empty, and Apply leaves each as it
// is; where they hold nothing it offers its default; a folder's number is read only from a
// path longer than the number.
TEST_F(WizardHeldValues, FieldsWhosePlacesDisagreeOrHoldNothing)
{
    const QString version = "SPLR4/GeneralData/EffectiveTime", options = "SPLR4/ProductLabel/WordDocument/EffectiveTime",
                  section = "SPLR4/ProductLabel/DocumentSections/Section/EffectiveTime",
                  folder = "SPLR4/ProductLabel/WordDocument/ImageTargetFolder",
                  style = "SPLR4/ProductLabel/WordDocument/SectionStyle";
    const struct {
        QString wizard, field;
        Held held;
        QString shown;
    } rows[] = {
        {"New Document Version", "EffectiveTime", {{version, "20240101"}, {options, "20240101"}, {section, "20240101"}}, "20240101"},
        {"New Document Version", "EffectiveTime", {{version, "20240101"}, {options, "20240101"}, {section, "20240202"}}, ""},
        {"New Document Version", "EffectiveTime", {{version, "20240101"}, {options, "20240101"}, {section, ""}}, ""},
        {"Word Import Options", "SectionStyle", {{style, ""}}, "Heading 1"},
        {"Image Folder Number", "FolderNumber", {{folder, "007"}}, "001"},
        {"Image Folder Number", "FolderNumber", {{folder, "a007"}}, "007"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE((row.wizard + ' ' + row.held.last().second).toStdString());
        frmWizard* wizard = openOverNew(row.wizard, row.held);
        ASSERT_NE(wizard, nullptr);
        const FieldRow* field = wizard->row(row.field);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(FieldRowDialog::fieldValue(*field), row.shown);

        if (row.shown.isEmpty()) {
            wizard->cmdOK->click();
            for (const auto& [path, text] : row.held)
                EXPECT_EQ(texts(editor, path), QStringList{text}) << path.toStdString();
        }
        test::closeAllDialogs();
    }
}
