#include "editor/document/SettingsDocument.h"

#include "app/shared/SharedProcedures.h"
#include "editor/window/BusyCursor.h"
#include "editor/document/DefinitionDocument.h"
#include "editor/window/EditorErrors.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"

#include <QPointer>

namespace veldra {

namespace {

const QString Word2SPLID = QStringLiteral("Word2SPLID");
const QString GuidChildren = QStringLiteral("/*[@ConstraintDataType=\"GUID\"]");

bool isGuidElement(const xml::Node& element)
{
    return element.getAttribute(QStringLiteral("ConstraintDataType")) == QLatin1String("GUID");
}

// Returns how many targets got a new id.
int fillWithNewIds(const xml::NodeList& targets)
{
    int filled = 0;
    for (const xml::Node& target : targets)
        if (skip([&] { target.setText(NewGUID()); }))
            ++filled;
    return filled;
}

void assignIdsBelow(const xml::Node& node)
{
    for (const xml::Node& child : node.childNodes()) {
        if (child.nodeType() != xml::NodeType::Element)
            continue;
        assignIdsBelow(child);
        skip([&] { child.setAttribute(Word2SPLID, NewGUID()); });
    }
}

} // namespace

void OpenSPLR4Document(const QString& FileName)
{
    BusyCursor hourglass;
    ui::pumpMessages();
    const QPointer<frmXMLEditor> editor = ShowNewXMLEditor();
    editor->Mode = SettingsMode;
    const bool newDocument = FileName.isEmpty();
    editor->setWindowTitle(newDocument ? QStringLiteral("New SPLR4")
                                       : QStringLiteral("Edit SPLR4 [") + vbstr::fileNameOf(FileName) + QLatin1Char(']'));
    bool loaded = false;
    skip([&] {
        loaded = newDocument ? editor->XMLOnTreeView(definitionFilePath(), QStringLiteral("New SPLR4"), false)
                             : editor->XMLOnTreeView(FileName, QStringLiteral("Edit SPLR4"), true);
    });
    if (loaded && editor)
        skip([&] { editor->RefreshXML(false); });
}

bool CreateGUIDs(frmXMLEditor& editor)
{
    if (!editor.XMLDoc)
        return false;
    int renewed = 0;
    xml::Node element;
    skip([&] {
        const QString path = BuildXPathFromTreeView(editor.TreeView->selectedNode(), editor.Mode);
        element = editor.XMLDoc->selectSingleNode(path);
    });
    if (!element.isNull()) {
        xml::NodeList targets;
        if (element.nodeName() == QLatin1String("SPLR4"))
            skip([&] { targets = editor.XMLDoc->selectNodes(QStringLiteral("//*[@ConstraintDataType=\"GUID\"]")); });
        else
            skip([&] { targets = editor.XMLDoc->selectNodes(QStringLiteral("//") + xml::queryName(element.nodeName()) + GuidChildren); });
        renewed += fillWithNewIds(targets);
        skip([&] {
            if (isGuidElement(element)) {
                element.setText(NewGUID());
                ++renewed;
            }
        });
    }
    skip([&] { editor.RefreshXML(true); });
    return renewed > 0;
}

void CreateGUIDsOfElement(const xml::Node& element)
{
    xml::NodeList targets;
    skip([&] { targets = element.selectNodes(QStringLiteral("*[@ConstraintDataType=\"GUID\"]")); });
    fillWithNewIds(targets);
    skip([&] {
        if (isGuidElement(element))
            element.setText(NewGUID());
    });
}

void AssignWord2SPLIDs(const xml::Node& node)
{
    assignIdsBelow(node);
    skip([&] {
        if (node.nodeType() == xml::NodeType::Element)
            node.setAttribute(Word2SPLID, NewGUID());
    });
}

QString GetDocumentID(const frmXMLEditor& editor)
{
    try {
        if (!editor.XMLDoc)
            throw editorError(QStringLiteral("The window holds no settings document."));
        const xml::Node id = editor.XMLDoc->selectSingleNode(QStringLiteral("SPLR4/GeneralData/DocumentID"));
        if (id.isNull())
            throw editorError(QStringLiteral("The document has no SPLR4/GeneralData/DocumentID."));
        return id.text();
    } catch (const std::exception& e) {
        const VbError error = toVbError(e, app_info::title());
        ui::msgBox(error.source() + QLatin1Char(' ') + QString::number(error.number()) + QStringLiteral(" - GetDocumentID") +
                       error.description(),
                   ui::Buttons::OK, ui::Icon::Critical);
        return {};
    }
}

} // namespace veldra
