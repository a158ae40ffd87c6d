#include "generation/build/SchemaErrorTrace.h"

#include "app/Captions.h"
#include "app/Log.h"
#include "generation/build/TransformItems.h"
#include "platform/xml/Document.h"

#include <QRegularExpression>

namespace veldra {

namespace {

const QString source = QStringLiteral("TransformSPLR4ToSPL");

QString afterLastSlash(const QString& text)
{
    return text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);
}

// A Value's source as the settings element it names: conditions in brackets
// ("EffectiveTime[.!='']") are not part of the name.
QString settingsElementOf(QString source)
{
    static const QRegularExpression condition(QStringLiteral("\\[[^\\[\\]]*\\]"));
    while (source.contains(condition))
        source.remove(condition);
    return source;
}

} // namespace

QString schemaErrorElementName(const QString& sourceText)
{
    const qsizetype open = sourceText.indexOf(QLatin1Char('<'));
    QString name = open < 0 ? sourceText : sourceText.mid(open + 1);
    const qsizetype blank = name.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        name = name.left(blank);
    name.remove(QLatin1Char('<'));
    name.remove(QLatin1Char('>'));
    return name;
}

void TraceSchemaError(const QString& sourceText, const xml::Document& transformation)
{
    const QString name = schemaErrorElementName(sourceText);
    // A line that starts with a blank and holds no "<" gives no name, which every target
    // would "contain": that is nothing to trace.
    if (name.isEmpty())
        return;
    for (const xml::Node& value : transformation.selectNodes(QStringLiteral("Word2SPLTransform/Transform/Value"))) {
        const QString target = requiredItemText(value, QStringLiteral("Target"), source);
        if (!target.contains(name) || !afterLastSlash(target).startsWith(name))
            continue;
        const QString entrySource = requiredItemText(value.parentNode(), QStringLiteral("Definition/Source"), source);
        WriteLog(QStringLiteral("Check"), SplitCamelCase(afterLastSlash(entrySource)) + QStringLiteral(" - ")
                                               + SplitCamelCase(settingsElementOf(requiredItemText(value, QStringLiteral("Source"), source))));
    }
}

} // namespace veldra
