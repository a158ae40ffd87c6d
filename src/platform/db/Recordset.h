#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace veldra::db {

class Connection;

// The result of one query, read forward only. Opening runs the query to its end
// and keeps the rows, so the exact row count is known before the first row is read.
class Recordset {
public:
    // Runs `sql` with `parameters` bound to "?1", "?2" ... as text.
    void open(const Connection& connection, const QString& sql, const QStringList& parameters = {});
    void close();
    bool isOpen() const { return open_; }

    int recordCount() const { return int(rows_.size()); }
    // True before the first row when there is none, and after the last row.
    bool eof() const { return position_ >= rows_.size(); }
    void moveNext();

    // The current row's value of a column (by name, case-insensitive); an empty
    // optional for NULL. Throws at EOF or for a column the query did not select.
    std::optional<QString> field(const QString& column) const;
    // The value as text, NULL reading as "".
    QString text(const QString& column) const;

private:
    int columnIndex(const QString& column) const;

    bool open_ = false;
    QStringList columns_;
    std::vector<std::vector<std::optional<QString>>> rows_;
    std::size_t position_ = 0;
};

} // namespace veldra::db
