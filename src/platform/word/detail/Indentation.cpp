#include "platform/word/detail/Indentation.h"

#include "platform/word/detail/Properties.h"
#include "platform/word/detail/Xml.h"

namespace veldra::word::detail {

std::optional<int> readLeftIndent(xmlNode* pPr)
{
    // Some producers write the hanging and the left indent as two w:ind elements: the first
    // that states a left indent gives it.
    for (xmlNode* ind : children(pPr)) {
        if (!isW(ind, "ind"))
            continue;
        // "start" is the name of the edition that also writes right-to-left paragraphs.
        for (const char* name : {"left", "start"})
            if (hasAttr(ind, name))
                return intAttr(ind, name, 0);
    }
    return std::nullopt;
}

int shownLeftIndent(const ParaProps& direct, const ParaProps& resolved, std::optional<int> numberingIndent)
{
    if (direct.leftIndent)
        return *direct.leftIndent;
    if (numberingIndent && direct.numId)
        return *numberingIndent;
    return resolved.leftIndent ? *resolved.leftIndent : numberingIndent.value_or(0);
}

} // namespace veldra::word::detail
