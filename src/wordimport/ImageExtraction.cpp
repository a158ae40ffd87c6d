#include "wordimport/clsWord.h"

#include "app/shared/SharedProcedures.h"
#include "wordimport/ImportLog.h"
#include "wordimport/PictureToJpeg.h"

#include <QDir>

namespace veldra {

QString clsWord::ProcessImage(const word::Collection<word::InlineShape>& InlineShapes, QString& SectionTitle,
                              QString& SubSectionTitle, const QString& Folder, bool AddToText)
{
    const QString indent = AddToText ? wordlog::indent5 : wordlog::indent10;
    QString references;
    for (const word::InlineShape& shape : InlineShapes) {
        ++ImageCounter;
        const QString id = QStringLiteral("img") + ZeroPad(QString::number(ImageCounter), 4);
        const QString fileName = id + QStringLiteral(".jpg");
        const QString path = QDir(Folder).filePath(fileName);
        if (ExtractImages) {
            WriteLog(log_category::Information, indent + QStringLiteral("Extracting Image ") + fileName);
            if (!pictures_)
                pictures_.emplace(PictureDrawingTime);
            const bool timeWasLeft = !pictures_->drawingTimeIsSpent();
            QString reason;
            try {
                if (!dib_)
                    dib_ = std::make_unique<cDIBSection>();
                writePictureAsJpeg(pictures_->draw(shape), path, *dib_, reason);
            } catch (const std::exception& e) {
                WriteLog(log_category::Error, indent + toVbError(e, QStringLiteral("clsWord")).text());
            }
            if (!reason.isEmpty()) {
                WriteLog(log_category::Warning, indent + (DocumentCompatibilityMode
                                               ? QStringLiteral("MS-Word Document is in Compatibility Mode, Image extraction could fail.")
                                               : QStringLiteral("A problem was detected while extracting the Image from MS-Word Document"))
                                 + QStringLiteral(": ") + reason);
                WriteLog(log_category::Warning, indent + QStringLiteral("Check and replace Image file as needed: ") + fileName);
            }
            if (timeWasLeft && pictures_->drawingTimeIsSpent())
                WriteLog(log_category::Warning,
                         indent + QStringLiteral("Drawing the pictures of this document has taken more than the %1 seconds "
                                                 "allowed: the pictures after %2 are not drawn.")
                                      .arg(double(pictures_->drawingTime().count()) / 1000.0)
                                      .arg(fileName));
        } else {
            WriteLog(log_category::Information, indent + QStringLiteral("Linking Image ") + fileName);
            WriteLog(log_category::Warning, indent + QStringLiteral("Manual setup, corresponding Image file must be saved as:"));
            WriteLog(log_category::Warning, indent + path);
        }
        SPL->AddSectionImage(SectionTitle, SubSectionTitle, id, fileName);
        if (AddToText) {
            QString text = id;
            QString noId;
            SPL->AddSectionText(SectionTitle, SubSectionTitle, QStringLiteral("Image"), text, false, noId);
        } else {
            references += QStringLiteral("<renderMultiMedia referencedObject=\"") + id + QStringLiteral("\"/>");
        }
    }
    return references;
}

} // namespace veldra
