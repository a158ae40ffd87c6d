#include "splbuilder/InstallSplBuilderHooks.h"

#include "app/Hooks.h"
#include "splbuilder/ValidateAgainstSchema.h"
#include "splbuilder/clsSPL.h"

namespace veldra {

void installSplBuilderHooks()
{
    hooks().ProcessLoincCodes = [](xml::Document settings) { return clsSPL().ProcessLoincCodes(&settings); };
    hooks().ValidateAgainstSchema = [](const QString& splFile) { return ValidateAgainstSchema(splFile); };
}

} // namespace veldra
