#include "DialogTestSupport.h"

#include "dialogs/ShowFieldDialog.h"
#include "editor/window/FieldDialogs.h"
#include "editor/tree/TreeView.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"

#include <QCoreApplication>
#include <QEvent>

namespace veldra::test {

DialogFixture::DialogFixture()
{
    fieldDialogLauncher() = [this](const FieldDialogRequest& request) {
        const QList<frmXMLDataEdit*> before = openWindows<frmXMLDataEdit>();
        ShowFieldDialog(request);
        for (frmXMLDataEdit* dialog : openWindows<frmXMLDataEdit>())
            if (!before.contains(dialog))
                lastFieldDialog = dialog;
    };
}

DialogFixture::~DialogFixture()
{
    closeAllDialogs();
    for (const QPointer<QWidget>& window : windows_)
        delete window.data();
    fieldDialogLauncher() = nullptr;
}

frmXMLEditor* DialogFixture::openSettings(const QString& xmlText, const QString& fileName)
{
    const QString path = dir.file(fileName);
    writeTextFile(path, xmlText);
    auto* editor = new frmXMLEditor;
    windows_.append(editor);
    editor->Mode = QStringLiteral("SPLR4");
    editor->XMLOnTreeView(editor->TreeView, path, QStringLiteral("Edit SPLR4"), false);
    return editor;
}

frmXMLEditor* DialogFixture::newSettings()
{
    auto* editor = new frmXMLEditor;
    windows_.append(editor);
    editor->Mode = QStringLiteral("SPLR4");
    editor->XMLOnTreeView(editor->TreeView, app_paths::inProgram(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml")),
                          QStringLiteral("New SPLR4"), false);
    return editor;
}

QTreeWidgetItem* DialogFixture::nodeOf(const frmXMLEditor* editor, const QString& query)
{
    const xml::Node element = editor->XMLDoc->selectSingleNode(query);
    return element.isNull() ? nullptr : editor->TreeView->nodeByKey(element.getAttribute(QStringLiteral("Word2SPLID")));
}

QStringList DialogFixture::texts(const frmXMLEditor* editor, const QString& query)
{
    QStringList all;
    for (const xml::Node& node : editor->XMLDoc->selectNodes(query))
        all << node.text();
    return all;
}

QStringList DialogFixture::messageTexts() const
{
    QStringList all;
    for (const ui::MessageRequest& message : ui.messages)
        all << message.text;
    return all;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void closeAllDialogs()
{
    // Deleting a dialog deletes the top-level pop-ups of its lists too: collect first.
    QList<QPointer<FieldRowDialog>> dialogs;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<FieldRowDialog*>(widget))
            dialogs << dialog;
    for (const QPointer<FieldRowDialog>& dialog : dialogs)
        delete dialog.data();
}

} // namespace veldra::test
