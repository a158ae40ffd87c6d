#pragma once

#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QPointer>
#include <QStringList>
#include <gtest/gtest.h>

namespace veldra::test {

// Sends the per-user settings store (remembered folders) to a folder of the test's own.
class SettingsStoreRedirect {
public:
    SettingsStoreRedirect();
    ~SettingsStoreRedirect();

private:
    TempDir store_;
};

// Editor windows over small settings documents written to a temporary folder, with every
// dialog scripted and the program folder pointed at a copy of data/.
class TreeViewFixture : public ::testing::Test {
protected:
    ~TreeViewFixture() override;

    // Writes `text` to `name` in the temporary folder; returns the path.
    QString writeFile(const QString& name, const QString& text);

    // An editor window with the file loaded in mode "SPLR4" (no definition refresh) or "View".
    frmXMLEditor* openSettings(const QString& xmlText, const QString& name = QStringLiteral("Product.xml"));
    frmXMLEditor* openView(const QString& xmlText, const QString& name = QStringLiteral("Review.xml"));
    frmXMLEditor* openFile(const QString& path, const QString& mode);

    // The first node (tree order) whose caption starts with `caption`.
    static QTreeWidgetItem* node(const frmXMLEditor* editor, const QString& caption);
    // Selects that node; returns it.
    static QTreeWidgetItem* select(frmXMLEditor* editor, const QString& caption);
    static QStringList captions(const frmXMLEditor* editor);
    static QStringList keys(const frmXMLEditor* editor);
    static int countWithBackColor(const frmXMLEditor* editor, const QColor& color);
    // Texts of the nodes the query selects in the editor's document.
    static QStringList texts(const frmXMLEditor* editor, const QString& query);

    ScriptedUi ui;
    SettingsStoreRedirect settingsStore;
    ProgramFolderCopy program;
    TempDir dir;

private:
    QList<QPointer<frmXMLEditor>> editors_;
};

// A settings document with groups, values, hidden and shown attributes.
QString sampleSettings();

} // namespace veldra::test
