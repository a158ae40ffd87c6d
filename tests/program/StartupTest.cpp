// The program's start: its main window is painted before the browser engine, with the
// libraries it brings, is loaded, so a start pays only for what the main window needs.

#include "support/TempDir.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The libraries the dynamic loader loaded, linked or opened, in a run that ended at the first
// paint of the main window: its trace (LD_DEBUG=files) names every one it loads.
QString librariesLoadedUpToFirstPaint()
{
    veldra::test::TempDir home;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.file(QStringLiteral("config")));
    environment.insert(QStringLiteral("VELDRA_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    environment.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VELDRA_PROGRAM_DIR "/veldra"), {});
    EXPECT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    QString loaded;
    const QRegularExpression library(QStringLiteral("file=(\\S+)"));
    for (const QString& line : QString::fromLocal8Bit(program.readAllStandardError()).split(QLatin1Char('\n')))
        if (const QRegularExpressionMatch found = library.match(line); found.hasMatch())
            loaded += found.captured(1) + QLatin1Char('\n');
    return loaded;
}

TEST(StartupTest, TheMainWindowIsPaintedWithoutTheBrowserEngine)
{
    const QString loaded = librariesLoadedUpToFirstPaint();
    ASSERT_TRUE(loaded.contains(QStringLiteral("libQt6Widgets"))) << loaded.toStdString();
    for (const char* browserLibrary : {"libQt6WebEngine", "libQt6Quick", "libQt6Qml", "veldra-browser"})
        EXPECT_FALSE(loaded.contains(QLatin1String(browserLibrary))) << browserLibrary << " loaded at start";
}

} // namespace
