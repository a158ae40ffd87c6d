#include "wordimport/clsWord.h"

#include "wordimport/ImportLog.h"
#include "wordimport/LinkBounds.h"

namespace veldra {

namespace {

constexpr qsizetype shownAddressCharacters = 60;

} // namespace

bool clsWord::admitsLink(const QString& shown, const QString& target, qsizetype textSize)
{
    if (target.size() > kMaxLinkAddressCharacters) {
        WriteLog(log_category::Warning, wordlog::indent5
                                            + QStringLiteral("Hyperlink left as text, its address being longer than %1 characters: %2 > %3...")
                                                  .arg(kMaxLinkAddressCharacters)
                                                  .arg(shown, target.left(shownAddressCharacters)));
        return false;
    }
    return spendLinkCharacters(shown, textSize + shown.size() + target.size());
}

bool clsWord::spendLinkCharacters(const QString& shown, qint64 characters)
{
    if (characters <= linkCharactersLeft_) {
        linkCharactersLeft_ -= characters;
        return true;
    }
    // Said once: every later link is left as text for the same reason.
    if (linkCharactersLeft_ >= 0)
        WriteLog(log_category::Warning, wordlog::indent5
                                            + QStringLiteral("The links of the document cost more than %1 characters: '%2' and the "
                                                             "links and cross references after it are left as text.")
                                                  .arg(LinkCharacters)
                                                  .arg(shown));
    linkCharactersLeft_ = -1;
    return false;
}

} // namespace veldra
