#include "LogTestSupport.h"
#include "app/Hooks.h"
#include "app/window/frmMain.h"
#include "support/TempDir.h"
#include "support/Fixtures.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

using namespace veldra;
using veldra::test::FakeJob;
using veldra::test::LogTestFixture;

namespace {

void selectText(QTextEdit& box, const QString& needle)
{
    const qsizetype at = box.toPlainText().indexOf(needle);
    ASSERT_GE(at, 0);
    QTextCursor cursor(box.document());
    cursor.setPosition(int(at));
    cursor.setPosition(int(at + needle.size()), QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

} // namespace

TEST_F(LogTestFixture, CtrlASelectsEverythingButCtrlShiftADoesNot)
{
    WriteLog("Processing", "some text");
    QCoreApplication::processEvents();
    QTextEdit& log = box();
    log.moveCursor(QTextCursor::End);
    QTest::keyClick(&log, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(log.textCursor().hasSelection());
    QTest::keyClick(&log, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(log.textCursor().selectionStart(), 0);
    EXPECT_EQ(log.textCursor().selectionEnd(), log.document()->characterCount() - 1);
}

TEST_F(LogTestFixture, RightClickCopiesTheTrimmedSelection)
{
    WriteLog("Error", "copy me");
    QCoreApplication::processEvents();
    QTextEdit& log = box();
    selectText(log, "     copy me");
    QTest::mouseClick(log.viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(ui.clipboard, "copy me");
    EXPECT_TRUE(log.textCursor().hasSelection()) << "the right click keeps the selection";

    ui.clipboard = "stale";
    log.moveCursor(QTextCursor::End);
    QTest::mouseClick(log.viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(ui.clipboard.isEmpty());
}

TEST_F(LogTestFixture, EscapeInTheLogCancelsEveryRunningJob)
{
    frmMain main;
    auto word = std::make_shared<FakeJob>();
    auto loinc = std::make_shared<FakeJob>();
    auto unii = std::make_shared<FakeJob>();
    main.TargetWord = word;
    main.TargetLOINC = loinc;
    main.TargetUNII = unii;  // TargetNCI stays empty and is skipped

    WriteLog("Processing", "job");
    auto* sub = qobject_cast<QMdiSubWindow*>(logWindow()->parentWidget());
    ASSERT_NE(sub, nullptr) << "the log is a child window of the main window";
    EXPECT_EQ(sub->mdiArea(), main.mdiArea());

    QTest::keyClick(&box(), Qt::Key_B);
    EXPECT_FALSE(word->cancelled);
    QTest::keyClick(&box(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(word->cancelled);
    EXPECT_TRUE(loinc->cancelled);
    EXPECT_TRUE(unii->cancelled);
}

TEST_F(LogTestFixture, CancelOnEscapeWithoutMainWindowDoesNothing)
{
    ASSERT_EQ(mainForm(), nullptr);
    CancelOnEscape(27, 0);
    WriteLog("Processing", "x");
    EXPECT_EQ(logWindow()->parentWidget(), nullptr) << "without a main window the log is a window of its own";
}

TEST_F(LogTestFixture, FilesDroppedOnTheLogOpenAsSettingsDocuments)
{
    veldra::test::TempDir dir;
    veldra::test::writeTextFile(dir.file("a.XML"), "<SPLR4/>");
    veldra::test::writeTextFile(dir.file("b.txt"), "text");
    QStringList opened;
    hooks().OpenSettingsDocument = [&](const QString& path) { opened << path; };

    WriteLog("Processing", "x");
    const QString before = text();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.file("a.XML")), QUrl::fromLocalFile(dir.file("b.txt"))});
    QWidget* viewport = box().viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &drop);
    hooks().OpenSettingsDocument = nullptr;

    EXPECT_EQ(opened, QStringList{dir.file("a.XML")});
    EXPECT_EQ(text(), before) << "a drop never pastes into the log";
}

TEST_F(LogTestFixture, WritingEndsTheSelectionWithTheCaretAtTheEnd)
{
    WriteLog("Processing", "first");
    QCoreApplication::processEvents();
    selectText(box(), "first");
    WriteLog("Processing", "second");
    WriteLog("Processing", "third");
    QCoreApplication::processEvents();
    EXPECT_FALSE(box().textCursor().hasSelection());
    EXPECT_EQ(box().textCursor().position(), box().document()->characterCount() - 1);
}

// The log opens wide enough for its header and separator lines, without a horizontal scroll
// bar, in a main window of the usual size; in a smaller one it fits the window area instead.
TEST_F(LogTestFixture, TheLogOpensWideEnoughForItsLinesAndWithinTheWindowArea)
{
    frmMain main;
    main.resize(1600, 1000);
    main.show();
    WriteLog(logSeparator(), QString());
    WriteLog("Information", "Validating XML File against FDA SPL Schema...");
    QCoreApplication::processEvents();

    QTextEdit& log = box();
    EXPECT_EQ(log.horizontalScrollBar()->maximum(), 0) << "log width " << log.width();
    EXPECT_GE(log.viewport()->height() / log.fontMetrics().lineSpacing(), 25);

    closeLog();
    main.resize(900, 600);
    QCoreApplication::processEvents();
    WriteLog("Information", "again");
    const QWidget* frame = logWindow()->parentWidget();
    EXPECT_LE(frame->width(), main.mdiArea()->viewport()->width());
    EXPECT_LE(frame->height(), main.mdiArea()->viewport()->height());
}
