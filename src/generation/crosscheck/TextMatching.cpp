#include "generation/crosscheck/TextMatching.h"

namespace veldra {

TextMatch textMatchOf(const QString& dataType)
{
    if (dataType == QLatin1String("DisplayName"))
        return TextMatch::DisplayName;
    return dataType == QLatin1String("Name") ? TextMatch::Name : TextMatch::Exact;
}

QString matchKey(const QString& text, TextMatch match)
{
    if (match == TextMatch::Exact)
        return text;
    return match == TextMatch::DisplayName ? text.simplified().toCaseFolded() : text.simplified();
}

} // namespace veldra
