#pragma once

#include "app/log/Log.h"
#include "app/log/LogFormat.h"
#include "app/log/frmLog.h"
#include "platform/xml/tree/Document.h"
#include "support/ScriptedUi.h"
#include "support/XmlDocument.h"

#include <QCoreApplication>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <ostream>

namespace veldra::test {

// Tests of the build read what it says from the shared log; each starts with no log window.
class BuildLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        closeLog();
        NoLogging = false;
    }

    void TearDown() override { closeLog(); }

    static void closeLog()
    {
        if (frmLog* log = logWindow())
            log->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QString logText() { return logWindow() ? logWindow()->txtLog->toPlainText() : QString(); }

    // True when the log holds the line that WriteLog(category, message) writes.
    static bool logHas(const QString& category, const QString& message)
    {
        QString line = log_format::line(category, message);
        if (line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        return logText().contains(line);
    }

    static int logCount(const QString& text) { return int(logText().count(text)); }

    ScriptedUi ui;
};

} // namespace veldra::test
