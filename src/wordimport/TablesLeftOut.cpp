#include "wordimport/clsWord.h"

#include "app/shared/SharedProcedures.h"
#include "platform/word/Paragraph.h"
#include "wordimport/ImportLog.h"

namespace veldra {

namespace {

// A table by its section and its first words, as the user finds it in the document.
QString tableName(const word::Table& table, const QString& sectionTitle)
{
    constexpr int shownCharacters = 40;
    QString first = table.range().paragraphs().first().range().text();
    StripControlChars(first);
    first = first.simplified();
    if (first.size() > shownCharacters)
        first = first.left(shownCharacters) + QStringLiteral("...");
    QString section = sectionTitle;
    StripControlChars(section);
    return QStringLiteral("the table beginning \"%1\" in section '%2'").arg(first, section.simplified());
}

} // namespace

bool clsWord::leaveTableOut(const word::Table& Table, const QString& SectionTitle, const QString& reason)
{
    const QString name = tableName(Table, SectionTitle);
    WriteLog(log_category::Error, QStringLiteral("Table could not be converted and is left out: %1 (%2)").arg(name, reason));
    TablesLeftOut << name;
    return false;
}

} // namespace veldra
