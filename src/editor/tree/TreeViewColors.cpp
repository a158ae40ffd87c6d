// Node colours: the Color attributes of the document painted onto the tree, and the
// command that gives the selected element a colour.

#include "editor/window/frmXMLEditor.h"

#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/window/SharedDialog.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "platform/ui/CommonDialog.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"

#include <cmath>

namespace veldra {

namespace {

const QString ColorAttribute = QStringLiteral("Color");

// The text of a Color attribute read as a whole number.
long colorNumberOf(const QString& text)
{
    if (!vbstr::isNumeric(text))
        throw VbError(err::General, QStringLiteral("RenderTreeviewColor"), QStringLiteral("Type mismatch"));
    return std::lround(vbstr::trim(text).toDouble());
}

// The elements with a Color attribute, in document order (as "//*[@Color]" selects them),
// found in one walk that makes a handle only for them: an open paints them over a tree of
// tens of thousands of nodes, most documents having none or a few.
void collectColored(const xml::Cursor& document, QList<xml::Node>& colored)
{
    xml::forEachElement(document, [&colored](const xml::Cursor& element) {
        if (element.hasAttribute("Color"))
            colored << element.node();
    });
}

} // namespace

void frmXMLEditor::RenderTreeviewColor()
{
    if (!XMLDoc)
        return;
    QList<xml::Node> colored;
    if (!skip([&] {
            if (!XMLDoc->documentElement().isNull())
                collectColored(xml::Cursor(XMLDoc->documentElement().parentNode()), colored);
        }))
        return;
    for (const xml::Node& element : colored) {
        skip([&] {
            QTreeWidgetItem* node = TreeView->nodeByKey(element.getAttribute(QStringLiteral("Word2SPLID")));
            if (node)
                setNodeBackColor(node, colorFromNumber(colorNumberOf(element.getAttribute(ColorAttribute))));
        });
    }
}

void frmXMLEditor::SetColor()
{
    ui::CommonDialog& dialog = sharedDialog();
    bool chosen = false;
    skip([&] { chosen = dialog.showColor(); });  // a cancel may raise an error: both end here
    if (!chosen)
        return;
    const long color = colorNumber(dialog.color);
    QTreeWidgetItem* selected = TreeView->selectedNode();

    xml::Node element;
    skip([&] {
        if (XMLDoc)
            element = XMLDoc->selectSingleNode(BuildXPathFromTreeView(selected, Mode));
    });
    if (selected)
        setNodeBackColor(selected, colorFromNumber(color));
    skip([&] {
        element.setAttribute(ColorAttribute, QString::number(color));
        Saved = false;
    });
    TreeView->deselectNode();
}

} // namespace veldra
