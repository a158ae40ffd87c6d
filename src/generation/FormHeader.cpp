#include "generation/FormHeader.h"

#include "app/window/WindowHelpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QWidget>

namespace veldra {

FormHeader makeFormHeader(QWidget* parent, const QString& info)
{
    FormHeader header;
    header.picHeader = new QWidget(parent);
    header.picHeader->setObjectName(QStringLiteral("picHeader"));
    header.picHeader->setAutoFillBackground(true);
    QPalette white = header.picHeader->palette();
    white.setColor(QPalette::Window, Qt::white);
    header.picHeader->setPalette(white);

    header.lblInfo = new QLabel(info, header.picHeader);
    header.lblInfo->setObjectName(QStringLiteral("lblInfo"));
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    header.lblInfo->setFont(font);
    header.lblInfo->setStyleSheet(QStringLiteral("color: rgb(128, 128, 128);"));

    header.picLogo = new QLabel(header.picHeader);
    header.picLogo->setObjectName(QStringLiteral("picLogo"));
    header.picLogo->setFixedSize(170, 50);
    header.picLogo->setScaledContents(true);
    SetFormLogo(header.picLogo);

    auto* band = new QHBoxLayout(header.picHeader);
    band->addWidget(header.lblInfo);
    band->addStretch(1);
    band->addWidget(header.picLogo);
    return header;
}

} // namespace veldra
