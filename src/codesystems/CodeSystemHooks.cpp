#include "codesystems/CodeSystemHooks.h"

#include "app/Hooks.h"
#include "codesystems/CodeSearches.h"

namespace veldra {

void installCodeSystemHooks()
{
    Hooks& table = hooks();
    table.SearchLOINCCodes = SearchLOINCCodes;
    table.SearchNCIThesaurusCodes = SearchNCIThesaurusCodes;
    table.SearchUNIICodes = SearchUNIICodes;
}

} // namespace veldra
