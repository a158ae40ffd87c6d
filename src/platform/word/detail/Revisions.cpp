#include "platform/word/detail/Revisions.h"

#include "platform/word/detail/Xml.h"

namespace veldra::word::detail {

namespace {

bool isRevisionMarker(const xmlNode* node)
{
    static const char* const names[] = {"rPrChange", "pPrChange", "sectPrChange", "tblPrChange", "trPrChange",
                                        "tcPrChange", "numberingChange", "tblGridChange"};
    for (const char* name : names)
        if (isW(node, name))
            return true;
    return false;
}

} // namespace

bool holdsRevisionMarker(xmlNode* properties)
{
    for (xmlNode* child : children(properties))
        if (isRevisionMarker(child))
            return true;
    return false;
}

} // namespace veldra::word::detail
