#include "codesystems/clsUNII.h"

namespace veldra {

namespace {

QString uniiRowLine(const db::Recordset& row)
{
    return QStringLiteral("Code>>> ") + row.text(QStringLiteral("UNII")) + QStringLiteral(" <<<Name>>> ")
           + row.text(QStringLiteral("Name"));
}

const CodeLookup::Table& uniiTable()
{
    static const CodeLookup::Table table{QStringLiteral("UNII"), QStringLiteral("[Name],[UNII]"),
                                         QStringLiteral("[UNII]"), QStringLiteral("[Name]"),
                                         QStringLiteral("UNII"), QStringLiteral("UNII"), uniiRowLine};
    return table;
}

} // namespace

void clsUNII::Destroy()
{
    closeConnection();
}

void clsUNII::Initialize()
{
    openConnection();
}

void clsUNII::GetCodeAndName(QString SearchText, QString& UNIICode, QString& UNIIName)
{
    findCodeAndName(uniiTable(), SearchText, UNIICode, UNIIName, QStringLiteral("UNII"), {QStringLiteral("Name")});
}

} // namespace veldra
