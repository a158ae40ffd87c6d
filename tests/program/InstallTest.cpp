// What `cmake --install` gives a user: a launcher on the path that starts the program from
// its program folder, and a desktop entry with the program's icon that names the launcher.

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString buildFolder()
{
    return QDir(QStringLiteral(VELDRA_PROGRAM_DIR "/..")).absolutePath();
}

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(InstallTest, TheInstalledProgramStartsFromItsLauncherAndHasADesktopEntry)
{
    veldra::test::TempDir prefix;
    QProcess install;
    install.start(QStringLiteral("cmake"), {QStringLiteral("--install"), buildFolder(), QStringLiteral("--prefix"), prefix.path()});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    const QString launcher = prefix.file(QStringLiteral("bin/veldra"));
    ASSERT_TRUE(QFileInfo(launcher).isExecutable());
    const QString entry = readText(prefix.file(QStringLiteral("share/applications/veldra.desktop")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=") + launcher + QLatin1Char('\n'))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=veldra\n")));
    const QImage icon(prefix.file(QStringLiteral("share/icons/hicolor/256x256/apps/veldra.png")));
    EXPECT_EQ(icon.size(), QSize(256, 256));

    // Started from another folder, the program finds its program folder and keeps running
    // until it is closed; a launcher that cannot start it ends at once.
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), prefix.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), prefix.file(QStringLiteral("config")));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QDir::tempPath());
    program.start(launcher, {});
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_FALSE(program.waitForFinished(3000)) << program.readAllStandardError().toStdString();
    program.kill();
    program.waitForFinished();
}

} // namespace
