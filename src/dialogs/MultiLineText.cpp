#include "dialogs/MultiLineText.h"

namespace veldra {

QString multiLineDisplayText(const QString& value)
{
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString multiLineValue(const QString& shown)
{
    return multiLineDisplayText(shown).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace veldra
