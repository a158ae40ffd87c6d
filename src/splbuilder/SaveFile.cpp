#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"
#include "splbuilder/SaveRepairs.h"
#include "splbuilder/SplNodes.h"
#include "splbuilder/ValidateAgainstSchema.h"

#include "platform/core/FileSave.h"
#include "platform/xml/io/RereadInPlace.h"

namespace veldra {

namespace {

// Replaces the file through a temporary file beside it, so the former file survives a
// failed write.
void replaceFile(const QString& path, const QByteArray& bytes)
{
    if (const QString problem = saveReplacing(path, bytes); !problem.isEmpty())
        throw VbError(err::FileAccess, spl::errorSource, QStringLiteral("cannot write ") + path + QStringLiteral(": ") + problem);
}

// Validates the file just saved as `text` from `doc`. Where the tree, settled in place, is
// what reading the file gives (the repairs only dropped empty namespace declarations, which
// settling drops too), it is validated in memory and the file is parsed only to name the line
// of an error; where the repairs made stored tags markup, the tree holds text where the file
// holds elements, and the file is validated as it reads.
void validateSavedFile(const QString& path, const xml::Document& doc, const QByteArray& text, bool markupRestored)
{
    if (!markupRestored && xml::rereadInPlace(doc))
        ValidateAgainstSchema(path, doc, text);
    else
        ValidateAgainstSchema(path);
}

} // namespace

void clsSPL::SaveFile(const QString& TargetFileName)
{
    WriteLog(logSeparator(), QString(), true);
    const xml::Document& doc = document();
    // SPL files are UTF-8: a declaration naming another encoding would lose characters. Each
    // element of element-only content gets a line of its own, so a validation error names its
    // line. The text is repaired before it is written, so the file is written once.
    doc.setDeclarationEncoding(QStringLiteral("UTF-8"));
    bool markupRestored = false;
    const QByteArray text = repairedSplText(doc.xmlBytes(xml::Layout::Indented), &markupRestored);
    try {
        replaceFile(TargetFileName, text);
    } catch (const VbError& error) {
        WriteLog(log_category::Error, QStringLiteral("Error Saving Document via MSXML Parser: ")
                                              + QString::number(error.number()) + QStringLiteral("  ") + error.description());
        WriteLog(log_category::Warning, QStringLiteral("Saving Document in Binary Mode"));
        replaceFile(TargetFileName, text);
    }
    WriteLog(log_category::Information, QStringLiteral("Saved File: ") + TargetFileName);
    validateSavedFile(TargetFileName, doc, text, markupRestored);
}

QString clsSPL::ValidateAgainstSchema(const QString& strFile) const
{
    return veldra::ValidateAgainstSchema(strFile);
}

} // namespace veldra
