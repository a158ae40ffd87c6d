#include "editor/window/frmXMLEditor.h"

#include "app/window/MainStatusBar.h"
#include "app/window/frmMain.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace veldra {

frmXMLEditor::frmXMLEditor(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(NewEditorCaption);

    TreeView = new EditorTreeView(this);
    TreeView->setObjectName(QStringLiteral("TreeView"));
    TreeView->setAcceptDrops(true);
    TreeView->viewport()->setAcceptDrops(true);
    TreeView->setDragDropMode(QAbstractItemView::DropOnly);
    TreeView->installEventFilter(this);
    TreeView->viewport()->installEventFilter(this);

    picTreeView = new QLabel(this);
    picTreeView->setObjectName(QStringLiteral("picTreeView"));
    picTreeView->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TreeView);

    // Form_Load
    skip([this] { LoadTreeViewImages(); });
    if (frmMain* main = mainForm())
        previousEditor_ = main->SourceXMLEditor;
    makeCurrentEditor();
}

frmXMLEditor::~frmXMLEditor() = default;

frmXMLEditor* frmXMLEditor::ofTree(const EditorTreeView* tree)
{
    for (QWidget* w = tree ? tree->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* editor = qobject_cast<frmXMLEditor*>(w))
            return editor;
    return nullptr;
}

bool frmXMLEditor::isSettingsMode() const
{
    return Mode == SettingsMode;
}

void frmXMLEditor::makeCurrentEditor()
{
    if (frmMain* main = mainForm())
        main->SourceXMLEditor = this;
}

xml::Document* frmXMLEditor::settingsDocument()
{
    return XMLDoc.get();
}

void frmXMLEditor::setSaved(bool saved)
{
    Saved = saved;
}

bool frmXMLEditor::hasUnsavedChanges()
{
    return !Saved && isSettingsMode() && XMLDoc;
}

void frmXMLEditor::setMode(const QString& mode)
{
    Mode = mode;
}

bool frmXMLEditor::XMLOnTreeView(const QString& XMLFile, const QString& Action, bool UpdateConstraintsFromTemplate)
{
    if (XMLOnTreeView(TreeView, XMLFile, Action, UpdateConstraintsFromTemplate))
        return true;
    closeAfterFailedOpen();
    return false;
}

// An empty window left in front would take the commands meant for the editor before it (a
// save would find nothing to save, or say it holds a file for review). The editor before it
// comes back to the front as well as being current: the area would otherwise bring up the
// window next in its own order, and the commands would act on another window than the one seen.
void frmXMLEditor::closeAfterFailedOpen()
{
    const QPointer<QWidget> previous = previousEditor_;
    XMLDoc.reset();
    Saved = true;
    close();
    frmMain* main = mainForm();
    if (!main)
        return;
    main->SourceXMLEditor = previous;
    if (previous)
        main->showChildWindow(previous);
}

QString frmXMLEditor::selectedNodeValue()
{
    QString value;
    if (XMLDoc)
        skip([&] { value = GetXMLValueFromTreeView(TreeView->selectedNode(), *XMLDoc); });
    return value;
}

// Asks whether unsaved changes are to be saved. Returns false when the window is to stay
// open: the user cancelled, or the document did not get saved (a cancelled file dialog or a
// failed save), so that closing never loses changes the user wanted to keep.
bool frmXMLEditor::Form_QueryUnload()
{
    if (!hasUnsavedChanges())
        return true;
    const ui::Answer answer =
        ui::msgBox(QStringLiteral("This Settings Document has been changed. Do you want to save the changes?"),
                   ui::Buttons::YesNoCancel, ui::Icon::Warning);
    if (answer == ui::Answer::Cancel)
        return false;
    if (answer == ui::Answer::Yes)
        return SaveXMLDoc(false);
    return true;
}

void frmXMLEditor::closeEvent(QCloseEvent* event)
{
    if (unloaded_) {
        event->accept();
        return;
    }
    if (commandRunning()) {
        event->ignore();
        ui::msgBox(QStringLiteral("A command is still working on this document. Please close the window when it "
                                  "has ended."),
                   ui::Buttons::OK, ui::Icon::Information);
        return;
    }
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    unloaded_ = true;
    XMLDoc.reset();
    event->accept();
    if (frmMain* main = mainForm(); main && main->StatusBar)
        main->StatusBar->forget(this);
    // Closed directly rather than through its frame: the frame goes too.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
}

frmXMLEditor* ShowNewXMLEditor()
{
    auto* editor = new frmXMLEditor;
    if (frmMain* main = mainForm())
        main->showChildWindow(editor);
    else
        editor->show();
    return editor;
}

} // namespace veldra
