#include "generation/building/PostProcessing.h"

#include "app/log/Log.h"
#include "generation/building/DefinitionFiles.h"
#include "generation/building/TransformItems.h"
#include "platform/core/VbError.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

const QString source = QStringLiteral("RunPostProcessing");

void fillValue(const xml::Node& value, const QString& entryName, const xml::Node& sourceNode, const xml::Node& fragment)
{
    const QString sourceText = requiredItemText(value, QStringLiteral("Source"), source);
    const xml::Node targetItem = requiredItem(value, QStringLiteral("Target"), source);
    const xml::Node from = sourceNode.selectSingleNode(sourceText);
    const xml::Node to = fragment.selectSingleNode(targetItem.text());
    if (from.isNull())
        WriteLog(log_category::Warning, sourceText + QStringLiteral(" - Source Value not found"));
    if (to.isNull()) {
        QString message = targetItem.text() + QStringLiteral(" - Target not found - check Postprocessing definition");
        if (!from.isNull())
            message += QStringLiteral(" Source: ") + from.nodeName();
        WriteLog(log_category::Warning, message);
    }
    if (from.isNull() || to.isNull())
        return;

    WriteLog(log_category::Postprocessing, entryName + QStringLiteral(" - ") + sourceText + QStringLiteral(" > ") + to.nodeName()
                           + QStringLiteral(" = ") + from.text());
    const QString text = GetPrefixPostfix(targetItem, true) + from.text() + GetPrefixPostfix(targetItem, false);
    const QString attribute = targetItem.getAttribute(QStringLiteral("Attribute"));
    if (attribute.isNull()) {
        to.setText(text);
    } else {
        if (!to.hasAttribute(attribute))
            throw VbError(err::General, source,
                          QStringLiteral("The fragment element %1 has no attribute %2.").arg(to.nodeName(), attribute));
        to.setAttribute(attribute, text);
    }
    to.setAttribute(Word2SPLIDAttribute, settingsIdentity(from, source));
}

// Appends the fragment below the node at Definition/Target, or only its repeated part
// beside the members of a group that exists already.
void placeFragment(const xml::Node& entry, const xml::Node& fragment, const QString& filterValue, const xml::Document& target)
{
    const QString targetPath = xml::withLiteral(requiredItemText(entry, QStringLiteral("Definition/Target"), source),
                                                QStringLiteral("$FilterValue"), filterValue);
    const xml::Node parent = target.selectSingleNode(targetPath);
    if (parent.isNull())
        throw VbError(err::General, source, QStringLiteral("%1 selects nothing in the SPL.").arg(targetPath));

    const xml::Node repeatTarget = entry.selectSingleNode(QStringLiteral("Definition/RepeatTarget"));
    const xml::Node group = repeatTarget.isNull() ? xml::Node() : parent.selectSingleNode(repeatTarget.text());
    if (group.isNull()) {
        parent.appendChild(target.importNode(fragment, true));
        return;
    }
    const QString repeatSource = requiredItemText(entry, QStringLiteral("Definition/RepeatSource"), source);
    const xml::Node repeated = fragment.selectSingleNode(repeatSource);
    if (repeated.isNull())
        throw VbError(err::General, source, QStringLiteral("The fragment has no %1.").arg(repeatSource));
    group.parentNode().appendChild(target.importNode(repeated, true));
}

void reportPlacingFailure(const VbError& e)
{
    QString description = e.text();
    description.remove(QStringLiteral("\r\n"));
    WriteLog(log_category::Error, description);
    WriteLog(log_category::Error, QStringLiteral("Adding Data to Target Failed"));
}

void processSourceNode(const xml::Node& entry, const QString& entryName, const xml::Node& sourceNode,
                       const xml::Node& pattern, const QString& filterPath, const xml::Document& target)
{
    const xml::Node fragment = pattern.cloneNode(true);
    WriteLog(log_category::Information, QStringLiteral("Postprocessing: ") + sourceNode.nodeName());
    for (const xml::Node& value : entry.selectNodes(QStringLiteral("Value")))
        fillValue(value, entryName, sourceNode, fragment);

    QString filterValue;
    if (!filterPath.isEmpty()) {
        const xml::Node filterNode = sourceNode.selectSingleNode(filterPath);
        if (filterNode.isNull())
            throw VbError(err::General, source,
                          QStringLiteral("The Definition/FilterSource %1 of '%2' selects nothing.").arg(filterPath, entryName));
        filterValue = filterNode.text();
    }
    try {
        placeFragment(entry, fragment, filterValue, target);
    } catch (const std::exception& e) {
        reportPlacingFailure(toVbError(e, source));
    }
    WriteLog(logSeparator(), QString());
}

void runEntry(const xml::Node& entry, const xml::Document& settings, const xml::Document& target)
{
    const QString templateFile = requiredItemText(entry, QStringLiteral("Definition/TemplateFile"), source);
    const xml::Document fragmentDoc = loadDefinitionFile(programFolderFile(templateFile), source);
    const QString filterPath = optionalItemText(entry, QStringLiteral("Definition/FilterSource"));
    const QString entryName = requiredItemText(entry, QStringLiteral("Name"), source);
    WriteLog(log_category::Information, QStringLiteral("Postprocessing: ") + entryName);

    const QString sourceQuery = requiredItemText(entry, QStringLiteral("Definition/Source"), source);
    const QString templateTarget = requiredItemText(entry, QStringLiteral("Definition/TemplateTarget"), source);
    for (const xml::Node& sourceNode : settings.selectNodes(sourceQuery)) {
        const xml::Node pattern = fragmentDoc.selectSingleNode(templateTarget);
        if (pattern.isNull())
            throw VbError(err::General, source,
                          QStringLiteral("The fragment template %1 has no %2.").arg(templateFile, templateTarget));
        processSourceNode(entry, entryName, sourceNode, pattern, filterPath, target);
    }
}

} // namespace

void RunPostProcessing(const xml::Document& settings, const xml::Document& transformation, const xml::Document& target)
{
    try {
        for (const xml::Node& entry : transformation.selectNodes(QStringLiteral("//PostProcessing")))
            runEntry(entry, settings, target);
    } catch (const std::exception& e) {
        const VbError failure = toVbError(e, source);
        WriteLog(log_category::Error, QStringLiteral("Postprocessing: ") + failure.source() + QLatin1Char(' ')
                                              + QString::number(failure.number()) + QLatin1Char(' ') + failure.description());
    }
}

} // namespace veldra
