#pragma once

#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace veldra::xml {
class Document;
}

namespace veldra {

// Calls from the application core into subsystems that are built on top of it.
// Each later subsystem fills its members at start-up (see main.cpp); the core
// calls them only through this table, so it builds and tests on its own.
// An empty member means the subsystem is not linked in: the caller does nothing.
struct Hooks {
    // Field dialogs and wizards
    std::function<void()> LoadWizardMenu;
    std::function<void(const QString& wizardName)> RunWizard;

    // Code-system lookup
    std::function<void(const QString& term)> SearchLOINCCodes;
    std::function<void(const QString& term)> SearchNCIThesaurusCodes;
    std::function<void(const QString& term)> SearchUNIICodes;
    std::function<void()> ShowSelectLOINCForm;

    // SPL section builder
    std::function<void(xml::Document& settings)> ProcessLoincCodes;
    std::function<QString(const QString& splFile)> ValidateAgainstSchema;

    // Word label import
    std::function<void()> CreateEmptyProductLabelTemplate;
    std::function<void(const QString& file, const QString& sectionStyle, const QString& excerptStyle,
                       const QString& subSectionStyle)> AnalyzeDocumentFormatting;
    std::function<void(QWidget* editor, xml::Document& settings)> ImportProductLabelFromWord;
    std::function<void(xml::Document& settings, const QString& separator)> ProductLabelAddSectionNumbers;

    // Build-from-Word form
    std::function<void(const QString& fileName)> LoadSettingsFile;
    std::function<void(const QString& fileName)> SaveSettingsFile;
    std::function<void()> ShowBuildSPLForm;
};

Hooks& hooks();

} // namespace veldra
