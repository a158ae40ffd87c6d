#pragma once

#include "app/CancellableJob.h"
#include "app/Log.h"
#include "app/frmLog.h"
#include "support/ScriptedUi.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace veldra::test {

// Every log test starts without a log window, with logging on and the line counter at 0.
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

    static QTextEdit& box() { return *logWindow()->txtLog; }
    static QString text() { return logWindow() ? box().toPlainText() : QString(); }

    // The character format of the character at `position` of the log.
    static QTextCharFormat formatAt(qsizetype position)
    {
        QTextCursor cursor(box().document());
        cursor.setPosition(int(position) + 1);
        return cursor.charFormat();
    }

    ScriptedUi ui;
};

// A long job that only records that it was asked to stop.
struct FakeJob : CancellableJob {
    bool cancelled = false;
    void requestCancel() override { cancelled = true; }
};

} // namespace veldra::test
