#include "buildform/HeaderBand.h"

#include <QHBoxLayout>
#include <QLabel>

namespace veldra::buildform {

QWidget* makeHeaderBand(QWidget* parent, const QString& title, QLabel*& lblInfo, QLabel*& picLogo)
{
    auto* band = new QWidget(parent);
    band->setObjectName(QStringLiteral("picHeader"));
    band->setAutoFillBackground(true);
    QPalette palette = band->palette();
    palette.setColor(QPalette::Window, Qt::white);
    band->setPalette(palette);

    lblInfo = new QLabel(title, band);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    lblInfo->setFont(font);
    lblInfo->setStyleSheet(QStringLiteral("color: grey"));

    picLogo = new QLabel(band);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setFixedSize(170, 50);
    picLogo->setScaledContents(true);

    auto* layout = new QHBoxLayout(band);
    layout->addWidget(lblInfo);
    layout->addStretch();
    layout->addWidget(picLogo);
    return band;
}

} // namespace veldra::buildform
