// A helper program ends with the program that started it, however that one ended: killed
// while it waits for the helper, either starter leaves nothing running.
#include "support/ChildProcesses.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

using namespace veldra;

namespace {

TEST(HelperLifetimeTest, AHelperEndsWhenTheProgramThatStartedItIsKilled)
{
    const test::TempDir dir;
    const QString sleeping = dir.file(QStringLiteral("sleeping"));
    test::writeTextFile(sleeping, QStringLiteral("#!/bin/sh\nexec sleep 600\n"));
    QFile::setPermissions(sleeping, QFile::ReadOwner | QFile::ExeOwner);
    for (const char* starter : {"preview", "picture"}) {
        SCOPED_TRACE(starter);
        QProcess parent;
        parent.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("veldra_helper_parent")),
                     {QString::fromLatin1(starter), sleeping});
        ASSERT_TRUE(parent.waitForStarted());
        const pid_t starterId = pid_t(parent.processId());
        ASSERT_TRUE(QTest::qWaitFor([starterId] { return !test::runningChildren(starterId, "sleep").isEmpty(); }, 60'000));
        const pid_t helper = test::runningChildren(starterId, "sleep").front();
        ::kill(starterId, SIGKILL);
        parent.waitForFinished();
        const bool ended = QTest::qWaitFor([helper] { return !test::isRunning(helper); }, 10'000);
        EXPECT_TRUE(ended) << "the helper runs on after the program that started it was killed";
        if (!ended)
            ::kill(helper, SIGKILL);
    }
}

} // namespace
