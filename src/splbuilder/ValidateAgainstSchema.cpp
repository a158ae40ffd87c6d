#include "splbuilder/ValidateAgainstSchema.h"

#include "app/log/Log.h"
#include "platform/core/RegularFile.h"
#include "platform/core/VbError.h"
#include "platform/xml/io/InputLimits.h"

#include <QStringDecoder>

#include <functional>

namespace veldra {

namespace {

const QString lineBreak = QStringLiteral("\r\n");
const QString insecureSchemaHost = QStringLiteral("http://www.accessdata.fda.gov");
const QString secureSchemaHost = QStringLiteral(" https://www.accessdata.fda.gov");

QString invalidFileEntry(const QString& file, const xml::SchemaCheck& check)
{
    QString sourceText = check.sourceText;
    sourceText.remove(QLatin1Char('\t'));
    return QStringLiteral("XML File is not valid against FDA SPL Schema:") + lineBreak + file + lineBreak + lineBreak
        + QStringLiteral("Reason: ") + check.reason.trimmed() + lineBreak + QStringLiteral("Source: ") + sourceText
        + lineBreak + QStringLiteral("Line: ") + QString::number(check.line) + lineBreak;
}

// Nothing was validated: the file is neither valid nor invalid, and the reason says what is
// missing and where it belongs.
QString notValidatedEntry(const QString& file, const xml::SchemaCheck& check)
{
    return QStringLiteral("XML File could not be validated against FDA SPL Schema:") + lineBreak + file + lineBreak
        + lineBreak + QStringLiteral("Reason: ") + check.reason.trimmed() + lineBreak;
}

// The file's text: UTF-8 as SPL files are written, else read byte for byte as Latin-1 so
// that nothing is lost on the way to the second check.
QString fileText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// The second check, on the file's text, for a file that parsed but was not found valid.
xml::SchemaCheck checkedAgain(const xml::SchemaValidator& validator, const xml::SchemaCheck& first,
                              const QByteArray& content, const QString& strFile)
{
    const QString text = fileText(content);
    // Without an http address on the host the second check would read the same text again.
    if (!text.contains(insecureSchemaHost))
        return first;
    return validator.validateXml(withSecureSchemaHost(text), strFile);
}

QString reportCheck(const QString& strFile, const std::function<xml::SchemaCheck()>& runCheck,
                    xml::SchemaCheck* outcome)
{
    QString result;
    try {
        WriteLog(logSeparator(), QString(), true);
        WriteLog(log_category::Information, QStringLiteral("Validating XML File against FDA SPL Schema..."));
        WriteLog(log_category::Information,
                 QStringLiteral("Note: The validation runs on this computer against a local copy of the FDA SPL Schema, "
                                "which is downloaded once when it is missing."));
        const xml::SchemaCheck check = runCheck();
        if (outcome)
            *outcome = check;
        if (check.isValid()) {
            WriteLog(log_category::Information, QStringLiteral("XML File is valid against FDA SPL Schema."));
        } else if (check.schemaUnavailable()) {
            WriteLog(log_category::Warning, notValidatedEntry(strFile, check));
        } else {
            WriteLog(log_category::Error, invalidFileEntry(strFile, check));
            result = check.sourceText;
        }
    } catch (const std::exception& e) {
        WriteLog(log_category::Error, QStringLiteral("ValidateAgainstSchema  - ") + toVbError(e, QStringLiteral("ValidateAgainstSchema")).text());
    }
    return result;
}

} // namespace

QString withSecureSchemaHost(QString text)
{
    return text.replace(insecureSchemaHost, secureSchemaHost);
}

xml::SchemaCheck checkAgainstSchema(const QString& strFile)
{
    const xml::SchemaValidator validator;
    const xml::SchemaCheck first = validator.validateFile(strFile);
    if (first.isValid() || first.parseFailed())
        return first;
    const FileContent file = readRegularFile(strFile, xml::kMaxInputBytes);
    if (!file.ok())
        return first;
    return checkedAgain(validator, first, file.bytes, strFile);
}

xml::SchemaCheck checkAgainstSchema(const QString& strFile, const xml::Document& savedTree, const QByteArray& savedContent)
{
    const xml::SchemaValidator validator;
    const xml::SchemaCheck first = validator.validateSaved(savedTree, savedContent, strFile);
    if (first.isValid() || first.parseFailed())
        return first;
    return checkedAgain(validator, first, savedContent, strFile);
}

QString ValidateAgainstSchema(const QString& strFile, xml::SchemaCheck* outcome)
{
    return reportCheck(strFile, [&strFile] { return checkAgainstSchema(strFile); }, outcome);
}

QString ValidateAgainstSchema(const QString& strFile, const xml::Document& savedTree, const QByteArray& savedContent,
                              xml::SchemaCheck* outcome)
{
    return reportCheck(strFile, [&] { return checkAgainstSchema(strFile, savedTree, savedContent); }, outcome);
}

} // namespace veldra
