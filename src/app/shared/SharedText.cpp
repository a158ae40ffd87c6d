#include "app/shared/SharedProcedures.h"

#include "platform/core/VbString.h"

#include <QStringEncoder>
#include <utility>

namespace veldra {

namespace {

// Whether a character (one code point) exists in the Western Windows code page,
// so that file names stay valid on both systems.
bool inWindowsCodePage(QStringView codePoint)
{
    static const bool codePageKnown = QStringEncoder("windows-1252").isValid();
    if (!codePageKnown) {
        const char32_t c = codePoint.at(0).unicode();
        return codePoint.size() == 1 && c <= 0xff && (c < 0x80 || c > 0x9f);
    }
    // A fresh encoder each time: resetState() does not clear an earlier error.
    QStringEncoder encoder("windows-1252");
    const QByteArray encoded = encoder.encode(codePoint);
    return !encoder.hasError();
}

// Characters that the code page lacks become "_".
QString replaceOutsideCodePage(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView codePoint = QStringView(text).mid(i, length);
        if (inWindowsCodePage(codePoint))
            out += codePoint;
        else
            out += QLatin1Char('_');
        i += length - 1;
    }
    return out;
}

QString withoutControlChars(const QString& text)
{
    QString out;
    for (const QChar c : text)
        if (c.unicode() > 31)
            out += c;
    return out;
}

bool isReservedDeviceName(const QString& name)
{
    static const QStringList reserved = {
        QStringLiteral("nul"),  QStringLiteral("aux"),  QStringLiteral("con"),  QStringLiteral("com1"),
        QStringLiteral("com2"), QStringLiteral("com3"), QStringLiteral("com4"), QStringLiteral("lpt1"),
        QStringLiteral("lpt2"), QStringLiteral("lpt3"), QStringLiteral("prn")};
    return reserved.contains(name);
}

} // namespace

QString CodeSystemOID(const QString& name)
{
    static const std::pair<const char*, const char*> table[] = {
        {"National Cancer Institute Thesaurus", "2.16.840.1.113883.3.26.1.1"},
        {"Logical Observation Identifiers Names and Codes", "2.16.840.1.113883.6.1"},
        {"Food and Drug Administration Drug Registration and Listing System", "2.16.840.1.113883.6.69"},
        {"Food and Drug Administration Substance Registration System", "2.16.840.1.113883.4.9"},
        {"Department of Veterans Affairs National Drug File Reference Terminology", "2.16.840.1.113883.3.26.1.5"},
        {"Systematized Nomenclature of Medicine", "2.16.840.1.113883.6.96"},
    };
    for (const auto& [system, oid] : table)
        if (name == QLatin1String(system))
            return QLatin1String(oid);
    return QStringLiteral("UNKNOWN");
}

QString MakeSafeFileName(const QString& name, const QString& extension)
{
    QString safe = name;
    for (const char* bad : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|", "\r\n", "\r", "\n", "\t", " "})
        safe.replace(QLatin1String(bad), QLatin1String("_"));
    safe.remove(QLatin1Char('%'));
    safe.remove(QLatin1Char('&'));
    safe = withoutControlChars(replaceOutsideCodePage(safe)).toLower();
    if (!extension.isEmpty())
        safe.remove(extension.toLower());
    if (isReservedDeviceName(safe))
        safe += QLatin1Char('_');
    return safe + extension;
}

namespace {

// Keys become the IDs of SPL sections and the targets of links to them, which the SPL schema
// takes only as XML names: any other character ("QUESTIONS?", "A & B") becomes "-", and a key
// that would start with a digit, "-" or "." starts with "_".
QString asXmlId(QString key)
{
    for (QChar& c : key)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_') && c != QLatin1Char('.'))
            c = QLatin1Char('-');
    if (!key.isEmpty() && !key[0].isLetter() && key[0] != QLatin1Char('_'))
        key.prepend(QLatin1Char('_'));
    return key;
}

} // namespace

QString MakeSectionKey(const QString& title)
{
    QString key = title;
    const QString firstWord = title.section(QLatin1Char(' '), 0, 0);
    if (vbstr::isNumeric(firstWord))
        key = title.mid(firstWord.size() + 1);
    for (const QChar c : {u' ', u'\\', u'/', u',', u')', u'(', u':'})
        key.replace(c, QLatin1Char('-'));
    return asXmlId(key.toUpper());
}

QString XMLEscape(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    escaped.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    escaped.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return escaped;
}

void StripControlChars(QString& text)
{
    text = vbstr::trim(withoutControlChars(text));
}

QString ZeroPad(const QString& value, int width)
{
    if (value.size() >= width)
        return value;
    return QString(width - value.size(), QLatin1Char('0')) + value;
}

} // namespace veldra
