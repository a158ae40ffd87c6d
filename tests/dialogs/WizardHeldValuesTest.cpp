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
using test::flushDeletes;
using test::openWindows;

namespace {

class WizardHeldValues : public test::DialogFixture {
protected:
    WizardHeldValues()
    {
        installDialogHooks();
        LoadWizardMenu();
    }
    ~WizardHeldValues() override { hooks() = savedHooks; }

    // The wizard as the Wizards menu opens it over `editor`.
    frmWizard* openFromMenu(frmXMLEditor* editor, const QString& name)
    {
        main.SourceXMLEditor = editor;
        for (QAction* item : main.mnuWizard)
            if (item->text() == name)
                item->trigger();
        const QList<frmWizard*> open = openWindows<frmWizard>();
        return open.size() == 1 ? open.front() : nullptr;
    }

    static QHash<QString, QString> shown(const frmWizard& wizard)
    {
        QHash<QString, QString> values;
        for (const FieldRow& row : wizard.rows())
            values.insert(row.name, FieldRowDialog::fieldValue(row));
        return values;
    }

    Hooks savedHooks = hooks();
    frmMain main;
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
    // Offered afresh at every opening, whatever was applied.
    const QHash<QString, QString> offeredAgain{
        {"New Document Version/GUID", "A new Document ID is made on Apply"},
        {"New Document Set/GUID", "New ids are made on Apply"},
        {"New Document Set/VersionNumber", "1"}};
    xml::Document wizards;
    ASSERT_TRUE(wizards.load(wizardDefinitionsFile()));

    for (const QString& name : enabledWizardNames(wizards)) {
        SCOPED_TRACE(name.toStdString());
        frmXMLEditor* editor = newSettings();
        ASSERT_NE(editor->XMLDoc, nullptr);
        editor->XMLDoc->selectSingleNode("SPLR4/ProductLabel/WordDocument/ImageTargetFolder").setText(dir.file("images001"));
        frmWizard* wizard = openFromMenu(editor, name);
        ASSERT_NE(wizard, nullptr);
        for (const FieldRow& row : wizard->rows()) {
            ASSERT_TRUE(applied.contains(row.name)) << row.name.toStdString() << " has no row in the table";
            FieldRowDialog::setFieldText(row.field, applied.value(row.name));
        }
        wizard->cmdOK->click();
        EXPECT_TRUE(ui.messages.isEmpty()) << messageTexts().join('\n').toStdString();
        wizard->cmdCancel->click();
        flushDeletes();

        wizard = openFromMenu(editor, name);
        ASSERT_NE(wizard, nullptr);
        for (const auto& [field, value] : shown(*wizard).asKeyValueRange())
            EXPECT_EQ(value, offeredAgain.value(name + '/' + field, applied.value(field))) << field.toStdString();
        wizard->cmdCancel->click();
        flushDeletes();
    }
}

// Where a field's places hold different values it opens empty, and Apply leaves each as it
// is; where they hold nothing it offers its default; a folder's number is read only from a
// path longer than the number.
TEST_F(WizardHeldValues, FieldsWhosePlacesDisagreeOrHoldNothing)
{
    struct Row {
        const char* wizard;
        const char* field;
        QList<std::pair<const char*, const char*>> held;  // path, text
        const char* shown;
    };
    const char* version = "SPLR4/GeneralData/EffectiveTime";
    const char* options = "SPLR4/ProductLabel/WordDocument/EffectiveTime";
    const char* section = "SPLR4/ProductLabel/DocumentSections/Section/EffectiveTime";
    const char* folder = "SPLR4/ProductLabel/WordDocument/ImageTargetFolder";
    const char* style = "SPLR4/ProductLabel/WordDocument/SectionStyle";
    const Row rows[] = {
        {"New Document Version", "EffectiveTime", {{version, "20240101"}, {options, "20240101"}, {section, "20240101"}}, "20240101"},
        {"New Document Version", "EffectiveTime", {{version, "20240101"}, {options, "20240101"}, {section, "20240202"}}, ""},
        {"New Document Version", "EffectiveTime", {{version, "20240101"}, {options, "20240101"}, {section, ""}}, ""},
        {"Word Import Options", "SectionStyle", {{style, ""}}, "Heading 1"},
        {"Image Folder Number", "FolderNumber", {{folder, "007"}}, "001"},
        {"Image Folder Number", "FolderNumber", {{folder, "a007"}}, "007"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.wizard) + " " + row.held.last().second);
        frmXMLEditor* editor = newSettings();
        ASSERT_NE(editor->XMLDoc, nullptr);
        for (const auto& [path, text] : row.held)
            editor->XMLDoc->selectSingleNode(QLatin1String(path)).setText(QLatin1String(text));
        frmWizard* wizard = openFromMenu(editor, QLatin1String(row.wizard));
        ASSERT_NE(wizard, nullptr);
        EXPECT_EQ(shown(*wizard).value(QLatin1String(row.field)), QLatin1String(row.shown));

        if (QLatin1String(row.shown).isEmpty()) {
            wizard->cmdOK->click();
            for (const auto& [path, text] : row.held)
                EXPECT_EQ(texts(editor, QLatin1String(path)), QStringList{QLatin1String(text)}) << path;
        }
        wizard->cmdCancel->click();
        flushDeletes();
    }
}
