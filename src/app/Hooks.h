#pragma once

#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

namespace veldra::xml {
class Document;
}

namespace veldra {

// Calls from the application core into subsystems that are built on top of it.
// Each later subsystem fills its members at start-up (see main.cpp); the core
// calls them only through this table, so it builds and tests on its own.
// An empty member means the subsystem is not linked in: the caller does nothing.
//
// `editor` arguments are editor windows (they implement EditorWindow, app/EditorWindow.h).
// Hooks that hand back a window return it created but not necessarily shown; the
// controls the core touches in such a window carry their names as objectName
// (for example "picLogo").
//
// Hooks that may let events run while they work (imports, long passes over a document) take
// the document by a handle that keeps it alive (copies share the tree) and the editor as a
// QPointer, which empties when the user closes the window meanwhile.
struct Hooks {
    // Settings document editor
    // Opens the file as a settings document in a new editor window; an empty path
    // opens a new document made from the definition file.
    std::function<void(const QString& path)> OpenSettingsDocument;
    // A new, empty editor window, already shown in the main window's MDI area.
    std::function<QWidget*()> NewXMLEditor;
    // Stamps fresh Word2SPLIDs and GUID values into the editor's document.
    std::function<void(QWidget* editor)> CreateGUIDs;
    // Reverses the order of the selected node and its like-named siblings.
    std::function<void(QWidget* editor)> ReverseSortOrder;
    // Imports an Excel workbook into the editor's selected element.
    std::function<void(QPointer<QWidget> editor)> ImportFromExcel;

    // SPL generation and checking
    std::function<void()> PreviewSPLFile;
    std::function<void(const QString& path)> CreateDocumentReport;
    std::function<void()> ValidateOnline;
    // A new cross-check window (several may be open at once).
    std::function<QWidget*()> NewSPLCrossCheckForm;

    // Field dialogs and wizards
    // Adds one Wizards menu item per enabled wizard (frmMain::addWizardMenuItem).
    std::function<void()> LoadWizardMenu;
    std::function<void(const QString& wizardName)> RunWizard;

    // Code-system lookup
    std::function<void(const QString& term)> SearchLOINCCodes;
    std::function<void(const QString& term)> SearchNCIThesaurusCodes;
    std::function<void(const QString& term)> SearchUNIICodes;

    // SPL section builder
    // False when the user aborted the loading.
    std::function<bool(xml::Document settings)> ProcessLoincCodes;
    std::function<QString(const QString& splFile)> ValidateAgainstSchema;

    // Word label import
    std::function<void()> CreateEmptyProductLabelTemplate;
    std::function<void(const QString& file, const QString& sectionStyle, const QString& excerptStyle,
                       const QString& subSectionStyle)> AnalyzeDocumentFormatting;
    std::function<void(QPointer<QWidget> editor, xml::Document settings)> ImportProductLabelFromWord;
    std::function<void(xml::Document settings, const QString& separator)> ProductLabelAddSectionNumbers;

    // Build-from-Word form
    std::function<void(const QString& fileName)> LoadSettingsFile;
    std::function<void(const QString& fileName)> SaveSettingsFile;
    // The build form (one window for the run of the program, created on first use).
    // Its code-system boxes are "cboConditionOfUseCoAdministrationCodeSystem" and
    // "cboConditionOfUseMonitoringCodeSystem".
    std::function<QWidget*()> BuildSPLForm;
};

Hooks& hooks();

} // namespace veldra
