#include "codesystemsdb/CodeTables.h"

namespace veldra::codedb {

const TableSpec& loincTable()
{
    static const TableSpec spec{QStringLiteral("LOINC"),
                                {QStringLiteral("LOINC_NUM"), QStringLiteral("COMPONENT"), QStringLiteral("SYSTEM")}};
    return spec;
}

const TableSpec& nciTable()
{
    static const TableSpec spec{QStringLiteral("NCIThesaurus"),
                                {QStringLiteral("Field1"), QStringLiteral("Field2"), QStringLiteral("Field3"),
                                 QStringLiteral("Field4")}};
    return spec;
}

const TableSpec& uniiTable()
{
    static const TableSpec spec{QStringLiteral("UNII"), {QStringLiteral("UNII"), QStringLiteral("Name")}};
    return spec;
}

const std::vector<const TableSpec*>& allTables()
{
    static const std::vector<const TableSpec*> tables{&loincTable(), &nciTable(), &uniiTable()};
    return tables;
}

const TableSpec* findTable(const QString& name)
{
    for (const TableSpec* table : allTables()) {
        if (table->name.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    }
    return nullptr;
}

std::vector<Row>& CodeLists::rowsOf(const TableSpec& table)
{
    if (&table == &loincTable())
        return loinc;
    return &table == &nciTable() ? nci : unii;
}

const std::vector<Row>& CodeLists::rowsOf(const TableSpec& table) const
{
    return const_cast<CodeLists*>(this)->rowsOf(table);
}

void CodeLists::replace(const TableSpec& table, std::vector<Row> rows, const SourceNote& source)
{
    rowsOf(table) = std::move(rows);
    std::erase_if(sources, [&](const SourceNote& note) { return note.table == table.name; });
    sources.push_back(source);
}

} // namespace veldra::codedb
