#pragma once

#include <QString>

// Outside web pages the program opens in the desktop's browser.
namespace veldra::web {

// The FDA's page of SPL resources (guidance, schema, stylesheet, validation procedures).
inline const QString FdaSplResources =
    QStringLiteral("https://www.fda.gov/industry/fda-data-standards-advisory-board/structured-product-labeling-resources");
// DailyMed, the National Library of Medicine's site of published SPL labels.
inline const QString DailyMed = QStringLiteral("https://dailymed.nlm.nih.gov/dailymed/");
// The outside online SPL validator.
inline const QString SplOnlineValidator = QStringLiteral("https://www.pragmaticdata.com/");
// The program's own web site.
inline const QString VeldraWebSite = QStringLiteral("https://veldra.org/");

} // namespace veldra::web
