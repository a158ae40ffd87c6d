#pragma once

#include <QString>
#include <QUrl>

namespace veldra {

// Opens a link the user clicked in a page of the program (see web::BrowserSettings::openLink)
// with the desktop: a web address in its browser, a mail address in its mail program. Any
// other address, and one that is not valid, is named in a message that says why it stays
// unopened.
void openClickedLink(const QUrl& address);

// An address as a message names it: a long one (a hostile page may hold megabytes) is cut.
QString shownAddress(const QString& address);

} // namespace veldra
