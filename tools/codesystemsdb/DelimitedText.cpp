#include "codesystemsdb/DelimitedText.h"

#include "platform/core/VbError.h"

#include <QFile>

namespace veldra::codedb {

QString readUtf8File(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw VbError(err::FileAccess, QStringLiteral("CodeLists"),
                      QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

std::vector<QStringList> parseCsv(const QString& text)
{
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    auto endField = [&] {
        record << field;
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        if (fieldStarted || !record.isEmpty())
            endField();
        if (!record.isEmpty())
            records.push_back(record);
        record.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                    field += text[++i];
                else
                    quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            fieldStarted = true;
        } else if (c == QLatin1Char(',')) {
            fieldStarted = true;
            endField();
            fieldStarted = true;
        } else if (c == QLatin1Char('\n')) {
            endRecord();
        } else if (c != QLatin1Char('\r')) {
            field += c;
            fieldStarted = true;
        }
    }
    endRecord();
    return records;
}

std::vector<QStringList> parseTabSeparated(const QString& text)
{
    std::vector<QStringList> records;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty())
            records.push_back(line.split(QLatin1Char('\t')));
    }
    return records;
}

int findColumn(const QStringList& header, const QStringList& names)
{
    for (const QString& name : names) {
        for (int i = 0; i < header.size(); ++i) {
            if (header[i].trimmed().compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
    }
    return -1;
}

} // namespace veldra::codedb
