#include "CodeSystemsTestSupport.h"
#include "codesystemsdb/DelimitedText.h"

#include <QDir>
#include <QHash>
#include <iostream>

using namespace veldra;

namespace {

// Names compare as the database compares them: without regard to letter case, and
// with runs of blanks (no-break spaces included) counted as one blank.
QString comparable(const QString& name)
{
    QString text = name;
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    return text.simplified().toUpper();
}

// code -> names, from the fixture CSV files `code,display[,...]` whose names match.
QHash<QString, QStringList> fixtureNames(const QStringList& patterns)
{
    QHash<QString, QStringList> names;
    const QDir dir(test::fixture(QStringLiteral("code-lists")));
    for (const QString& file : dir.entryList(patterns, QDir::Files)) {
        const std::vector<QStringList> records = codedb::parseCsv(codedb::readUtf8File(dir.filePath(file)));
        for (std::size_t r = 1; r < records.size(); ++r)
            names[records[r].value(0)] << comparable(records[r].value(1));
    }
    return names;
}

// Every shipped code that the fixture lists know carries one of their names for it.
void crossCheck(const char* what, const std::vector<codedb::Row>& shipped, int nameColumn,
                const QHash<QString, QStringList>& known)
{
    int matched = 0;
    for (const codedb::Row& row : shipped) {
        const auto names = known.constFind(*row[0]);
        if (names == known.constEnd())
            continue;
        ++matched;
        EXPECT_TRUE(names->contains(comparable(row[nameColumn].value_or(QString()))))
            << what << " " << row[0]->toStdString() << ": shipped \"" << row[nameColumn].value_or(QString()).toStdString()
            << "\", the code list says \"" << names->join(QStringLiteral("\" or \"")).toStdString() << "\"";
    }
    std::cout << what << ": " << matched << " of the " << known.size() << " codes of the fixture lists are shipped ("
              << shipped.size() << " rows shipped)\n";
    EXPECT_GT(matched, 0) << what;
}

} // namespace

TEST(FixtureCrossCheckTest, ShippedCodesCarryTheNamesOfThePublicCodeLists)
{
    const codedb::CodeLists lists = test::committedLists();
    crossCheck("LOINC", lists.loinc, 1, fixtureNames({QStringLiteral("loinc-spl-*.csv")}));
    crossCheck("NCI Thesaurus", lists.nci, 1, fixtureNames({QStringLiteral("ncit-spl-*.csv")}));
    crossCheck("NCI Thesaurus preferred names", lists.nci, 3, fixtureNames({QStringLiteral("ncit-spl-*.csv")}));
    crossCheck("UNII", lists.unii, 1, fixtureNames({QStringLiteral("unii-sample-from-fixtures.csv")}));
}
