#pragma once

#include "app/Hooks.h"
#include "app/log/Log.h"
#include "app/log/LogFormat.h"
#include "app/log/frmLog.h"
#include "codesystemsdb/CodeTables.h"
#include "codesystemsdb/DatabaseWriter.h"
#include "codesystemsdb/SourceLists.h"
#include "platform/core/AppPaths.h"
#include "support/Fixtures.h"
#include "support/LogFixture.h"
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

// The committed source lists of the database the build writes.
inline codedb::CodeLists committedLists()
{
    return codedb::readSourceLists(QStringLiteral(VELDRA_CODE_LISTS_DIR));
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
class CodeSystemsTest : public LogFixture {
protected:
    // The five lines that open a search's result block.
    static QStringList searchHeader(const QString& category)
    {
        const QString ruler = line(logSeparator(), QString());
        const QString blank = line(QString(), QString());
        return {blank, ruler, line(category, QStringLiteral("\tSearch Result")), ruler, blank};
    }
};

} // namespace veldra::test
