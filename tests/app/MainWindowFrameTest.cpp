#include "app/window/MainStatusBar.h"
#include "app/startup/Startup.h"
#include "app/window/frmMain.h"
#include "platform/core/AppPaths.h"
#include "platform/ui/WorkProgress.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "app/MainWindowTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

using namespace veldra;

namespace {

const QString exitQuestion = QStringLiteral("Are you sure you want to exit Veldra Structured Product Labeling?");

QMdiSubWindow* addChild(frmMain& main, QWidget* child)
{
    QMdiSubWindow* frame = main.mdiArea()->addSubWindow(child);
    frame->show();
    return frame;
}

// Ending the program asks the application to exit, after which every event loop, a dialog's
// included, returns at once. The tests after these run on an application whose request was
// cleared, as starting and ending its main loop does.
class ExitTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
};

} // namespace

TEST_F(ExitTest, NoKeepsTheProgramAndEveryWindowAsTheyWere)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    main.show();
    auto* editor = new test::FakeEditor;
    addChild(main, editor);
    ui.answers.push_back(ui::Answer::No);

    main.mnuFileExit->trigger();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.at(0).text, exitQuestion);
    EXPECT_EQ(ui.messages.at(0).buttons, ui::Buttons::YesNo);
    EXPECT_EQ(ui.messages.at(0).icon, ui::Icon::Question);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 1);
}

TEST_F(ExitTest, YesClosesEveryWindowAndTheCloseBoxAsksTheSame)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    main.show();
    QPointer<QWidget> editor = new test::FakeEditor;
    QPointer<QWidget> log = new QWidget;
    log->setAttribute(Qt::WA_DeleteOnClose);
    addChild(main, log);
    addChild(main, editor);
    QWidget separate;
    separate.show();
    ui.answers.push_back(ui::Answer::Yes);

    EXPECT_TRUE(main.close());

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.at(0).text, exitQuestion);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
    EXPECT_TRUE(log.isNull());
    EXPECT_FALSE(separate.isVisible());
    EXPECT_FALSE(main.isVisible());
}

TEST_F(ExitTest, AnEditorThatKeepsItsUnsavedDocumentStopsTheExit)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    main.show();
    QPointer<QWidget> log = new QWidget;
    addChild(main, log);
    auto* saved = new test::FakeEditor;
    QPointer<QWidget> savedWindow = saved;
    addChild(main, saved);
    auto* unsaved = new test::FakeEditor;
    unsaved->refuseClose = true;
    addChild(main, unsaved);

    EXPECT_FALSE(main.close());

    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(unsaved->isVisible());
    EXPECT_TRUE(savedWindow.isNull());  // an editor that agreed has closed
    ASSERT_FALSE(log.isNull());         // the log is kept: nothing is lost
    EXPECT_TRUE(log->isVisible());
}

// A close while work runs (its progress window in front) would free the windows the work reads:
// the program stays and says why, the work goes on to its end, and a close after it asks the
// exit question as ever.
TEST_F(ExitTest, AClosePressedWhileWorkRunsSaysTheWorkMustEndFirstAndTheWorkGoesOn)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    main.show();
    QPointer<QWidget> editor = new test::FakeEditor;
    addChild(main, editor);
    struct Row {
        const char* name;
        std::function<void()> close;
    };
    const QList<Row> rows = {
        {"the close button", [&] { main.close(); }},
        {"File > Exit", [&] { main.mnuFileExit->trigger(); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.messages.clear();
        bool pressed = false;
        ui::WorkProgress::setStopHook([&] {
            if (!std::exchange(pressed, true))
                row.close();
            return false;
        });
        int stepsDone = 0;
        {
            ui::WorkProgress work(QStringLiteral("Rendering the preview..."), 3);
            while (stepsDone < 3 && work.keepGoing(stepsDone + 1))
                ++stepsDone;
        }
        ui::WorkProgress::setStopHook({});

        EXPECT_EQ(stepsDone, 3);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages.at(0).text.startsWith(
            "Veldra Structured Product Labeling cannot exit while work is in progress."));
        EXPECT_TRUE(ui.messages.at(0).text.contains("press Cancel in the progress window"));
        EXPECT_EQ(ui.messages.at(0).icon, ui::Icon::Information);
        EXPECT_TRUE(main.isVisible());
        EXPECT_FALSE(editor.isNull());
    }
    ui.answers.push_back(ui::Answer::No);
    EXPECT_FALSE(main.close());
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages.at(1).text, exitQuestion);
}

// The exit question names the documents whose changes are not saved, and each of their editors
// comes to the front before it asks about its own.
TEST_F(ExitTest, TheQuestionNamesTheChangedDocumentsAndEachComesForwardToAsk)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    main.show();
    const auto openEditor = [&](const QString& title, bool saved) {
        auto* editor = new test::FakeEditor;
        editor->setWindowTitle(title);
        editor->saved = saved;
        addChild(main, editor);
        return editor;
    };
    test::FakeEditor* first = openEditor(QStringLiteral("Edit SPLR4 [first.xml]"), false);
    openEditor(QStringLiteral("Edit SPLR4 [kept.xml]"), true);
    test::FakeEditor* last = openEditor(QStringLiteral("New SPLR4"), false);
    last->refuseClose = true;  // its own question is cancelled
    QStringList inFront;
    for (test::FakeEditor* editor : {first, last})
        editor->onClose = [&main, &inFront] { inFront << main.mdiArea()->currentSubWindow()->widget()->windowTitle(); };
    ui.answers.push_back(ui::Answer::Yes);

    EXPECT_FALSE(main.close());

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.at(0).text,
              exitQuestion
                  + QStringLiteral("\r\n\r\nThese documents have changes that are not saved; each will ask whether "
                                   "to save them:\r\n\r\nEdit SPLR4 [first.xml]\r\nNew SPLR4"));
    EXPECT_EQ(inFront, QStringList({"Edit SPLR4 [first.xml]", "New SPLR4"}));
}

TEST(MainWindowFrameTest, NarrowestWidthHoldsAndTheLogoStaysRightAligned)
{
    test::HookTableScope hooksScope;
    frmMain main;
    main.resize(500, 500);
    EXPECT_EQ(main.width(), 782);  // 11730 twips

    main.resize(1000, 500);
    main.MDIForm_Resize();
    EXPECT_EQ(main.width(), 1000);
    EXPECT_EQ(main.picLogo->geometry().right() + 1, 1000 - 17);  // 250 twips margin
    EXPECT_EQ(main.picLogo->size(), QSize(170, 50));
}

TEST(MainWindowFrameTest, DroppedFilesOpenOnlyWhenTheyAreXml)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    test::TempDir dir;
    QStringList opened;
    hooks().OpenSettingsDocument = [&](const QString& path) { opened << path; };
    for (const char* name : {"a.XML", "b.txt", "c.xml"}) {
        QFile file(dir.file(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<SPLR4/>");
    }
    frmMain main;
    main.show();

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.file("a.XML")), QUrl::fromLocalFile(dir.file("b.txt")),
                  QUrl::fromLocalFile(dir.file("c.xml"))});
    const QPoint where = main.mdiArea()->viewport()->rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main.mdiArea()->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main.mdiArea()->viewport(), &drop);

    EXPECT_EQ(opened, QStringList({dir.file("a.XML"), dir.file("c.xml")}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(MainWindowFrameTest, StartShowsThePreparedWindowThenRestoresTheBuildForm)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    test::ProgramFolderCopy folder;
    frmMain main;
    QStringList calls;
    hooks().LoadWizardMenu = [&] { calls << (main.isVisible() ? "wizards after show" : "wizards"); };
    hooks().LoadSettingsFile = [&](const QString& path) {
        calls << (main.isVisible() ? "settings " + path : "settings before show");
    };

    Main();

    EXPECT_EQ(calls, QStringList({"wizards", "settings " + app_paths::inProgram("LastSettings.xml")}));
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.isMaximized());
    ASSERT_EQ(main.cboCodeSystem->count(), 4);
    EXPECT_EQ(main.cboCodeSystem->itemText(0), QStringLiteral("All Code Systems"));
    EXPECT_EQ(main.cboCodeSystem->itemText(3), QStringLiteral("UNII Codes"));
    EXPECT_EQ(main.cboCodeSystem->currentText(), QStringLiteral("All Code Systems"));
    EXPECT_EQ(main.StatusBar->Panels(1)->width(), 133);
    EXPECT_EQ(main.StatusBar->Panels(2)->width(), 133);
    EXPECT_FALSE(main.picLogo->pixmap().isNull());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Veldra"));
    EXPECT_TRUE(ui.messages.isEmpty());
}
