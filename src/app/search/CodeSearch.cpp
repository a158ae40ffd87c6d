#include "app/search/CodeSearch.h"

#include "app/window/frmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace veldra {

QString codeSystemSearchEntry(const QString& longCodeSystemName)
{
    if (longCodeSystemName == QLatin1String("National Cancer Institute Thesaurus"))
        return QStringLiteral("NCI Thesaurus");
    if (longCodeSystemName == QLatin1String("Logical Observation Identifiers Names and Codes"))
        return QStringLiteral("LOINC");
    if (longCodeSystemName == QLatin1String("Food and Drug Administration Substance Registration System"))
        return QStringLiteral("UNII Codes");
    return QStringLiteral("All Code Systems");
}

void searchCodeSystem(const QString& term, const QString& codeSystemEntry, bool clearLogFirst)
{
    frmMain* main = mainForm();
    if (!main)
        return;
    if (clearLogFirst)
        main->cmdClearSearchResult->click();
    main->txtSearchCodeOrName->setText(term);
    main->cboCodeSystem->setCurrentText(codeSystemEntry);
    main->cmdSearchCodeSystem->click();
}

} // namespace veldra
