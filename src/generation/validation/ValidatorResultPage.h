#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace veldra {

// What the online validator's result page reports.
struct ValidatorReport {
    // The second blank-separated word of the last paragraph whose text holds "Document ".
    QString documentId;
    // True when the page holds at least one error link (an href holding "#idx").
    bool errorsFound = false;
    // Per error link, in page order: the trimmed text of the first "xml-verbatim-text" span and
    // of the first "xml-verbatim-attr-content" span of the XML rendering that encloses the link.
    QStringList pieces;
    // True when an error link has no enclosing XML rendering: the pieces stop before it.
    bool unrecognised = false;
};

// The script that reads the report from the result page in the browser, with the browser's
// own inner text and inner markup of the page's elements.
QString resultPageScript();

// The report from the script's result.
ValidatorReport validatorReportFrom(const QVariant& scriptResult);

} // namespace veldra
