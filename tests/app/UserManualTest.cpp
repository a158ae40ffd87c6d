// The user manual that Help > User Manual opens: it ships in the program folder, its
// links lead somewhere, and it names every command the menu bar offers.
#include "app/MainWindowTestSupport.h"
#include "app/window/frmMain.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

QString manualText(const test::ProgramFolderCopy& folder)
{
    QFile file(folder.file("Help/Help.html"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The captions as the manual writes them: without the "&" of the access key.
QStringList commandCaptions(QMenu* menu)
{
    QStringList captions;
    for (QAction* item : menu->actions()) {
        if (item->isSeparator() || !item->isVisible())
            continue;
        captions << item->text().remove(QLatin1Char('&'));
    }
    return captions;
}

} // namespace

TEST(UserManualTest, ShipsWithWorkingLinksAndNamesEveryMenuCommand)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    test::ProgramFolderCopy folder;
    const QString manual = manualText(folder);
    ASSERT_FALSE(manual.isEmpty()) << "Help/Help.html is part of the program folder";

    QSet<QString> anchors;
    static const QRegularExpression id(QStringLiteral("\\bid=\"([^\"]+)\""));
    for (auto match = id.globalMatch(manual); match.hasNext();)
        anchors.insert(match.next().captured(1));
    static const QRegularExpression link(QStringLiteral("\\b(?:href|src)=\"([^\"]+)\""));
    for (auto match = link.globalMatch(manual); match.hasNext();) {
        const QString target = match.next().captured(1);
        if (target.startsWith(QLatin1Char('#')))
            EXPECT_TRUE(anchors.contains(target.mid(1))) << target.toStdString();
        else
            EXPECT_TRUE(QFileInfo::exists(folder.file("Help/" + target))) << target.toStdString();
    }

    frmMain main;
    for (QMenu* menu : {main.mnuFile, main.mnuSPLR4, main.mnuWindow, main.mnuHelp})
        for (const QString& caption : commandCaptions(menu))
            EXPECT_TRUE(manual.contains(caption)) << "the manual does not mention " << caption.toStdString();
}
