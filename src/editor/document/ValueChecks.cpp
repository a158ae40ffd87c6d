#include "editor/document/ValueChecks.h"

#include "app/window/Captions.h"
#include "app/shared/SharedProcedures.h"
#include "editor/window/EditorErrors.h"
#include "editor/window/FieldDialogs.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QTreeWidgetItem>

#include <optional>

namespace veldra {

namespace {

QString attributeText(const xml::Node& element, const char* name)
{
    return element.getAttribute(QLatin1String(name));
}

// A length limit read as a number; a limit that is not one is an error of the definition.
double lengthLimit(const QString& text, const char* attribute)
{
    if (!vbstr::isNumeric(text))
        throw editorError(QStringLiteral("%1 \"%2\" is not a number.").arg(QLatin1String(attribute), text));
    return vbstr::trim(text).toDouble();
}

int wholeNumber(const QString& text, const char* attribute)
{
    return static_cast<int>(lengthLimit(text, attribute));
}

QStringList listEntries(QString values)
{
    return values.replace(QStringLiteral("&amp;"), QStringLiteral("&")).split(QLatin1Char(';'));
}

// A coded entry "C42998 {TABLET}" is stored as its code.
QString codeOf(const QString& entry)
{
    return entry.contains(QLatin1Char('{')) ? vbstr::trim(entry.section(QLatin1Char('{'), 0, 0)) : entry;
}

bool refuse(const QString& message)
{
    ui::msgBox(message, ui::Buttons::OK, ui::Icon::Warning);
    return false;
}

bool isValueElement(const xml::Node& element)
{
    return !element.hasChildNodes() || element.firstChild().nodeType() == xml::NodeType::Text;
}

// The test value of a value element; nothing for the kinds that stay as they are.
std::optional<QString> testValue(const xml::Node& element)
{
    const QString minLen = attributeText(element, "ConstraintLengthMin");
    const QString maxLen = attributeText(element, "ConstraintLengthMax");
    const QString dataType = attributeText(element, "ConstraintDataType");
    const QString values = attributeText(element, "ConstraintValues");
    if (!values.isEmpty())
        return codeOf(values.section(QLatin1Char(';'), 0, 0));
    if (dataType == QLatin1String("Numeric")) {
        if (!maxLen.isEmpty())
            return QString(wholeNumber(maxLen, "ConstraintLengthMax"), QLatin1Char('1'));
        if (minLen.isEmpty())
            return QStringLiteral("123");
        return QString(wholeNumber(minLen, "ConstraintLengthMin"), QLatin1Char('1'));
    }
    if (dataType == QLatin1String("GUID"))
        return NewGUID();
    if (dataType.isEmpty()) {
        const xml::Node parent = element.parentNode();
        const QString parentId = parent.getAttribute(QStringLiteral("Word2SPLID"));
        if (parentId.isNull())
            throw editorError(QStringLiteral("%1 has no Word2SPLID.").arg(parent.nodeName()));
        QString value = parent.nodeName() + QLatin1Char('_') + element.nodeName() + QLatin1Char('_') + parentId;
        return value.remove(QLatin1Char(' '));
    }
    return std::nullopt;  // "File", "Folder", "SPLFile"
}

void rewriteCaption(QTreeWidgetItem* node, const QString& name, const QString& value)
{
    const QString caption = SplitCamelCase(name) + QStringLiteral(": ") + value;
    if (node->childCount() == 0) {
        setNodeCaption(node, caption);
        return;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        if (GetNamePart(nodeCaption(child)).remove(QLatin1Char(' ')) == name) {
            setNodeCaption(child, caption);
            return;
        }
    }
}

} // namespace

QString valueRefusal(const xml::Node& element, const QString& name, const QString& value)
{
    const QString minLen = attributeText(element, "ConstraintLengthMin");
    const QString maxLen = attributeText(element, "ConstraintLengthMax");
    const QString dataType = attributeText(element, "ConstraintDataType");
    const QString values = attributeText(element, "ConstraintValues");
    QString example = attributeText(element, "ConstraintExample");
    if (!example.isEmpty())
        example = QStringLiteral(" (") + example + QLatin1Char(')');
    const QString words = QLatin1Char('\'') + SplitCamelCase(name) + QLatin1Char('\'');

    if (!values.isEmpty() && !listEntries(values).contains(value))
        return {};
    if (!minLen.isEmpty() && value.size() < lengthLimit(minLen, "ConstraintLengthMin"))
        return words + QStringLiteral(" must have a minimum length of ") + minLen + example;
    if (!maxLen.isEmpty() && value.size() > lengthLimit(maxLen, "ConstraintLengthMax"))
        return words + QStringLiteral(" must have a maximum length of ") + maxLen + example;
    if (dataType == QLatin1String("Numeric") && !vbstr::isNumeric(value))
        return words + QStringLiteral(" must be numeric") + example;
    return {};
}

bool ValidateNodeValue(const xml::Node& element, const QString& name, const QString& value)
{
    const QString values = attributeText(element, "ConstraintValues");
    if (!values.isEmpty() && !listEntries(values).contains(value)) {
        ui::msgBox(QLatin1Char('\'') + SplitCamelCase(name)
                       + QStringLiteral("' should be selected from the provided list, or from FDA provided values."),
                   ui::Buttons::OK, ui::Icon::Information);
        return true;
    }
    const QString refusal = valueRefusal(element, name, value);
    return refusal.isEmpty() || refuse(refusal);
}

bool SetValueToTreeViewXML(QTreeWidgetItem* node, const QString& name, QString& value, const QString& path,
                           const xml::Document& doc)
{
    try {
        if (!node)
            throw editorError(QStringLiteral("No tree node is given."));
        const QString targetPath = node->childCount() > 0 ? path + QLatin1Char('/') + name : path;
        const xml::Node target = doc.selectSingleNode(targetPath);
        if (target.isNull())
            throw editorError(QStringLiteral("The document has no element at %1.").arg(targetPath));
        if (!ValidateNodeValue(target, name, value))
            return false;
        if (attributeText(target, "ConstraintValues").contains(QLatin1Char('{')) && value.contains(QLatin1Char('{')))
            value = codeOf(value);
        target.setText(value);
        rewriteCaption(node, name, value);
        return true;
    } catch (const std::exception& e) {
        throw passedOn(e, QStringLiteral("SetValueToTreeViewXML"));
    }
}

void EditNodeData(frmXMLEditor& editor)
{
    try {
        QTreeWidgetItem* node = editor.TreeView->selectedNode();
        if (!node || !editor.XMLDoc || isRootByCaption(node))
            return;
        FieldDialogRequest request;
        request.SourceForm = &editor;
        request.TargetTreeViewNode = node;
        const QString name = GetNamePart(nodeCaption(node));
        request.caption = GetNamePart(nodeCaption(node->parent())) + QStringLiteral(" - ") + name;
        request.info = infoCaption(name);
        request.frameCaption = request.caption;
        if (!node->isExpanded())
            node->setExpanded(true);
        const xml::Node element = elementBehind(node, *editor.XMLDoc);
        if (element.isNull())
            return;
        if (isValueElement(element)) {
            request.rows.push_back(element);
        } else {
            for (const xml::Node& child : element.childNodes())
                if (child.nodeType() == xml::NodeType::Element && isValueElement(child))
                    request.rows.push_back(child);
        }
        if (!request.rows.empty() && fieldDialogLauncher())
            fieldDialogLauncher()(request);
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, app_info::title()));
    }
}

void FillTestValues(const xml::Document& doc)
{
    for (const xml::Node& element : doc.selectNodes(QStringLiteral("//*"))) {
        if (!isValueElement(element))
            continue;
        if (const std::optional<QString> value = testValue(element))
            element.setText(*value);
    }
}

QString GetNodeDataType(const frmXMLEditor& editor)
{
    if (!editor.XMLDoc)
        return {};
    QString dataType;
    skip([&] { dataType = attributeText(elementBehind(editor.TreeView->selectedNode(), *editor.XMLDoc), "ConstraintDataType"); });
    return dataType;
}

} // namespace veldra
