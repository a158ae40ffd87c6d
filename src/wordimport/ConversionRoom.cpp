#include "wordimport/clsWord.h"

#include "app/shared/SharedProcedures.h"
#include "platform/core/VbError.h"

namespace veldra {

QString clsWord::paragraphMarkup(const word::Paragraph& Paragraph, const QString& SectionTitle)
{
    if (outOfRoom())
        return {};
    // A paragraph that cannot fit is refused before its markup is built.
    if (Room.fits(leastMarkupSizeOf(Paragraph.range()))) {
        QString markup = FormatBoldItalicUnderlineSubScriptSuperScript(Paragraph);
        if (Room.take(newMarkupSize(markup)))
            return markup;
    }
    roomPassedIn_ = SectionTitle;
    return {};
}

void clsWord::refuseOutOfRoom() const
{
    QString section = roomPassedIn_.value_or(QString());
    StripControlChars(section);
    throw VbError(err::General, QStringLiteral("clsWord"),
                  QStringLiteral("The label is larger than the editor opens (%1): its text passes that size in the "
                                 "section '%2'.")
                      .arg(EditorRoom::limitText(), section));
}

} // namespace veldra
