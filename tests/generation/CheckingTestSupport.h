#pragma once

#include "editor/window/frmXMLEditor.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

class QTreeWidgetItem;

namespace veldra {
class frmMain;
}

namespace veldra::test {

// The scripted dialogs, with a look at the moment each message box is shown, and an action
// run once at the next point where a command lets events run.
class CheckingUi : public ScriptedUi {
public:
    std::function<void(const ui::MessageRequest&)> onMessage;
    std::function<void()> onPump;
    ui::Answer message(const ui::MessageRequest& request) override
    {
        if (onMessage)
            onMessage(request);
        return ScriptedUi::message(request);
    }
    void pumpMessages() override
    {
        ScriptedUi::pumpMessages();
        if (onPump)
            std::exchange(onPump, nullptr)();
    }
};

// Lets the browser control run in tests: headless, as a user without a sandbox.
void prepareBrowserForTests();

// The program folder for the checking tests: a copy of data/ with the small checking
// definition set of tests/data/checking/SPLR4Definitions laid over it.
class CheckingProgramFolder {
public:
    CheckingProgramFolder();
    QString path() const { return copy_.path(); }
    QString file(const QString& relative) const { return copy_.file(relative); }
    // Puts the shipped definition set of data/SPLR4Definitions back in place.
    void useShippedDefinitions() const;
    // Writes a file of the program folder (e.g. "SPLR4Definitions/TransformSPLR4.xml").
    void write(const QString& relative, const QString& text) const;

private:
    ProgramFolderCopy copy_;
};

// Sends the per-user settings store (remembered folders) to a folder of the test's own.
class SettingsStoreRedirect {
public:
    SettingsStoreRedirect();
    ~SettingsStoreRedirect();

private:
    TempDir store_;
};

// A main window with editor windows over settings documents, every dialog scripted, the
// program folder pointed at the checking definitions and the log read back as text.
class CheckingTest : public ::testing::Test {
protected:
    CheckingTest();
    ~CheckingTest() override;

    // Writes `text` to `name` in the test's folder; returns the path.
    QString writeFile(const QString& name, const QString& text) const;

    // An editor window in the main window holding the document (mode "SPLR4" or "View"),
    // captioned as an opened settings document; it becomes the current editor.
    frmXMLEditor* openEditor(const QString& xmlText, const QString& name = QStringLiteral("Settings.xml"),
                             const QString& mode = QStringLiteral("SPLR4"));

    // The first node (tree order) captioned `caption`, else the first whose caption starts with it.
    static QTreeWidgetItem* node(const frmXMLEditor* editor, const QString& caption);
    static QTreeWidgetItem* select(frmXMLEditor* editor, const QString& caption);
    static QStringList captions(const frmXMLEditor* editor);

    static QString logText();
    // True when the log holds the line that WriteLog(category, message) writes.
    static bool logHas(const QString& category, const QString& message);
    static void closeLog();

    CheckingUi ui;
    SettingsStoreRedirect settingsStore;
    CheckingProgramFolder program;
    TempDir dir;
    std::unique_ptr<frmMain> main;
};

// Message texts the scripted UI was shown, in order.
QStringList messageTexts(const ScriptedUi& ui);

} // namespace veldra::test
