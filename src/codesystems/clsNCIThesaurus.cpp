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
    NCICode.clear();
    NCIName.clear();
    db::Recordset rows;
    QString likePattern;
    switch (search(nciTable(), SearchText, rows, likePattern)) {
    case Found::None:
        return;
    case Found::One:
        assignUnlessNull(NCICode, rows.field(QStringLiteral("Field1")));
        assignUnlessNull(NCIName, rows.field(QStringLiteral("Field2")));
        assignUnlessNull(NCIName, rows.field(QStringLiteral("Field4")));
        return;
    case Found::Several:
        listRows(nciTable(), rows);
        return;
    }
}

} // namespace veldra
