#pragma once

#include "app/Hooks.h"
#include "app/Log.h"
#include "app/LogFormat.h"
#include "app/frmLog.h"
#include "codesystemsdb/CodeTables.h"
#include "codesystemsdb/DatabaseWriter.h"
#include "codesystemsdb/SourceLists.h"
#include "platform/core/AppPaths.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace veldra::test {

inline codedb::Row row(std::initializer_list<const char*> cells)
{
    codedb::Row values;
    for (const char* cell : cells)
        values.push_back(cell ? std::optional<QString>(QString::fromUtf8(cell)) : std::nullopt);
    return values;
}

// The lists committed in data/codesystems/.
inline codedb::CodeLists committedLists()
{
    return codedb::readSourceLists(QDir(sourceDataDir()).filePath(QStringLiteral("codesystems")));
}

// A program folder of the test's own, with a code-system database made of `lists`
// (or none at all), for the length of one test.
class CodeSystemsProgramFolder {
public:
    CodeSystemsProgramFolder() { app_paths::setProgramFolderForTesting(dir_.path()); }
    explicit CodeSystemsProgramFolder(const codedb::CodeLists& lists) : CodeSystemsProgramFolder()
    {
        codedb::writeDatabase(lists, databasePath());
    }
    ~CodeSystemsProgramFolder() { app_paths::setProgramFolderForTesting(QString()); }

    QString databasePath() const { return dir_.file(QStringLiteral("SPLCodeSystems.sqlite")); }

private:
    TempDir dir_;
};

// Restores the hook table at the end of a test.
class HookTableScope {
public:
    HookTableScope() : saved_(hooks()) {}
    ~HookTableScope() { hooks() = saved_; }

private:
    Hooks saved_;
};

// Every test starts with an empty log, logging on, and scripted dialogs.
class CodeSystemsTest : public ::testing::Test {
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

    // The five lines that open a search's result block.
    static QStringList searchHeader(const QString& category)
    {
        const QString ruler = line(logSeparator(), QString());
        const QString blank = line(QString(), QString());
        return {blank, ruler, line(category, QStringLiteral("\tSearch Result")), ruler, blank};
    }

    ScriptedUi ui;
};

} // namespace veldra::test
