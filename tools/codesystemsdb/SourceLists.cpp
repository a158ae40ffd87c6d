#include "codesystemsdb/SourceLists.h"

#include "codesystemsdb/DelimitedText.h"
#include "platform/core/VbError.h"

#include <QDir>
#include <QFileInfo>
#include <set>

namespace veldra::codedb {

namespace {

[[noreturn]] void fail(const QString& path, int line, const QString& problem)
{
    throw VbError(err::General, QStringLiteral("CodeLists"),
                  QStringLiteral("%1, line %2: %3").arg(QFileInfo(path).fileName()).arg(line).arg(problem));
}

const TableSpec& tableOfFile(const QString& path)
{
    const QString baseName = QFileInfo(path).fileName();
    const TableSpec* table = findTable(baseName.section(QLatin1Char('-'), 0, 0));
    if (!table || !baseName.contains(QLatin1Char('-')))
        fail(path, 0, QStringLiteral("the file name must start with LOINC-, NCIThesaurus- or UNII-"));
    return *table;
}

Row rowOf(const QStringList& cells)
{
    Row row;
    for (const QString& cell : cells)
        row.push_back(cell.isEmpty() ? std::nullopt : std::optional<QString>(cell));
    return row;
}

} // namespace

void readSourceList(const QString& path, CodeLists& lists)
{
    const TableSpec& table = tableOfFile(path);
    std::vector<Row>& rows = lists.rowsOf(table);
    std::set<Row> seen(rows.begin(), rows.end());
    QStringList notice;
    bool headerRead = false;
    const QStringList lines = readUtf8File(path).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('#'))) {
            if (const QString comment = line.mid(1).trimmed(); !comment.isEmpty())
                notice << comment;
            continue;
        }
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (!headerRead) {
            if (cells != table.columns)
                fail(path, i + 1, QStringLiteral("the header must be: ") + table.columns.join(QStringLiteral(" <tab> ")));
            headerRead = true;
            continue;
        }
        if (cells.size() != table.columns.size())
            fail(path, i + 1, QStringLiteral("%1 cells where %2 are expected").arg(cells.size()).arg(table.columns.size()));
        if (cells.first().isEmpty())
            fail(path, i + 1, QStringLiteral("a row without a code"));
        Row row = rowOf(cells);
        if (!seen.insert(row).second)
            fail(path, i + 1, QStringLiteral("the row repeats an earlier one"));
        rows.push_back(std::move(row));
    }
    if (!headerRead)
        fail(path, lines.size(), QStringLiteral("no header line"));
    lists.sources.push_back({table.name, QFileInfo(path).fileName(), notice.join(QLatin1Char(' '))});
}

CodeLists readSourceLists(const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        throw VbError(err::FileNotFound, QStringLiteral("CodeLists"), QStringLiteral("No folder ") + folder);
    CodeLists lists;
    for (const QString& name : dir.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name))
        readSourceList(dir.filePath(name), lists);
    return lists;
}

} // namespace veldra::codedb
