#include "platform/ui/QtBackend.h"
#include "support/StandInOpener.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

using namespace veldra;

// The desktop's opener counts by what it did, not by having started: an opener that finds no
// program for the address fails, one that opened it succeeds, and one still busy after the
// wait (a browser it keeps running in the foreground) has opened it too. Each gets the address
// or the path as one argument.
TEST(DesktopOpenerTest, TheOpenersOutcomeIsTheAnswer)
{
    test::TempDir dir;
    const QString spaced = dir.file(QStringLiteral("label folder/Help.html"));
    const QString address = QStringLiteral("https://example.org/spl?a=1&b=2");
    struct Case {
        const char* name;
        QString ending;
        QString target;
        bool opened;
    };
    const std::vector<Case> cases{
        {"no method available", test::StandInOpener::noMethod(), address, false},
        {"killed", QStringLiteral("kill -9 $$"), spaced, false},
        {"opened a page", QStringLiteral("exit 0"), address, true},
        {"opened a file", QStringLiteral("exit 0"), spaced, true},
        {"opened a folder", QStringLiteral("exit 0"), dir.path() + QLatin1Char('/'), true},
        {"runs the browser it started", QStringLiteral("sleep 4\ntouch '%1'").arg(dir.file(QStringLiteral("ended"))),
         address, true},
    };
    ui::QtBackend desktop;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::StandInOpener opener(c.ending);
        EXPECT_EQ(desktop.shellOpen(c.target), c.opened);
        EXPECT_EQ(opener.asked(), QStringList(c.target));
    }
    // The opener that was still running goes on until it ends, and is let go then.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(dir.file(QStringLiteral("ended"))); }, 10000));
}

// A mail address is an address, not a file's path: the opener gets it encoded as one.
TEST(DesktopOpenerTest, AMailAddressGoesToTheOpenerAsAnAddress)
{
    const test::StandInOpener opener(QStringLiteral("exit 0"));
    EXPECT_TRUE(ui::QtBackend().shellOpen(QStringLiteral("mailto:someone@example.org?subject=Label question")));
    EXPECT_EQ(opener.asked(), QStringList{QStringLiteral("mailto:someone@example.org?subject=Label%20question")});
}
