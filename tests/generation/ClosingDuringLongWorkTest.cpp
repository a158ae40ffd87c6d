// Long commands over an editor's document let events run; the user may close the editor then.
#include "generation/CheckingTestSupport.h"

#include "app/Hooks.h"
#include "app/log/Log.h"
#include "app/window/frmMain.h"
#include "editor/window/EditorHooks.h"
#include "editor/tree/TreeView.h"
#include "generation/InstallCheckingHooks.h"
#include "generation/InstallGenerationHooks.h"
#include "generation/ProgramWindows.h"
#include "generation/preview/frmPreview.h"
#include "platform/xml/tree/Document.h"
#include "support/SkippedErrors.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

using namespace veldra;

namespace {

const QString Settings = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<SPLR4 Word2SPLID="k0">
  <GeneralData Word2SPLID="k1"><DocumentID Word2SPLID="k2">doc-1</DocumentID><Title Word2SPLID="k3">Title</Title><EffectiveTime Word2SPLID="k4">20240115</EffectiveTime></GeneralData>
  <Labeler Word2SPLID="k5"><LabelerName Word2SPLID="k6">Labeler</LabelerName></Labeler>
</SPLR4>)");

class ClosingDuringLongWorkTest : public test::CheckingTest {
protected:
    ClosingDuringLongWorkTest() : savedHooks_(hooks()), savedEditorHooks_(editorHooks())
    {
        installGenerationHooks();
        installCheckingHooks();
    }
    ~ClosingDuringLongWorkTest() override
    {
        hooks() = savedHooks_;
        editorHooks() = savedEditorHooks_;
    }

    // Closes the editor, and deletes it at once, the first time the command lets events run:
    // through the program's pump or in an event loop of its own (the browser's wait).
    void closeAtFirstPump(frmXMLEditor* editor)
    {
        closed_ = false;
        QPointer<frmXMLEditor> window = editor;
        const auto close = [this, window] {
            if (std::exchange(closed_, true))
                return;
            if (window)
                window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        ui.onPump = close;
        closer_ = std::make_unique<QTimer>();
        closer_->setSingleShot(true);
        QObject::connect(closer_.get(), &QTimer::timeout, close);
        closer_->start(0);
    }

    bool closed_ = false;
    std::unique_ptr<QTimer> closer_;

private:
    Hooks savedHooks_;
    EditorHooks savedEditorHooks_;
};

bool hasPreviewWindow()
{
    for (QWidget* window : programWindows())
        if (qobject_cast<frmPreview*>(window))
            return true;
    return false;
}

// Commands started from the window keep it open until they end; commands that reach the
// editor through their hooks go on with the document they hold, whatever became of the window.
TEST_F(ClosingDuringLongWorkTest, EachCommandEndsCleanlyWhenTheUserClosesItsEditorWhileItRuns)
{
    // A command whose editor closed under it skips the reads it can no longer make.
    test::ExpectSkippedErrors skipped;
    struct Case {
        const char* command;
        std::function<void(frmXMLEditor*)> run;
        bool editorCloses;
        std::function<void()> check;
    };
    const QString built = dir.file(QStringLiteral("built.xml"));
    const QString report = dir.file(QStringLiteral("report.html"));
    const QString cough = test::fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml"));
    const auto buildCompleted = [&] {
        EXPECT_TRUE(QFileInfo::exists(built));
        EXPECT_TRUE(logText().contains(QStringLiteral("Operation Completed")));
        QFile::remove(built);
    };
    const auto importCompleted = [&] {
        EXPECT_TRUE(logHas(QStringLiteral("Information"), QStringLiteral("Import from SPL File completed: ") + cough));
    };
    const QList<Case> cases = {
        {"build from the menu",
         [&](frmXMLEditor*) {
             ui.saveFiles.push_back(built);
             main->mnuSPLR4TransformSPL->trigger();
         },
         false, buildCompleted},
        {"build through its hook",
         [&](frmXMLEditor* editor) { editorHooks().TransformSPLR4ToSPL(*editor->XMLDoc, built); }, true,
         buildCompleted},
        {"quick preview from the menu", [&](frmXMLEditor*) { main->MenuSPLR4QuickPreview->trigger(); }, false,
         [] { EXPECT_TRUE(hasPreviewWindow()); }},
        // The page is rendered while events run, and an editor closed meanwhile gets none.
        {"quick preview through its hook", [&](frmXMLEditor* editor) { editorHooks().PreviewSPLR4Document(editor); },
         true, [] { EXPECT_FALSE(hasPreviewWindow()); }},
        {"import from the menu",
         [&](frmXMLEditor* editor) {
             select(editor, QStringLiteral("General Data"));
             ui.openFiles.push_back(cough);
             main->mnuSPLR4ReverseTransform->trigger();
         },
         false, importCompleted},
        {"import through its hook",
         [&](frmXMLEditor* editor) {
             select(editor, QStringLiteral("General Data"));
             ui.openFiles.push_back(cough);
             editorHooks().ImportDataFromSPLFile(editor, editor->TreeView);
         },
         true,
         [&] { EXPECT_TRUE(logText().contains(QStringLiteral("The editor window was closed; nothing was imported."))); }},
        {"document report", [&](frmXMLEditor*) { hooks().CreateDocumentReport(report); }, true,
         [&] { EXPECT_TRUE(QFileInfo::exists(report)); }},
    };
    for (const Case& one : cases) {
        SCOPED_TRACE(one.command);
        closeLog();
        main->mnuShowLogging->setChecked(true);
        NoLogging = false;
        ui.messages.clear();
        QPointer<frmXMLEditor> editor = openEditor(Settings);
        closeAtFirstPump(editor);

        one.run(editor);

        EXPECT_TRUE(closed_) << "the command let no events run";
        EXPECT_EQ(editor.isNull(), one.editorCloses);
        EXPECT_EQ(messageTexts(ui).contains(QStringLiteral(
                      "A command is still working on this document. Please close the window when it has ended.")),
                  !one.editorCloses);
        one.check();
        for (QWidget* window : programWindows())
            if (qobject_cast<frmPreview*>(window))
                window->close();
        if (editor)
            editor->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace
