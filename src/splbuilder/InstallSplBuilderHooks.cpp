#include "splbuilder/InstallSplBuilderHooks.h"

#include "app/Hooks.h"
#include "splbuilder/ValidateAgainstSchema.h"

namespace veldra {

void installSplBuilderHooks()
{
    hooks().ValidateAgainstSchema = [](const QString& splFile) { return ValidateAgainstSchema(splFile); };
}

} // namespace veldra
