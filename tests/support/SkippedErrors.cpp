#include "support/SkippedErrors.h"

#include <QLoggingCategory>
#include <QMutex>
#include <gtest/gtest.h>

namespace veldra::test {

void recordSkippedError(const QString& message);

namespace {

QMutex guardLock;
ExpectSkippedErrors* innermost = nullptr;
QtMessageHandler previousHandler = nullptr;

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (context.category && qstrcmp(context.category, "veldra.skipped") == 0)
        recordSkippedError(message);
    else if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

void recordSkippedError(const QString& message)
{
    QMutexLocker locker(&guardLock);
    if (innermost)
        for (ExpectSkippedErrors* guard = innermost; guard; guard = guard->outer_)
            guard->messages_ << message;
    else
        ADD_FAILURE() << "An error was skipped without a trace: " << message.toStdString();
}

ExpectSkippedErrors::ExpectSkippedErrors()
{
    QMutexLocker locker(&guardLock);
    outer_ = innermost;
    innermost = this;
}

ExpectSkippedErrors::~ExpectSkippedErrors()
{
    QMutexLocker locker(&guardLock);
    innermost = outer_;
}

void failOnUnexpectedSkippedErrors()
{
    QLoggingCategory::setFilterRules(QStringLiteral("veldra.skipped.warning=true"));
    previousHandler = qInstallMessageHandler(onMessage);
}

} // namespace veldra::test
