#include "dialogs/ChoiceEntries.h"

#include "platform/core/VbString.h"

namespace veldra {

namespace {

QString codePart(const QString& entry)
{
    return vbstr::trim(entry.section(QLatin1Char('{'), 0, 0));
}

} // namespace

QStringList choiceEntries(const QString& constraintValues)
{
    QString text = constraintValues;
    return text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).split(QLatin1Char(';'));
}

int matchingEntry(const QStringList& entries, const QString& value)
{
    const int exact = int(entries.indexOf(value));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < entries.size(); ++i)
        if (entries.at(i).contains(QLatin1Char('{')) && codePart(entries.at(i)) == value)
            return i;
    for (int i = 0; i < entries.size(); ++i)
        if (entries.at(i).startsWith(value))
            return i;
    return -1;
}

QString mirroredEntry(const QString& entry)
{
    const QStringList pieces = entry.split(QLatin1Char('{'));
    const QString code = vbstr::trim(pieces.at(0));
    QString name = pieces.size() > 1 ? vbstr::trim(pieces.at(1)) : QString();
    name.chop(1);  // the closing "}"
    return name + QStringLiteral(" {") + code + QLatin1Char('}');
}

} // namespace veldra
