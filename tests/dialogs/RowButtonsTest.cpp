#include "DialogTestSupport.h"

#include "app/Hooks.h"
#include "app/search/SearchPanel.h"
#include "app/window/frmMain.h"
#include "dialogs/frmWizard.h"
#include "dialogs/frmXMLDataEdit.h"
#include "platform/ui/CommonDialog.h"
#include "platform/xml/tree/Document.h"
#include "support/SkippedErrors.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QToolButton>

using namespace veldra;
using test::fieldOf;

namespace {

// A dialog of the given kind with one row per child of <Rows>.
template <class Dialog>
struct RowDialog {
    xml::Document doc;
    Dialog dialog;
    explicit RowDialog(const QString& body)
    {
        EXPECT_TRUE(doc.loadXml(QStringLiteral("<Rows>") + body + QStringLiteral("</Rows>")));
        int row = 0;
        for (const xml::Node& element : doc.documentElement().childNodes())
            dialog.AddControl(element, ++row);
    }
    QToolButton* button(const QString& name) const { return dialog.FrameData->template findChild<QToolButton*>(name); }
    QString text(const QString& name) const { return fieldOf<QLineEdit>(dialog, name)->text(); }
};

// Restores the hook table at the end of a test.
struct HookTableScope {
    Hooks saved = hooks();
    ~HookTableScope() { hooks() = saved; }
};

} // namespace

TEST(RowButtons, IdButtonWritesANewIdEachTime)
{
    test::ScriptedUi ui;
    RowDialog<frmXMLDataEdit> rows(QStringLiteral("<SetID ConstraintDataType='GUID'>old</SetID>"));
    const QRegularExpression id(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));

    rows.button(QStringLiteral("cmdCreateGUID1"))->click();
    const QString first = rows.text(QStringLiteral("SetID"));
    rows.button(QStringLiteral("cmdCreateGUID1"))->click();
    const QString second = rows.text(QStringLiteral("SetID"));

    EXPECT_TRUE(id.match(first).hasMatch()) << first.toStdString();
    EXPECT_TRUE(id.match(second).hasMatch()) << second.toStdString();
    EXPECT_NE(first, second);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(RowButtons, FileButtonStartsAtTheFieldsFileAndUsesItsOwnRowsFilter)
{
    veldra::test::ExpectSkippedErrors skipped;  // a cancelled dialog
    test::ScriptedUi ui;
    RowDialog<frmXMLDataEdit> rows(QStringLiteral(
        "<File ConstraintDataType='File' ConstraintFileType='Word Documents | *.docx;*.doc'>/labels/a.docx</File>"
        "<SPLFileName ConstraintDataType='File' ConstraintFileType='SPL Files | *.xml'/>"
        "<ExcelFile ConstraintDataType='File' ConstraintFileType=''/>"));

    ui.openFiles.push_back(QStringLiteral("/labels/b.docx"));
    rows.button(QStringLiteral("cmdBrowseFile1"))->click();
    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests[0].title, QStringLiteral("Open File for SPL"));
    EXPECT_EQ(ui.fileRequests[0].fileName, QStringLiteral("/labels/a.docx"));
    EXPECT_EQ(ui.fileRequests[0].filter, ui::CommonDialog::toQtFilter(QStringLiteral("Word Documents | *.docx;*.doc")));
    EXPECT_EQ(rows.text(QStringLiteral("File")), QStringLiteral("/labels/b.docx"));

    // Cancel leaves the field as it was.
    rows.button(QStringLiteral("cmdBrowseFile1"))->click();
    EXPECT_EQ(rows.text(QStringLiteral("File")), QStringLiteral("/labels/b.docx"));

    rows.button(QStringLiteral("cmdBrowseFile2"))->click();
    EXPECT_EQ(ui.fileRequests.last().filter, ui::CommonDialog::toQtFilter(QStringLiteral("SPL Files | *.xml")));
    rows.button(QStringLiteral("cmdBrowseFile3"))->click();
    EXPECT_EQ(ui.fileRequests.last().filter, QStringLiteral("All Files (*)"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

// The folder button asks the desktop's folder chooser, never a file dialog: it starts at the
// field's folder while that exists, else at the home folder.
TEST(RowButtons, FolderButtonChoosesAFolderStartingAtTheFieldsFolderOrHome)
{
    test::ScriptedUi ui;
    test::TempDir dir;
    RowDialog<frmWizard> rows(QStringLiteral("<ImageTargetFolder ConstraintDataType='Folder'>%1</ImageTargetFolder>")
                                  .arg(dir.path()));
    QToolButton* button = rows.button(QStringLiteral("cmdBrowseFolder1"));
    const QString images = dir.path() + QStringLiteral("/images");
    ASSERT_TRUE(QDir().mkpath(images));

    ui.folders.push_back(images);
    button->click();
    ui.folders.push_back(std::nullopt);
    button->click();  // cancelled: the field stays
    EXPECT_EQ(rows.text(QStringLiteral("ImageTargetFolder")), images);
    fieldOf<QLineEdit>(rows.dialog, QStringLiteral("ImageTargetFolder"))->setText(dir.path() + QStringLiteral("/not there"));
    ui.folders.push_back(QStringLiteral("/"));
    button->click();
    EXPECT_EQ(rows.text(QStringLiteral("ImageTargetFolder")), QStringLiteral("/"));

    EXPECT_TRUE(ui.fileRequests.isEmpty());
    ASSERT_EQ(ui.folderRequests.size(), 3);
    const QStringList starts{ui.folderRequests[0].initialFolder, ui.folderRequests[1].initialFolder,
                             ui.folderRequests[2].initialFolder};
    EXPECT_EQ(starts, QStringList({dir.path(), images, QDir::homePath()}));
    EXPECT_EQ(ui.folderRequests[0].title, QStringLiteral("Select Folder"));
}

TEST(RowButtons, SearchButtonsAskTheMainWindowsSearchPanelAndLeaveTheFieldAlone)
{
    HookTableScope scope;
    test::ScriptedUi ui;
    QStringList searches;
    hooks() = Hooks();
    hooks().SearchLOINCCodes = [&](const QString& term) { searches << QStringLiteral("LOINC ") + term; };
    hooks().SearchNCIThesaurusCodes = [&](const QString& term) { searches << QStringLiteral("NCI ") + term; };
    hooks().SearchUNIICodes = [&](const QString& term) { searches << QStringLiteral("UNII ") + term; };
    frmMain main;
    FillCodeSystemCombo(main.cboCodeSystem);

    RowDialog<frmXMLDataEdit> edit(QStringLiteral("<SectionCode ConstraintCodeSystem='LOINC'>34067-9</SectionCode>"
                                                  "<MoietyUNIICode ConstraintCodeSystem='UNII'>A0JWA85V8F</MoietyUNIICode>"));
    edit.button(QStringLiteral("cmdSearchLOINCCode1"))->click();
    EXPECT_EQ(main.txtSearchCodeOrName->text(), QStringLiteral("34067-9"));
    EXPECT_EQ(main.cboCodeSystem->currentText(), QStringLiteral("LOINC"));
    edit.button(QStringLiteral("cmdSearchUNIICode1"))->click();

    RowDialog<frmWizard> wizard(QStringLiteral("<DosageForm ConstraintCodeSystem='NCI'>TABLET</DosageForm>"));
    wizard.button(QStringLiteral("cmdSearchNCICode1"))->click();
    EXPECT_EQ(main.cboCodeSystem->currentText(), QStringLiteral("NCI Thesaurus"));

    EXPECT_EQ(searches, QStringList({QStringLiteral("LOINC 34067-9"), QStringLiteral("UNII A0JWA85V8F"),
                                     QStringLiteral("NCI TABLET")}));
    EXPECT_EQ(edit.text(QStringLiteral("SectionCode")), QStringLiteral("34067-9"));
    EXPECT_EQ(wizard.text(QStringLiteral("DosageForm")), QStringLiteral("TABLET"));
}
