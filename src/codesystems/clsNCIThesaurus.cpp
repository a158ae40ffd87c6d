#include "codesystems/clsNCIThesaurus.h"

namespace veldra {

namespace {

QString nciRowLine(const db::Recordset& row)
{
    return QStringLiteral("Code>>> ") + row.text(QStringLiteral("Field1")) + QStringLiteral(" <<<Preferred Name>>> ")
           + row.text(QStringLiteral("Field4")) + QStringLiteral(" <<<Text>>> ") + row.text(QStringLiteral("Field2"));
}

const CodeLookup::Table& nciTable()
{
    static const CodeLookup::Table table{QStringLiteral("NCIThesaurus"), QStringLiteral("Field1,Field2,Field3,Field4"),
                                         QStringLiteral("Field1"), QStringLiteral("Field2"),
                                         QStringLiteral("NCI Thesaurus"), QStringLiteral("NCI"), nciRowLine};
    return table;
}

} // namespace

void clsNCIThesaurus::Destroy()
{
    closeConnection();
}

void clsNCIThesaurus::Initialize()
{
    openConnection();
}

void clsNCIThesaurus::GetCodeAndName(QString SearchText, QString& NCICode, QString& NCIName)
{
    // The preferred name where the row has one, else the searched name.
    findCodeAndName(nciTable(), SearchText, NCICode, NCIName, QStringLiteral("Field1"),
                    {QStringLiteral("Field2"), QStringLiteral("Field4")});
}

} // namespace veldra
