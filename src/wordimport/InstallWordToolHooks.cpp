#include "wordimport/InstallWordToolHooks.h"

#include "app/Hooks.h"
#include "wordimport/analysis/FormattingAnalysis.h"
#include "wordimport/template/CreateEmptyProductLabelTemplate.h"

namespace veldra {

void installWordToolHooks()
{
    Hooks& h = hooks();
    h.CreateEmptyProductLabelTemplate = [] { CreateEmptyProductLabelTemplate(); };
    h.AnalyzeDocumentFormatting = [](const QString& file, const QString& sectionStyle, const QString& excerptStyle,
                                     const QString& subSectionStyle) {
        AnalyzeDocumentFormatting(file, sectionStyle, excerptStyle, subSectionStyle);
    };
}

} // namespace veldra
