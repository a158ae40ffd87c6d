#include "app/startup/BrowserSandbox.h"

#include <QByteArray>
#include <QtGlobal>
#include <gtest/gtest.h>

using namespace veldra;

// The browser engine ends the program when its sandbox is asked to start for the superuser, so
// the program switches it off then, and only then, whatever started it.
TEST(BrowserSandboxTest, OnlyTheSuperuserRunsTheBrowserWithoutItsSandbox)
{
    const QByteArray saved = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
    const bool wasSet = qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX");
    struct Case {
        uid_t user;
        bool sandbox;
    };
    for (const Case c : {Case{0, false}, Case{1, true}, Case{1000, true}, Case{65534, true}}) {
        SCOPED_TRACE(c.user);
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        EXPECT_EQ(browserSandboxPossible(c.user), c.sandbox);
        chooseBrowserSandbox(c.user);
        EXPECT_EQ(qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"), !c.sandbox);
    }
    // A switch set by whoever started the program stays as it was.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
    chooseBrowserSandbox(1000);
    EXPECT_EQ(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), QByteArrayLiteral("1"));

    if (wasSet)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", saved);
    else
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
}
