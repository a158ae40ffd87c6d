#include "platform/db/Recordset.h"

#include "platform/db/DbError.h"
#include "platform/db/Statement.h"

namespace veldra::db {

void Recordset::open(const Connection& connection, const QString& sql, const QStringList& parameters)
{
    close();
    Statement statement(connection, sql);
    for (int i = 0; i < parameters.size(); ++i)
        statement.bind(i + 1, parameters[i]);
    for (int c = 0; c < statement.columnCount(); ++c)
        columns_ << statement.columnName(c);
    while (statement.step()) {
        std::vector<std::optional<QString>> row;
        row.reserve(columns_.size());
        for (int c = 0; c < columns_.size(); ++c)
            row.push_back(statement.value(c));
        rows_.push_back(std::move(row));
    }
    open_ = true;
}

void Recordset::close()
{
    open_ = false;
    columns_.clear();
    rows_.clear();
    position_ = 0;
}

void Recordset::moveNext()
{
    if (eof())
        throw databaseError(QStringLiteral("Cannot move past the last record"), QStringLiteral("end of recordset"));
    ++position_;
}

std::optional<QString> Recordset::field(const QString& column) const
{
    const int index = columnIndex(column);
    if (eof())
        throw databaseError(QStringLiteral("No current record for field ") + column,
                            QStringLiteral("end of recordset"));
    return rows_[position_][index];
}

QString Recordset::text(const QString& column) const
{
    return field(column).value_or(QString());
}

int Recordset::columnIndex(const QString& column) const
{
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw databaseError(QStringLiteral("Item cannot be found: ") + column, QStringLiteral("unknown field"));
}

} // namespace veldra::db
