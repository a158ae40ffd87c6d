// The Word tools as a user reaches them: the template from the File menu, the formatting
// analysis from the context menu of a settings document that names that template.
#include "app/EditorWindow.h"
#include "app/Hooks.h"
#include "app/MainWindowTestSupport.h"
#include "app/window/frmMain.h"
#include "platform/xml/tree/Document.h"
#include "program/InstallHooks.h"
#include "support/LogFixture.h"
#include "support/TempDir.h"
#include "wordimport/template/LabelTemplateDocument.h"

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
    // subsection is found, each section on a page of its own, and the four styles used are
    // the recommended ones; only the excerpt style is not in the template.
    const QStringList lines = logLines();
    const QStringList summary = lines.mid(lines.indexOf(line(QStringLiteral("STYLE SUMMARY"), QString())));
    const qsizetype sections =
        label_template::sectionTitles(program.file(QStringLiteral("LabelDefinitions/TEMPLATE_SPL.xml"))).size();
    ASSERT_GT(sections, 20);
    const QString pages = QString::number(sections + 1);  // the last page break opens an empty page
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^Section  "))).size(), sections + 1);  // + the summary's
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^Subsection +Subsection \\d of "))).size(), 3 * sections);
    EXPECT_TRUE(lines.contains(line(QStringLiteral("P1/%1, ¶1").arg(pages),
                                    QStringLiteral("Style: Heading 1").leftJustified(32) + QStringLiteral("BOXED WARNING"))));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^P%1/%2, ¶\\d+ +Style: Heading 1 +PACKAGE LABEL").arg(sections).arg(pages))).size(), 1);
    EXPECT_EQ(summary.mid(2, 5),
              (QStringList{line(QStringLiteral("Section"), QStringLiteral("Heading 1")), line(QString(), QStringLiteral("Normal")),
                           line(QString(), QStringLiteral("List Paragraph")), line(QStringLiteral("Subsection"), QStringLiteral("Heading 2")),
                           line(QStringLiteral("Warning"),
                                QStringLiteral("The defined Excerpt Style 'Title' cannot be found in Word Document."))}));
    EXPECT_TRUE(summary.contains(line(QStringLiteral("Images"), QStringLiteral("0"))));
    EXPECT_TRUE(summary.contains(line(QStringLiteral("Tables"), QString::number(3 * sections))));
    EXPECT_TRUE(lines.filter(QRegularExpression(QStringLiteral("^Error "))).isEmpty());
}
