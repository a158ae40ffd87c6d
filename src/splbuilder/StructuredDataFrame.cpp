#include "splbuilder/StructuredDataFrame.h"

#include "app/log/Log.h"
#include "splbuilder/LabelTemplates.h"
#include "splbuilder/SplNodes.h"

namespace veldra::spl {

void openBuilderLog(const QString& startText)
{
    WriteLog(logSeparator(), QString(), true);
    WriteLog(log_category::Information, startText);
}

std::optional<xml::Document> loadFragment(const QString& fileName, const QString& failurePrefix)
{
    xml::Document fragment;
    if (loadLabelTemplate(fragment, fileName))
        return fragment;
    const xml::ParseError& error = fragment.parseError();
    WriteLog(log_category::Error, failurePrefix + QString::number(error.errorCode) + QLatin1Char(' ') + error.reason);
    return std::nullopt;
}

void MovePhase::report(const QString& failurePrefix, const QString& successText) const
{
    if (failure_)
        WriteLog(log_category::Error, failurePrefix + spacedErrorText(*failure_));
    else
        WriteLog(log_category::Information, successText);
}

} // namespace veldra::spl
