#pragma once

// For test programs that link the application core: each test starts without a log
// window, with logging on and the line counter at 0, and with scripted dialogs.
#include "app/log/Log.h"
#include "app/log/LogFormat.h"
#include "app/log/frmLog.h"
#include "support/ScriptedUi.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace veldra::test {

class LogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        closeLog();
        NoLogging = false;
        LogLineCounter = 0;
    }

    void TearDown() override
    {
        closeLog();
        NoLogging = false;
    }

    static void closeLog()
    {
        if (frmLog* log = logWindow())
            log->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The log's lines after its header.
    static QStringList logLines()
    {
        if (!logWindow())
            return {};
        QString text = logWindow()->txtLog->toPlainText();
        QString header = log_format::header();
        header.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (text.startsWith(header))
            text.remove(0, header.size());
        QStringList lines = text.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    // One log line as WriteLog arranges it.
    static QString line(const QString& category, const QString& message)
    {
        return log_format::line(category, message).chopped(1);
    }

    ScriptedUi ui;
};

} // namespace veldra::test
