#include "codesystems/clsLOINC.h"

#include "app/log/Log.h"
#include "codesystems/SearchPattern.h"
#include "codesystems/ShowSelectLOINCForm.h"
#include "codesystems/frmSelectLOINC.h"

#include <QEventLoop>
#include <QPointer>
#include <QTreeWidget>

namespace veldra {

namespace {

const QString codeColumn = QStringLiteral("LOINC_NUM");
const QString nameColumn = QStringLiteral("COMPONENT");
const QString systemColumn = QStringLiteral("SYSTEM");

const QString unclassifiedCode = QStringLiteral("42229-5");
const QString unclassifiedName = QStringLiteral("SPL UNCLASSIFIED SECTION");

QString loincRowLine(const db::Recordset& row)
{
    return QStringLiteral("Code>>> ") + row.text(codeColumn) + QStringLiteral(" <<<Text>>> ") + row.text(nameColumn)
           + QStringLiteral(" <<<System>>> ") + row.text(systemColumn);
}

const CodeLookup::Table& loincTable()
{
    static const CodeLookup::Table table{QStringLiteral("LOINC"), QStringLiteral("LOINC_NUM,COMPONENT,SYSTEM"),
                                         codeColumn, nameColumn, QStringLiteral("LOINC"), QStringLiteral("LOINC"),
                                         loincRowLine};
    return table;
}

void logSelection(const QString& code, const QString& name)
{
    WriteLog(log_category::Information, QStringLiteral("User selected LOINC Code: ") + code + QStringLiteral(" - ") + name);
}

} // namespace

clsLOINC::~clsLOINC()
{
    frmSelectLOINC::forgetLookup(this);
}

void clsLOINC::Initialize()
{
    openConnection();
}

void clsLOINC::Destroy()
{
    closeConnection();
}

void clsLOINC::GetCodeAndName(QString SearchText, QString& LOINCCode, QString& LOINCName, QString& LOINCSystem,
                              bool RenderSelectIfNotFound)
{
    LOINCCode.clear();
    LOINCName.clear();
    LOINCSystem.clear();
    db::Recordset rows;
    QString likePattern;
    const Found found = search(loincTable(), SearchText, rows, likePattern);
    if (found == Found::None) {
        if (RenderSelectIfNotFound)
            SelectLOINCCode(likePattern, LOINCCode, LOINCName);
        return;
    }
    assignUnlessNull(LOINCCode, rows.field(codeColumn));
    assignUnlessNull(LOINCName, rows.field(nameColumn));
    if (found == Found::One) {
        assignUnlessNull(LOINCSystem, rows.field(systemColumn));
        return;
    }
    if (RenderSelectIfNotFound) {
        SelectLOINCCode(likePattern, LOINCCode, LOINCName);
        return;
    }
    LOINCCode.clear();
    LOINCName.clear();
    listRows(loincTable(), rows);
}

void clsLOINC::RenderCodeAndName(const QString& SearchString, QTreeWidget* TargetList)
{
    db::Recordset rows;
    rows.open(connection(),
              QStringLiteral("SELECT LOINC_NUM,COMPONENT FROM LOINC WHERE COMPONENT LIKE ?1")
                  + codesystems::likeEscapeClause() + QStringLiteral(" ORDER BY COMPONENT ASC, LOINC_NUM ASC"),
              {SearchString});
    TargetList->clear();
    for (; !rows.eof(); rows.moveNext()) {
        // A row without a code cannot be chosen; it is left out and the listing goes on.
        const std::optional<QString> code = rows.field(codeColumn);
        if (!code)
            continue;
        auto* item = new QTreeWidgetItem(TargetList);
        item->setText(0, *code);
        item->setText(1, rows.text(nameColumn));
    }
}

void clsLOINC::SelectLOINCCode(const QString& SearchText, QString& LOINCCode, QString& LOINCName)
{
    SelectStatus.clear();
    // Showing the picker lets events run, in which it may be answered and go already.
    const QPointer<frmSelectLOINC> form = frmSelectLOINC::load();
    form->setLookup(this);
    RenderCodeAndName(SearchText, form->LOINCList);
    ShowSelectLOINCForm(SearchText);
    waitForAnswer(form);

    if (SelectStatus == QLatin1String("LOINCSelectOK")) {
        LOINCCode = SelectedLOINCCode;
        LOINCName = SelectedLOINCName;
        logSelection(LOINCCode, LOINCName);
        return;
    }
    LOINCCode = unclassifiedCode;
    LOINCName = unclassifiedName;
    if (SelectStatus == QLatin1String("LOINCSelectUnclassified")) {
        logSelection(LOINCCode, LOINCName);
        return;
    }
    WriteLog(log_category::Information, QStringLiteral("User aborted LOINC code loading"));
    Cancel = true;
}

// Runs the event loop until the picker answers, so the rest of the program stays
// usable meanwhile. A picker that disappears without an answer (its owner window
// closed under it) counts as an abort, and so does the program ending meanwhile
// (the event loop then refuses to run), so the caller never waits for ever.
void clsLOINC::waitForAnswer(const QPointer<frmSelectLOINC>& form)
{
    QEventLoop loop;
    if (form) {
        QObject::connect(form, &frmSelectLOINC::answered, &loop, &QEventLoop::quit);
        QObject::connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
    }
    while (SelectStatus.isEmpty() && form) {
        if (loop.exec() < 0)
            break;
    }
    if (SelectStatus.isEmpty())
        SelectStatus = QStringLiteral("LOINCSelectAbort");
}

void clsLOINC::clearSelectedLOINC()
{
    SelectedLOINCCode.clear();
    SelectedLOINCName.clear();
}

} // namespace veldra
