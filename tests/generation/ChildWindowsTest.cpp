#include "generation/CheckingTestSupport.h"

#include "app/log/Log.h"
#include "app/window/MainStatusBar.h"
#include "app/log/frmLog.h"
#include "app/window/frmMain.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

const QString Settings = QStringLiteral(
    "<SPLR4 Word2SPLID=\"k0\"><GeneralData Word2SPLID=\"k1\"><DocumentID Word2SPLID=\"k2\">d</DocumentID>"
    "</GeneralData></SPLR4>");

QMdiSubWindow* frameOf(QWidget* window)
{
    return qobject_cast<QMdiSubWindow*>(window->parentWidget());
}

// The main window's child windows on a real (offscreen) screen.
class ChildWindowsTest : public test::CheckingTest {
protected:
    void SetUp() override
    {
        main->resize(1200, 900);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }

    QStringList panelTexts() const
    {
        QStringList texts;
        for (int i = 1; i <= 3; ++i)
            texts << main->StatusBar->Panels(i)->text();
        return texts;
    }
};

// Editor windows open at a size that shows their tree: the MDI area less a few cascade steps,
// each one a step further down and right, all inside the area.
TEST_F(ChildWindowsTest, EditorWindowsOpenNearlyAsLargeAsTheAreaAndCascade)
{
    QMdiSubWindow* first = frameOf(openEditor(Settings, QStringLiteral("First.xml")));
    QMdiSubWindow* second = frameOf(openEditor(Settings, QStringLiteral("Second.xml")));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const QRect area(QPoint(), main->mdiArea()->viewport()->size());
    for (QMdiSubWindow* frame : {first, second}) {
        EXPECT_GT(frame->width(), area.width() * 3 / 4);
        EXPECT_GT(frame->height(), area.height() * 3 / 4);
        EXPECT_TRUE(area.contains(frame->geometry())) << frame->geometry().x() << "," << frame->geometry().y();
    }
    EXPECT_GT(second->x(), first->x());
    EXPECT_GT(second->y(), first->y());
}

// A window that opens leaves a maximised log maximised, at its size.
TEST_F(ChildWindowsTest, OpeningAWindowLeavesAMaximisedLogAsItIs)
{
    ShowLogWindow(false);
    QMdiSubWindow* log = frameOf(logWindow());
    ASSERT_NE(log, nullptr);
    log->showMaximized();
    const QSize maximised = log->size();

    openEditor(Settings);

    EXPECT_TRUE(log->isMaximized());
    EXPECT_EQ(log->size(), maximised);
}

// The status bar describes the selected node of an editor until that editor closes.
TEST_F(ChildWindowsTest, TheStatusBarIsEmptiedWhenTheEditorItDescribesCloses)
{
    frmXMLEditor* described = openEditor(Settings, QStringLiteral("First.xml"));
    frmXMLEditor* other = openEditor(Settings, QStringLiteral("Second.xml"));
    select(described, QStringLiteral("Document ID"));
    described->RenderStatusBarInfo();
    const QStringList shown = panelTexts();
    EXPECT_EQ(shown.at(1), QStringLiteral("Document ID"));

    other->close();
    EXPECT_EQ(panelTexts(), shown);
    described->close();
    EXPECT_EQ(panelTexts(), QStringList({QString(), QString(), QString()}));
}

} // namespace
