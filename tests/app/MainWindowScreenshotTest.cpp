// The main window as the user first sees it after a job has written to the log:
// menu bar, search panel with the logo, the log's coloured lines and the status bar
// all actually reach the screen. Set VELDRA_SCREENSHOT to a .png path to keep the picture.
#include "app/log/Log.h"
#include "app/window/MainStatusBar.h"
#include "app/search/SearchPanel.h"
#include "app/startup/Startup.h"
#include "app/log/frmLog.h"
#include "app/window/frmMain.h"
#include "app/MainWindowTestSupport.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTextEdit>
#include <functional>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

int countPixels(const QImage& image, const QRect& area, const std::function<bool(const QColor&)>& matches)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (matches(QColor(image.pixel(x, y))))
                ++count;
    return count;
}

bool isRed(const QColor& c) { return c.red() > 200 && c.green() < 70 && c.blue() < 70; }
bool isOrange(const QColor& c) { return c.red() > 200 && c.green() > 70 && c.green() < 140 && c.blue() < 60; }
bool isGreen(const QColor& c) { return c.red() < 70 && c.green() > 95 && c.green() < 160 && c.blue() < 70; }
bool isDark(const QColor& c) { return c.lightness() < 90; }
// The logo's teal.
bool isTeal(const QColor& c) { return c.red() < 80 && c.green() > 60 && c.blue() > 70 && c.blue() - c.red() > 40; }

QRect areaOf(const QWidget* widget, const QWidget* window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

} // namespace

TEST(MainWindowScreenshotTest, MenusPanelLogoColouredLogAndStatusBarAreDrawn)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    test::ProgramFolderCopy folder;
    NoLogging = false;
    frmMain main;
    Main();

    WriteLog(QStringLiteral("Processing"), QStringLiteral("Start Building SPL File"), true);
    WriteLog(QStringLiteral("Information"), QStringLiteral("The XML File is valid against the SPL schema"));
    WriteLog(QStringLiteral("Warning"), QStringLiteral("Section without LOINC code: using 42229-5"));
    WriteLog(QStringLiteral("Error"), QStringLiteral("Element 'title' is missing"));
    WriteDisclaimer();
    frmLog* log = logWindow();
    ASSERT_NE(log, nullptr);
    qobject_cast<QMdiSubWindow*>(log->parentWidget())->showMaximized();
    log->txtLog->moveCursor(QTextCursor::Start);
    QApplication::processEvents();

    const QImage shot = main.grab().toImage();
    if (const QByteArray path = qgetenv("VELDRA_SCREENSHOT"); !path.isEmpty())
        shot.save(QString::fromLocal8Bit(path));

    EXPECT_GT(countPixels(shot, areaOf(main.menuBar(), &main), isDark), 50) << "menu captions";
    EXPECT_GT(countPixels(shot, areaOf(main.PicContainer, &main), isDark), 50) << "search panel captions";
    EXPECT_GT(countPixels(shot, areaOf(main.picLogo, &main), isTeal), 100) << "logo";
    const QRect logArea = areaOf(log->txtLog->viewport(), &main);
    EXPECT_GT(countPixels(shot, logArea, isGreen), 10) << "Information line";
    EXPECT_GT(countPixels(shot, logArea, isOrange), 10) << "Warning line";
    EXPECT_GT(countPixels(shot, logArea, isRed), 10) << "Error line and disclaimer";
    EXPECT_TRUE(main.StatusBar->isVisible());
    EXPECT_GT(main.StatusBar->height(), 10);
    EXPECT_TRUE(ui.messages.isEmpty());
}
