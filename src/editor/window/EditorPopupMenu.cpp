// The editor's context menu (the main window's "Popup" menu, prepared for the selected
// node before each showing) and the status bar texts of the selected node.

#include "editor/window/frmXMLEditor.h"

#include "app/window/Captions.h"
#include "app/window/MainStatusBar.h"
#include "app/window/frmMain.h"
#include "editor/document/NodeRules.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "platform/core/Skip.h"
#include "platform/xml/tree/Document.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>

namespace veldra {

void frmXMLEditor::RenderPopupMenu()
{
    frmMain* main = mainForm();
    if (!main || !main->mnuSPLR4Popup || !isSettingsMode())
        return;
    QTreeWidgetItem* node = TreeView->selectedNode();
    xml::Node element;
    if (XMLDoc)
        skip([&] { element = elementBehind(node, *XMLDoc); });
    QString words;
    skip([&] { words = SplitCamelCase(GetNodeNameFromCaption(node)); });

    skip([&] { main->mnuPopUpChangeSortOrder->setText(QStringLiteral("Reverse '") + words + QStringLiteral("' Sort Order")); });
    skip([&] { main->mnuSPLR4Clone->setText(QStringLiteral("Clone '") + words + QLatin1Char('\'')); });
    skip([&] { main->mnuSPLR4RemoveDataElement->setText(QStringLiteral("Remove '") + words + QLatin1Char('\'')); });
    skip([&] { main->mnuSPLR4AddNode->setEnabled((node && node->childCount() > 0) || IsSPLFileNode(element)); });
    skip([&] {
        const QString type = GetNodeDataType(*this);
        main->mnuSPLR4PopupOpenFile->setVisible(type == QLatin1String("File") || type == QLatin1String("Folder"));
    });
    skip([&] { main->mnuSPLR4Clone->setVisible(CanCloneNode(node)); });
    skip([&] { main->mnuSPLR4ReverseTransform->setVisible(CanReverseTransformNode(node)); });
    skip([&] {
        if (isRootByCaption(node))
            main->mnuSPLR4RemoveDataElement->setEnabled(false);
        else
            main->mnuSPLR4RemoveDataElement->setEnabled(CanRemoveNode(element));
    });
    skip([&] { main->mnuSPLR4ProductLabelAddSectionNumbers->setVisible(nodeCaption(node) == QLatin1String("Document Sections")); });
    skip([&] {
        main->mnuSPLR4PopupAnalyzeWordDocumentFormatting->setVisible(nodeCaption(node) == QLatin1String("Word Document"));
    });
    main->mnuSPLR4Popup->popup(QCursor::pos());
}

void frmXMLEditor::RenderStatusBarInfo()
{
    frmMain* main = mainForm();
    if (!main || !main->StatusBar)
        return;
    QTreeWidgetItem* node = TreeView->selectedNode();
    if (!node)
        return;
    main->StatusBar->describe(this);
    skip([&] {
        main->StatusBar->Panels(1)->setText(node->parent() ? SplitCamelCase(GetNodeNameFromCaption(node->parent()))
                                                           : QString());
    });
    skip([&] { main->StatusBar->Panels(2)->setText(SplitCamelCase(GetNodeNameFromCaption(node))); });
    skip([&] { main->StatusBar->Panels(3)->setText(GetNodeExample(*this, node)); });
}

} // namespace veldra
