#include "platform/word/detail/Revisions.h"

#include "platform/word/detail/Xml.h"

namespace veldra::word::detail {

namespace {

bool isRevisionMarker(const xmlNode* node)
{
    static const char* const names[] = {"rPrChange", "pPrChange", "sectPrChange", "tblPrChange", "trPrChange",
                                        "tcPrChange", "numberingChange", "tblGridChange", "cellMerge"};
    for (const char* name : names)
        if (isW(node, name))
            return true;
    return false;
}

template <size_t N>
bool holdsAnyOf(xmlNode* properties, const char* const (&names)[N])
{
    for (const char* name : names)
        if (childW(properties, name))
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

bool marksRemoval(xmlNode* properties)
{
    static const char* const names[] = {"del", "moveFrom", "cellDel"};
    return holdsAnyOf(properties, names);
}

bool marksAddition(xmlNode* properties)
{
    static const char* const names[] = {"ins", "moveTo", "cellIns"};
    return holdsAnyOf(properties, names);
}

} // namespace veldra::word::detail
