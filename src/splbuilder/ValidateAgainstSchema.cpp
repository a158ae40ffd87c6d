#include "splbuilder/ValidateAgainstSchema.h"

#include "app/Log.h"
#include "platform/core/VbError.h"
#include "platform/xml/SchemaValidator.h"

namespace veldra {

namespace {

const QString lineBreak = QStringLiteral("\r\n");

QString invalidFileEntry(const QString& file, const xml::SchemaCheck& check)
{
    QString sourceText = check.sourceText;
    sourceText.remove(QLatin1Char('\t'));
    return QStringLiteral("XML File is not valid against FDA SPL Schema:") + lineBreak + file + lineBreak + lineBreak
        + QStringLiteral("Reason: ") + check.reason.trimmed() + lineBreak + QStringLiteral("Source: ") + sourceText
        + lineBreak + QStringLiteral("Line: ") + QString::number(check.line) + lineBreak;
}

} // namespace

QString ValidateAgainstSchema(const QString& strFile)
{
    QString result;
    try {
        WriteLog(logSeparator(), QString(), true);
        WriteLog(QStringLiteral("Information"), QStringLiteral("Validating XML File against FDA SPL Schema..."));
        WriteLog(QStringLiteral("Information"),
                 QStringLiteral("Note: The validation occurs online at FDA servers. An existing Inernet Connection is needed."));
        const xml::SchemaCheck check = xml::SchemaValidator().validateFile(strFile);
        if (check.isValid()) {
            WriteLog(QStringLiteral("Information"), QStringLiteral("XML File is valid against FDA SPL Schema."));
        } else {
            WriteLog(QStringLiteral("Error"), invalidFileEntry(strFile, check));
            result = check.sourceText;
        }
    } catch (const std::exception& e) {
        WriteLog(QStringLiteral("Error"), QStringLiteral("ValidateAgainstSchema  - ") + toVbError(e, QStringLiteral("ValidateAgainstSchema")).text());
    }
    return result;
}

} // namespace veldra
