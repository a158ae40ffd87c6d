#include "platform/core/Skip.h"

#include "platform/core/VbError.h"

Q_LOGGING_CATEGORY(lcSkippedError, "veldra.skipped", QtCriticalMsg)

namespace veldra {

namespace {

QString describe(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const VbError& error) {
        return error.text();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return QStringLiteral("a failure that is not an error value");
    }
}

} // namespace

void reportSkippedError(const std::exception_ptr& failure, const SkipSite& where) noexcept
{
    if (!lcSkippedError().isWarningEnabled())
        return;
    try {
        qCWarning(lcSkippedError).noquote() << describe(failure) << "- skipped in" << where.function << "at" << where.file
                                            << where.line;
    } catch (...) {
        // Logging is a courtesy; a failure to log must not end the program.
    }
}

} // namespace veldra
