#include "generation/building/SchemaErrorTrace.h"

#include "app/window/Captions.h"
#include "app/log/Log.h"
#include "generation/building/TransformItems.h"
#include "platform/xml/tree/Document.h"

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

// The first element named after "Expected is" in a schema error's reason, without its
// namespace; "" when the reason names none.
QString expectedElementOf(const QString& reason)
{
    const qsizetype expected = reason.indexOf(QStringLiteral("Expected is"));
    if (expected < 0)
        return {};
    const qsizetype open = reason.indexOf(QLatin1Char('('), expected);
    if (open < 0)
        return {};
    static const QRegularExpression firstName(QStringLiteral("^\\s*(?:\\{[^}]*\\})?([A-Za-z_][\\w.-]*)"));
    const QRegularExpressionMatch match = firstName.match(reason.mid(open + 1));
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

QString schemaErrorElementName(const QString& sourceText, const QString& reason)
{
    const QString expected = expectedElementOf(reason);
    if (!expected.isEmpty())
        return expected;
    const qsizetype open = sourceText.indexOf(QLatin1Char('<'));
    QString name = open < 0 ? sourceText : sourceText.mid(open + 1);
    const qsizetype blank = name.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        name = name.left(blank);
    name.remove(QLatin1Char('<'));
    name.remove(QLatin1Char('>'));
    return name;
}

void TraceSchemaError(const QString& sourceText, const QString& reason, const xml::Document& transformation)
{
    const QString name = schemaErrorElementName(sourceText, reason);
    // A line that starts with a blank and holds no "<" gives no name, which every target
    // would "contain": there is nothing to look up.
    int traced = 0;
    for (const xml::Node& value : transformation.selectNodes(QStringLiteral("Word2SPLTransform/Transform/Value"))) {
        if (name.isEmpty())
            break;
        const QString target = requiredItemText(value, QStringLiteral("Target"), source);
        if (!target.contains(name) || !afterLastSlash(target).startsWith(name))
            continue;
        const QString entrySource = requiredItemText(value.parentNode(), QStringLiteral("Definition/Source"), source);
        WriteLog(log_category::Check, SplitCamelCase(afterLastSlash(entrySource)) + QStringLiteral(" - ")
                                               + SplitCamelCase(settingsElementOf(requiredItemText(value, QStringLiteral("Source"), source))));
        ++traced;
    }
    if (traced == 0)
        WriteLog(log_category::Check,
                 name.isEmpty() ? QStringLiteral("No settings element could be found behind the schema error.")
                                : QStringLiteral("No settings element could be found behind the SPL element '") + name
                                      + QStringLiteral("' of the schema error."));
}

} // namespace veldra
