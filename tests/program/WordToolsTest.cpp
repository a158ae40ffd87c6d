// The Word tools as a user reaches them: the template from the File menu, the formatting
// analysis from the context menu of a settings document that names that template.
#include "app/EditorWindow.h"
#include "app/Hooks.h"
#include "app/MainWindowTestSupport.h"
#include "app/frmMain.h"
#include "platform/xml/Document.h"
#include "program/InstallHooks.h"
#include "support/LogFixture.h"
#include "support/TempDir.h"

#include <QAction>
#include <QFileInfo>
#include <QRegularExpression>

using namespace veldra;

class WordToolsTest : public test::LogFixture {
protected:
    test::HookTableScope hookTable;
    test::SettingsStoreScope settingsStore;
    test::ProgramFolderCopy program;
    test::TempDir dir;
};

TEST_F(WordToolsTest, TheTemplateMadeFromTheFileMenuIsAnalysedFromTheSettingsDocument)
{
    installAllHooks();
    frmMain main;
    const QString label = dir.file(QStringLiteral("ProductLabelTemplate.docx"));
    ui.saveFiles.push_back(label);
    main.mnuFileCreateWordLabelTemplate->trigger();
    ASSERT_TRUE(QFileInfo::exists(label));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Product Label Template generation completed."));
    EXPECT_EQ(ui.opened, QStringList{label});

    hooks().OpenSettingsDocument(QString());
    EditorWindow* editor = main.currentEditor();
    ASSERT_NE(editor, nullptr);
    editor->settingsDocument()->selectSingleNode(QStringLiteral("//WordDocument/File")).setText(label);
    main.mnuSPLR4PopupAnalyzeWordDocumentFormatting->trigger();

    // The settings document's default styles are the template's: every section and
    // subsection is found; its excerpt style is not used by the template.
    const QStringList lines = logLines();
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^Section +BOXED WARNING$"))).size(), 1);
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^Subsection +Subsection 3 of boxed warning$"))).size(), 1);
    EXPECT_TRUE(lines.contains(line(QStringLiteral("Warning"),
                                    QStringLiteral("The defined Excerpt Style 'Heading 3' cannot be found in Word Document."))));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("cannot be found|^Error "))).size(), 1);
}
