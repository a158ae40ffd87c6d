#include "generation/preview/PreviewSPLFile.h"

#include "app/window/RememberedFolders.h"
#include "editor/window/SharedDialog.h"
#include "generation/FileDialogChoice.h"
#include "generation/ProgramWindows.h"
#include "generation/preview/PreviewFolder.h"
#include "generation/preview/SPLRendering.h"
#include "generation/preview/StylesheetRewrite.h"
#include "generation/preview/frmPreview.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTime>

namespace veldra {

namespace {

const QString Source = QStringLiteral("PreviewSPLFile");

const QString PreviewFileMessage = QStringLiteral(
    "The SPL Preview File has been generated in the same folder as your SPL File and is named with 'Preview_' "
    "prefix.\r\n\r\n"
    "Veldra shows the SPL file in its Preview window, rendered on this computer with the local copy of the FDA's "
    "SPL stylesheet.\r\n\r\n"
    "While this message is shown, you can open the Preview File in another program. It refers to a stylesheet on "
    "this computer instead of the FDA's online one; some web browsers do not apply such a stylesheet to a local "
    "file.\r\n\r\n"
    "The Preview File will be automatically deleted, once you dismiss this Messagebox.\r\n\r\n");

xml::Document loadSPL(const QString& path)
{
    xml::Document spl;
    if (!spl.load(path, xml::OutsideFile))
        throw VbError(spl.parseError().errorCode, Source,
                      QStringLiteral("The SPL File %1 cannot be loaded: %2").arg(path, spl.parseError().reason));
    return spl;
}

// Writes the copy that points at the local stylesheet; "" when it could not be written.
QString writePreviewCopy(const xml::Document& rewritten, const QString& splFile)
{
    const QString copy = PreviewCopyPath(splFile);
    return skip([&] { rewritten.save(copy); }) ? copy : QString();
}

RenderedSPL renderedPage(const xml::Document& rewritten)
{
    const RenderedSPL page = RenderSPLDocument(rewritten);
    if (!page.ok() && !page.stopped)
        throw VbError(err::XmlTransform, Source, page.problem);
    return page;
}

// Shows the page in the window. The pictures it shows are copied from the SPL file's folder
// into the window's own, so that the page reads no file of the user's folder.
void showInWindow(const RenderedSPL& page, const xml::Document& spl, const QString& splFile, frmPreview& window)
{
    window.setWindowTitle(QStringLiteral("Preview SPL ") + vbstr::fileNameOf(splFile) + QLatin1Char(' ')
                          + QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    PreviewFolder pictures;
    pictures.folder = window.ownFolder();
    copyReferencedImages(pictures, QFileInfo(splFile).absolutePath(), spl);
    showProgramWindow(&window);
    if (!window.showPage(page, window.ownFolder()))
        throw VbError(err::XmlTransform, Source, QStringLiteral("The preview page could not be shown."));
}

} // namespace

QString PreviewCopyPath(const QString& splFile)
{
    const QFileInfo file(splFile);
    QString copy = file.dir().filePath(QStringLiteral("Preview_") + file.fileName());
    for (int number = 2; QFileInfo::exists(copy); ++number)
        copy = file.dir().filePath(QStringLiteral("Preview_%1_").arg(number) + file.fileName());
    return copy;
}

void PreviewSPLFile()
{
    ui::CommonDialog& dialog = sharedDialog();
    dialog.prepareFile(QStringLiteral("Preview SPL File"), QStringLiteral("XML Files | *.xml"));
    skip([&] { dialog.initDir = GetLastFolder(QStringLiteral("SPLPreview")); });
    dialog.cancelError = true;
    if (!chooseFileToOpen(dialog))
        return;
    const QString splFile = dialog.fileName;
    skip([&] { SaveLastFolder(QStringLiteral("SPLPreview"), splFile); });

    try {
        const xml::Document rewritten = RewriteStylesheetReference(loadSPL(splFile));
        const RenderedSPL page = renderedPage(rewritten);
        if (page.stopped) {
            ui::msgBox(page.problem, ui::Buttons::OK, ui::Icon::Information);
            return;
        }
        QPointer<frmPreview> window = new frmPreview;
        try {
            showInWindow(page, rewritten, splFile, *window);
        } catch (...) {
            if (window)
                closeProgramWindow(window);
            throw;
        }
        const QString copy = writePreviewCopy(rewritten, splFile);
        if (copy.isEmpty())
            return;
        ui::msgBox(PreviewFileMessage, ui::Buttons::OK, ui::Icon::Information);
        QFile::remove(copy);
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, Source));
    }
}

} // namespace veldra
