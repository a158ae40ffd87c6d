#include "dialogs/WizardApply.h"

#include "app/shared/SharedProcedures.h"
#include "editor/document/ValueChecks.h"
#include "platform/core/VbString.h"

#include <QDir>

namespace veldra {

namespace {

bool setText(const xml::Node& node, const QString& text)
{
    if (node.text() == text)
        return false;
    node.setText(text);
    return true;
}

// The node's text with its last characters replaced by the value (a folder's number, say).
bool replaceEnding(const xml::Node& node, const QString& value)
{
    const QString text = node.text();
    if (value.size() > text.size())
        return false;
    return setText(node, text.left(text.size() - value.size()) + value);
}

void createFolder(const QString& path)
{
    if (!path.isEmpty())
        QDir().mkdir(vbstr::toNativeSeparators(path));
}

} // namespace

QString wizardTargetAction(const xml::Node& target)
{
    const QString action = target.getAttribute(QStringLiteral("Action"));
    return action.isNull() ? QStringLiteral("Copy") : action;
}

bool applyWizardTarget(const QString& fieldName, const QString& value, const xml::Node& target,
                       const xml::Node& node)
{
    if (fieldName == QLatin1String("GUID")) {
        node.setText(NewGUID());
        return true;
    }
    const QString action = wizardTargetAction(target);
    // A field left empty says nothing about its targets: they keep what they hold.
    if (action == QLatin1String("Copy"))
        return !value.isEmpty() && setText(node, value);
    if (action == QLatin1String("FolderID"))
        return replaceEnding(node, value);
    if (action == QLatin1String("CreateFolder"))
        createFolder(node.text());
    return false;
}

QString wizardTargetRefusal(const QString& fieldName, const QString& value, const xml::Node& target,
                            const xml::Node& node)
{
    // The definition attributes that check a value sit on elements; an attribute has none.
    if (fieldName == QLatin1String("GUID") || value.isEmpty() || wizardTargetAction(target) != QLatin1String("Copy")
        || node.nodeType() != xml::NodeType::Element)
        return {};
    return valueRefusal(node, node.nodeName(), value);
}

} // namespace veldra
