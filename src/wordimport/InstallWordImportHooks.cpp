#include "wordimport/InstallWordImportHooks.h"

#include "app/Hooks.h"
#include "buildform/BuildConverter.h"
#include "wordimport/ProductLabelImport.h"
#include "wordimport/SectionNumbering.h"
#include "wordimport/clsWord.h"

#include <QPointer>
#include <QWidget>

namespace veldra {

void installWordImportHooks()
{
    Hooks& h = hooks();
    h.ImportProductLabelFromWord = [](QPointer<QWidget> editor, xml::Document settings) {
        ImportProductLabelFromWord(editor.data(), settings);
    };
    h.ProductLabelAddSectionNumbers = [](xml::Document settings, const QString& separator) {
        ProductLabelAddSectionNumbers(settings, separator);
    };
    buildform::buildConverterFactory() = [] { return std::make_shared<clsWord>(); };
}

} // namespace veldra
