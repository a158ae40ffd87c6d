#pragma once

#include <QString>
#include <optional>

struct sqlite3_stmt;

namespace veldra::db {

class Connection;

// One prepared SQL statement. Values are always bound as parameters ("?1", "?2" ...),
// never pasted into the SQL text.
class Statement {
public:
    Statement(const Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1. An empty optional binds NULL.
    void bind(int index, const std::optional<QString>& value);

    // Advances to the next row: true while there is one, false when done.
    bool step();
    // Makes the statement ready to run again with new parameters.
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    // The current row's value; an empty optional for NULL.
    std::optional<QString> value(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
    const Connection& connection_;
    QString sql_;
    QByteArray sqlText_;
};

} // namespace veldra::db
