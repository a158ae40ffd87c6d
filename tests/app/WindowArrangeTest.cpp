#include "app/window/WindowArrange.h"
#include "app/window/frmMain.h"
#include "app/MainWindowTestSupport.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

using namespace veldra;

TEST(WindowArrangeTest, EqualStripsFillTheAreaWithoutGapOrOverlap)
{
    const QRect area(0, 0, 800, 601);
    const QList<QRect> across = equalStrips(area, 3, Qt::Horizontal);
    ASSERT_EQ(across.size(), 3);
    EXPECT_EQ(across.at(0), QRect(0, 0, 800, 200));
    EXPECT_EQ(across.at(1), QRect(0, 200, 800, 200));
    EXPECT_EQ(across.at(2), QRect(0, 400, 800, 201));  // the last takes the remainder

    const QList<QRect> down = equalStrips(area, 3, Qt::Vertical);
    EXPECT_EQ(down.at(0), QRect(0, 0, 266, 601));
    EXPECT_EQ(down.at(2), QRect(532, 0, 268, 601));
    EXPECT_TRUE(equalStrips(area, 0, Qt::Vertical).isEmpty());
}

class WindowMenuTest : public ::testing::Test {
protected:
    WindowMenuTest()
    {
        main.resize(1000, 700);
        main.show();
        for (int i = 0; i < 3; ++i) {
            windows << main.mdiArea()->addSubWindow(new QWidget);
            windows.last()->resize(200, 150);
            windows.last()->show();
        }
        QApplication::processEvents();
    }

    QRect client() const { return main.mdiArea()->viewport()->rect(); }

    test::HookTableScope hooksScope;
    frmMain main;
    QList<QMdiSubWindow*> windows;
};

TEST_F(WindowMenuTest, TileHorizontallyStacksFullWidthStripsInOpeningOrder)
{
    windows.at(1)->showMaximized();
    main.mnuWindowTileHorizontally->trigger();
    const int strip = client().height() / 3;
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(windows.at(i)->isMaximized());
        EXPECT_EQ(windows.at(i)->geometry().topLeft(), QPoint(0, i * strip)) << i;
        EXPECT_EQ(windows.at(i)->width(), client().width()) << i;
    }
    EXPECT_EQ(windows.at(2)->geometry().bottom(), client().bottom());
}

TEST_F(WindowMenuTest, TileVerticallyPutsFullHeightStripsSideBySide)
{
    main.mnuWindowTileVertically->trigger();
    const int strip = client().width() / 3;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(windows.at(i)->geometry().topLeft(), QPoint(i * strip, 0)) << i;
        EXPECT_EQ(windows.at(i)->height(), client().height()) << i;
    }
    EXPECT_EQ(windows.at(2)->geometry().right(), client().right());
}

TEST_F(WindowMenuTest, MinimisedWindowsLineUpAlongTheBottomAndTilingLeavesThemRoom)
{
    windows.at(0)->showMinimized();
    windows.at(2)->showMinimized();
    main.mnuWindowArrangeIcons->trigger();
    const QRect first = windows.at(0)->geometry();
    const QRect third = windows.at(2)->geometry();
    EXPECT_EQ(first.left(), 0);
    EXPECT_EQ(first.bottom(), client().bottom());
    EXPECT_EQ(third.left(), first.right() + 1);
    EXPECT_EQ(third.top(), first.top());

    main.mnuWindowTileHorizontally->trigger();
    EXPECT_EQ(windows.at(1)->geometry(), QRect(0, 0, client().width(), client().height() - first.height()));
    EXPECT_TRUE(windows.at(0)->isMinimized());
}

TEST_F(WindowMenuTest, CascadeOverlapsTheWindowsDiagonally)
{
    main.mnuWindowCascade->trigger();
    EXPECT_LT(windows.at(0)->x(), windows.at(1)->x());
    EXPECT_LT(windows.at(0)->y(), windows.at(1)->y());
}
