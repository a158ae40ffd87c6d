#include "app/Hooks.h"
#include "buildform/BuildConverter.h"
#include "editor/window/EditorHooks.h"
#include "editor/window/FieldDialogs.h"
#include "program/InstallHooks.h"

#include <gtest/gtest.h>

using namespace veldra;

// Every subsystem that is part of the program must reach the core through its hooks;
// an empty hook silently turns a menu command into nothing.
TEST(InstallHooksTest, EveryBuiltSubsystemFillsItsHooks)
{
    installAllHooks();
    const Hooks& h = hooks();

    EXPECT_TRUE(h.OpenSettingsDocument);
    EXPECT_TRUE(h.NewXMLEditor);
    EXPECT_TRUE(h.CreateGUIDs);
    EXPECT_TRUE(h.ReverseSortOrder);
    EXPECT_TRUE(h.ImportFromExcel);
    EXPECT_TRUE(h.PreviewSPLFile);
    EXPECT_TRUE(h.CreateDocumentReport);
    EXPECT_TRUE(h.ValidateOnline);
    EXPECT_TRUE(h.NewSPLCrossCheckForm);
    EXPECT_TRUE(h.LoadWizardMenu);
    EXPECT_TRUE(h.RunWizard);
    EXPECT_TRUE(h.SearchLOINCCodes);
    EXPECT_TRUE(h.SearchNCIThesaurusCodes);
    EXPECT_TRUE(h.SearchUNIICodes);
    EXPECT_TRUE(h.ProcessLoincCodes);
    EXPECT_TRUE(h.ValidateAgainstSchema);
    EXPECT_TRUE(h.LoadSettingsFile);
    EXPECT_TRUE(h.SaveSettingsFile);
    EXPECT_TRUE(h.BuildSPLForm);
    EXPECT_TRUE(h.CreateEmptyProductLabelTemplate);
    EXPECT_TRUE(h.AnalyzeDocumentFormatting);
    EXPECT_TRUE(h.ImportProductLabelFromWord);
    EXPECT_TRUE(h.ProductLabelAddSectionNumbers);
    EXPECT_TRUE(buildform::buildConverterFactory());

    EXPECT_TRUE(editorHooks().TransformSPLR4ToSPL);
    EXPECT_TRUE(editorHooks().PreviewSPLR4Document);
    EXPECT_TRUE(editorHooks().ImportDataFromSPLFile);
    EXPECT_TRUE(fieldDialogLauncher());
}
