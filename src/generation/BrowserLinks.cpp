#include "generation/BrowserLinks.h"

#include "app/shared/SharedProcedures.h"
#include "platform/ui/Ui.h"

namespace veldra {

QString shownAddress(const QString& address)
{
    constexpr qsizetype ShownLength = 200;
    return address.size() > ShownLength ? address.left(ShownLength) + QStringLiteral("...") : address;
}

void openClickedLink(const QUrl& address)
{
    const QString scheme = address.scheme().toLower();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    if (!address.isValid() || (web && address.host().isEmpty()))
        ui::msgBox(QStringLiteral("Veldra does not open this link: its address is not a valid web or mail address.\r\n\r\n%1")
                       .arg(shownAddress(address.errorString())),
                   ui::Buttons::OK, ui::Icon::Warning);
    else if (web)
        ShellOpenAddress(address.toString());
    else if (scheme == QLatin1String("mailto"))
        ShellOpenMailAddress(address.toString());
    else
        ui::msgBox(QStringLiteral("Veldra does not open the link to '%1': it opens only web (http, https) and mail "
                                  "(mailto) addresses, and places in the page.")
                       .arg(shownAddress(address.toString())),
                   ui::Buttons::OK, ui::Icon::Warning);
}

} // namespace veldra
