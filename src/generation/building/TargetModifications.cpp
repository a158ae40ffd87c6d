#include "generation/building/TargetModifications.h"

#include "app/log/Log.h"
#include "generation/building/PathSteps.h"
#include "generation/building/TransformItems.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

const QString source = QStringLiteral("TargetModification");

void applyModification(const xml::Node& entry, const xml::Document& target)
{
    const QString condition = requiredItemText(entry, QStringLiteral("TargetCondition"), source);
    const QString action = requiredItemText(entry, QStringLiteral("Action"), source);
    if (firstMatch(target, condition).isNull() || action.toUpper() != QLatin1String("DELETE"))
        return;
    WriteLog(logSeparator(), QString());
    WriteLog(log_category::Processing,
             entry.nodeName() + QStringLiteral(": ") + requiredItemText(entry, QStringLiteral("Description"), source));
    const QString targetQuery = requiredItemText(entry, QStringLiteral("Target"), source);
    const xml::Node node = firstMatch(target, targetQuery);
    if (node.isNull())
        throw VbError(err::General, source, QStringLiteral("The Target %1 selects nothing in the SPL.").arg(targetQuery));
    node.parentNode().removeChild(node);
}

} // namespace

void ApplyTargetModifications(const xml::Document& transformation, const xml::Document& target)
{
    for (const xml::Node& entry : transformation.selectNodes(QStringLiteral("Word2SPLTransform/TargetModification")))
        applyModification(entry, target);
}

} // namespace veldra
