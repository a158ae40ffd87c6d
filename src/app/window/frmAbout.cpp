#include "app/window/frmAbout.h"

#include "app/shared/SharedProcedures.h"
#include "app/window/Twips.h"
#include "app/window/WebAddresses.h"
#include "platform/core/AppInfo.h"

#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veldra {

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(twips::toPixels(4320), twips::toPixels(2775));

    frameAbout = new QGroupBox(this);
    frameAbout->setObjectName(QStringLiteral("frameAbout"));
    frameAbout->setGeometry(twips::toPixels(120, 60, 4080, 1980));
    lblInfo = new QLabel(QStringLiteral("INFO"), frameAbout);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblInfo->setGeometry(twips::toPixels(120, 240, 3840, 1080));
    txtCompanyInfo = new QLineEdit(frameAbout);
    txtCompanyInfo->setObjectName(QStringLiteral("txtCompanyInfo"));
    txtCompanyInfo->setReadOnly(true);
    txtCompanyInfo->setAlignment(Qt::AlignHCenter);
    txtCompanyInfo->setFrame(false);
    txtCompanyInfo->setGeometry(twips::toPixels(120, 1440, 3840, 375));

    cmdVisitWebSite = new QPushButton(QStringLiteral("Visit &Website"), this);
    cmdVisitWebSite->setObjectName(QStringLiteral("cmdVisitWebSite"));
    cmdVisitWebSite->setGeometry(twips::toPixels(120, 2160, 1800, 450));
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setGeometry(twips::toPixels(2880, 2160, 1320, 450));

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdVisitWebSite, &QPushButton::clicked, this, [this] { cmdVisitWebSite_Click(); });
}

void frmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void frmAbout::Form_Activate()
{
    setWindowTitle(QStringLiteral("About %1 V%2.%3.%4")
                       .arg(app_info::title())
                       .arg(app_info::versionMajor())
                       .arg(app_info::versionMinor())
                       .arg(app_info::versionRevision()));
    lblInfo->setText(QStringLiteral("%1\n\nVersion %2.%3 Build %4")
                         .arg(app_info::title())
                         .arg(app_info::versionMajor())
                         .arg(app_info::versionMinor())
                         .arg(app_info::versionRevision()));
    txtCompanyInfo->setText(QStringLiteral("Copyright %1 %2").arg(app_info::publisher()).arg(QDate::currentDate().year()));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdVisitWebSite_Click()
{
    ShellOpenAddress(web::VeldraWebSite);
}

} // namespace veldra
