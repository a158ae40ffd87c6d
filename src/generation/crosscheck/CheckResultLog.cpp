#include "generation/crosscheck/CheckResultLog.h"

#include "app/log/Log.h"
#include "platform/core/CountText.h"

namespace veldra {

CheckResultLog::CheckResultLog(const QString& dn1, const QString& dn2, const QString& checkName)
    : dn1_(dn1), dn2_(dn2), checkName_(checkName)
{
}

bool CheckResultLog::showing() const
{
    return shown_ < MaxLoggedResultsPerCheck && written_ < MaxLoggedCharactersPerCheck;
}

bool CheckResultLog::take(bool difference)
{
    if (showing()) {
        ++shown_;
        return true;
    }
    ++leftOut_;
    if (difference)
        ++leftOutDifferences_;
    return false;
}

void CheckResultLog::different(const QString& label, bool block, const QString& value1, const QString& value2)
{
    if (!take(true))
        return;
    WriteLog(log_category::Warning, label + QStringLiteral(" is different"), true);
    writeDetails(block, log_category::Warning, value1, value2);
}

void CheckResultLog::identical(const QString& label, bool block, const QString& value1, const QString& value2)
{
    if (!take(false))
        return;
    WriteLog(log_category::Information, label + QStringLiteral(" is identical"), true);
    if (block)
        writeDetails(block, log_category::Information, value2, value1);
    else
        writeDetails(block, log_category::Information, value1, value2);
}

void CheckResultLog::writeLeftOut() const
{
    if (leftOut_ == 0)
        return;
    WriteLog(leftOutDifferences_ > 0 ? log_category::Warning : log_category::Information,
             QStringLiteral("%1 more results of the check '%2' are not shown, %3 of them differences; the log shows "
                            "the first %4 of each check, or as many as fit in %5 characters, and the summary counts them all.")
                 .arg(countText(leftOut_), checkName_, countText(leftOutDifferences_),
                      countText(MaxLoggedResultsPerCheck), countText(MaxLoggedCharactersPerCheck)));
}

void CheckResultLog::writeDetails(bool block, const QString& category, const QString& value1, const QString& value2)
{
    written_ += value1.size() + value2.size();
    if (block) {
        WriteLog(category, dn1_ + checkName_, true);
        WriteLog(QString(), value1);
        WriteLog(category, dn2_ + checkName_, true);
        WriteLog(QString(), value2);
    } else {
        WriteLog(dn1_, value1);
        WriteLog(dn2_, value2);
    }
}

QString loggedValue(const QString& value)
{
    if (value.size() <= MaxLoggedValueCharacters)
        return value.simplified();
    return value.left(MaxLoggedValueCharacters).simplified()
        + QStringLiteral(" ... (%1 characters in all)").arg(countText(value.size()));
}

} // namespace veldra
