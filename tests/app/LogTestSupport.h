#pragma once

#include "app/CancellableJob.h"
#include "app/log/Log.h"
#include "app/log/frmLog.h"
#include "support/LogFixture.h"
#include "support/ScriptedUi.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace veldra::test {

// Log tests look at the log's text box and the format of its characters.
class LogTestFixture : public LogFixture {
protected:
    static QTextEdit& box() { return *logWindow()->txtLog; }
    static QString text() { return logWindow() ? box().toPlainText() : QString(); }

    // The character format of the character at `position` of the log.
    static QTextCharFormat formatAt(qsizetype position)
    {
        QTextCursor cursor(box().document());
        cursor.setPosition(int(position) + 1);
        return cursor.charFormat();
    }
};

// A long job that only records that it was asked to stop.
struct FakeJob : CancellableJob {
    bool cancelled = false;
    void requestCancel() override { cancelled = true; }
};

} // namespace veldra::test
