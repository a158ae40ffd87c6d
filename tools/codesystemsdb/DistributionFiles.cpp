#include "codesystemsdb/DistributionFiles.h"

#include "codesystemsdb/DelimitedText.h"
#include "platform/core/VbError.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace veldra::codedb {

namespace {

int requireColumn(const QString& path, const QStringList& header, const QStringList& names)
{
    const int index = findColumn(header, names);
    if (index < 0)
        throw VbError(err::General, QStringLiteral("CodeLists"),
                      QStringLiteral("%1 has no column %2").arg(QFileInfo(path).fileName(), names.join(QStringLiteral(" or "))));
    return index;
}

std::optional<QString> cell(const QStringList& record, int index)
{
    if (index < 0 || index >= record.size())
        return std::nullopt;
    const QString value = record[index].trimmed();
    return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
}

std::vector<QStringList> recordsOf(const QString& path, bool csv)
{
    const QString text = readUtf8File(path);
    std::vector<QStringList> records = csv ? parseCsv(text) : parseTabSeparated(text);
    if (records.empty())
        throw VbError(err::General, QStringLiteral("CodeLists"), QFileInfo(path).fileName() + QStringLiteral(" is empty"));
    return records;
}

bool isUmbrellaSubset(const std::optional<QString>& subset)
{
    return subset && subset->contains(QStringLiteral("Structured Product Labeling Terminology"), Qt::CaseInsensitive);
}

} // namespace

std::vector<Row> readLoincCsv(const QString& path)
{
    const std::vector<QStringList> records = recordsOf(path, true);
    const QStringList& header = records.front();
    const int code = requireColumn(path, header, {QStringLiteral("LOINC_NUM")});
    const int component = requireColumn(path, header, {QStringLiteral("COMPONENT")});
    const int system = requireColumn(path, header, {QStringLiteral("SYSTEM")});
    std::vector<Row> rows;
    rows.reserve(records.size());
    for (std::size_t r = 1; r < records.size(); ++r) {
        if (const auto loincNum = cell(records[r], code))
            rows.push_back({loincNum, cell(records[r], component), cell(records[r], system)});
    }
    return rows;
}

std::vector<Row> readNciSplSubsets(const QString& path)
{
    const std::vector<QStringList> records = recordsOf(path, false);
    const QStringList& header = records.front();
    const int code = requireColumn(path, header, {QStringLiteral("Concept Code"), QStringLiteral("NCIt Concept Code"),
                                                  QStringLiteral("NCIt Code"), QStringLiteral("Code")});
    const int term = requireColumn(path, header,
                                   {QStringLiteral("Source PT"), QStringLiteral("FDA SPL Preferred Term"),
                                    QStringLiteral("SPL Preferred Term"), QStringLiteral("FDA Preferred Term"),
                                    QStringLiteral("SPL Acceptable Term"), QStringLiteral("NCIt Preferred Term"),
                                    QStringLiteral("NCIt PT")});
    const int subset = findColumn(header, {QStringLiteral("Subset Name"), QStringLiteral("Subset Preferred Term"),
                                           QStringLiteral("FDA Subset Name")});
    std::vector<Row> rows;
    QHash<QString, std::size_t> rowOfTerm;  // code + tab + term -> index in rows
    for (std::size_t r = 1; r < records.size(); ++r) {
        const auto conceptCode = cell(records[r], code);
        const auto name = cell(records[r], term);
        if (!conceptCode || !name)
            continue;
        const auto subsetName = cell(records[r], subset);
        const QString key = *conceptCode + QLatin1Char('\t') + *name;
        const auto known = rowOfTerm.constFind(key);
        if (known == rowOfTerm.constEnd()) {
            rowOfTerm.insert(key, rows.size());
            rows.push_back({conceptCode, name, subsetName, name});
        } else if (isUmbrellaSubset(rows[*known][2]) && !isUmbrellaSubset(subsetName)) {
            rows[*known][2] = subsetName;
        }
    }
    return rows;
}

std::vector<Row> readUniiNames(const QString& path)
{
    const std::vector<QStringList> records = recordsOf(path, false);
    const QStringList& header = records.front();
    const int code = requireColumn(path, header, {QStringLiteral("UNII")});
    const int displayName = findColumn(header, {QStringLiteral("Display Name"), QStringLiteral("PT")});
    const int name = displayName >= 0 ? displayName
                                      : requireColumn(path, header, {QStringLiteral("Name"), QStringLiteral("Substance Name")});
    std::vector<Row> rows;
    QSet<QString> seen;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const auto unii = cell(records[r], code);
        if (!unii || seen.contains(*unii))
            continue;
        seen.insert(*unii);
        rows.push_back({unii, cell(records[r], name)});
    }
    return rows;
}

} // namespace veldra::codedb
