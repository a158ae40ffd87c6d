#include "app/log/LoggedProblems.h"

#include "app/log/Log.h"

#include <QStringList>

namespace veldra {

namespace {

LoggedProblems& total()
{
    static LoggedProblems written;
    return written;
}

QString counted(int n, const char* what)
{
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(what), n == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

QString LoggedProblems::summary() const
{
    QStringList parts;
    if (warnings > 0)
        parts << counted(warnings, "warning");
    if (errors > 0)
        parts << counted(errors, "error");
    return parts.join(QStringLiteral(" and "));
}

QString LoggedProblems::sentence(const QString& what) const
{
    if (!any())
        return {};
    const QString where = NoLogging ? QStringLiteral("switch on Show Log and run it again for the details.")
                                    : QStringLiteral("the log has the details.");
    return QStringLiteral("The %1 found %2: %3").arg(what, summary(), where);
}

void countLoggedProblem(const QString& category)
{
    if (category == log_category::Warning)
        ++total().warnings;
    else if (category == log_category::Error || category == log_category::FatalError)
        ++total().errors;
}

LoggedProblemsSince::LoggedProblemsSince() : start_(total()) {}

LoggedProblems LoggedProblemsSince::count() const
{
    return {total().warnings - start_.warnings, total().errors - start_.errors};
}

} // namespace veldra
