#pragma once

#include "app/CancellableJob.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace veldra {

// What the three lookup classes share: the read-only connection to the code-system
// database, the cancel flag that Esc in the log window sets, and the search of one
// table by name or code, exactly or in part, with its log lines.
class CodeLookup : public CancellableJob {
public:
    // Set by Esc in the log window (or the LOINC picker's abort); cleared at the
    // start of every lookup and tested after each listed row.
    bool Cancel = false;

    void requestCancel() override { Cancel = true; }

    // One code table as the lookups see it.
    struct Table {
        QString table;        // table name
        QString columns;      // selected columns
        QString codeColumn;   // searched
        QString nameColumn;   // searched and sorted on
        QString listName;     // "LOINC", "NCI Thesaurus", "UNII": in the warnings
        QString rowCategory;  // log category of a listed row
        QString (*rowLine)(const db::Recordset& row);  // a listed row's message
    };

protected:
    enum class Found { None, One, Several };

    // Opens the program folder's database; an open connection is reopened.
    void openConnection();
    // Closes the connection; does nothing without one.
    void closeConnection() noexcept;
    const db::Connection& connection() const { return connection_; }

    // Clears Cancel, runs the query of the current search mode and writes the
    // warning for no row or several rows. `rows` stands on the first row when there
    // is one. `likePattern` receives the search as a LIKE pattern on names, for the
    // LOINC picker: the partial pattern, or in exact mode the escaped text.
    Found search(const Table& table, const QString& searchText, db::Recordset& rows, QString& likePattern);

    // Writes one log line per row from the current one, stopping after the row in
    // progress once Cancel is set.
    void listRows(const Table& table, db::Recordset& rows);

    // Sets `target` to the value unless it is NULL.
    static void assignUnlessNull(QString& target, const std::optional<QString>& value);

    // The lookup of a code and its name: clears both, then searches. A single hit sets
    // `code` from the field `codeField` and `name` from each of `nameFields` in turn that is
    // not NULL (the last such wins); several hits are listed in the log.
    void findCodeAndName(const Table& table, const QString& searchText, QString& code, QString& name,
                         const QString& codeField, const QStringList& nameFields);

private:
    db::Connection connection_;
};

} // namespace veldra
