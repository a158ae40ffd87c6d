#include "generation/preview/PreviewSPLR4Document.h"

#include "app/EditorWindow.h"
#include "app/log/Log.h"
#include "app/window/frmMain.h"
#include "editor/window/frmXMLEditor.h"
#include "generation/preview/PreviewFolder.h"
#include "generation/ProgramWindows.h"
#include "generation/preview/SPLRendering.h"
#include "generation/preview/StylesheetRewrite.h"
#include "generation/building/TransformSPLR4ToSPL.h"
#include "generation/preview/frmPreview.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

#include <QPointer>
#include <QTime>

namespace veldra {

namespace {

const QString Source = QStringLiteral("PreviewSPLR4Document");

// A preview without a stylesheet to render with: said in a message box whatever the logging.
class StylesheetMissing : public VbError {
public:
    using VbError::VbError;
};

// Logging as the user set it in the menu (as it was before the preview without a main window).
void restoreLogging(bool before)
{
    frmMain* main = mainForm();
    NoLogging = main ? !main->mnuShowLogging->isChecked() : before;
}

frmPreview* previewWindowOf(const frmXMLEditor& editor)
{
    for (QWidget* window : programWindows())
        if (auto* preview = qobject_cast<frmPreview*>(window); preview && preview->SourceXMLEditor == &editor)
            return preview;
    return nullptr;
}

// The built file, pointed at the local stylesheet; a build that wrote no file fails here.
xml::Document rewriteStylesheet(const QString& splFile)
{
    xml::Document spl;
    if (!spl.load(splFile, xml::OutsideFile))
        throw VbError(spl.parseError().errorCode, Source,
                      QStringLiteral("The SPL File %1 cannot be loaded: %2").arg(splFile, spl.parseError().reason));
    const xml::Document rewritten = RewriteStylesheetReference(spl);
    rewritten.save(splFile);
    return rewritten;
}

// The page; the windows stay alive while it is rendered, so the editor may close meanwhile.
RenderedSPL renderedPage(const xml::Document& spl)
{
    RenderedSPL page = RenderSPLDocument(spl);
    if (page.stylesheetMissing)
        throw StylesheetMissing(err::FileNotFound, Source, page.problem);
    if (!page.ok() && !page.stopped)
        throw VbError(err::XmlTransform, Source, page.problem);
    return page;
}

// The editor's window is found again by the editor, which must still be open.
void show(frmXMLEditor& editor, const RenderedSPL& page, const PreviewFolder& preview)
{
    QPointer<frmPreview> window = previewWindowOf(editor);
    int scrollPosition = 0;
    if (window)
        skip([&] { scrollPosition = window->scrollTop(); });
    else
        window = new frmPreview;
    window->SourceXMLEditor = &editor;
    QString caption = editor.windowTitle();
    caption.remove(QStringLiteral("Edit SPLR4 "));
    window->setWindowTitle(QStringLiteral("Preview SPL ") + caption + QLatin1Char(' ')
                           + QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    showProgramWindow(window);
    if (!window->showPage(page, preview.folder))
        throw VbError(err::XmlTransform, Source, QStringLiteral("The preview page could not be shown."));
    window->scrollTo(0, scrollPosition);
    showProgramWindow(window);
}

// The failure lines go to the log; with logging off (and for a missing stylesheet, which the
// user must install or download) a message box shows them too.
void reportFailure(const VbError& error, bool alwaysShown)
{
    const QString line = QStringLiteral("PreviewSPLQuick  - ") + error.text();
    WriteLog(log_category::Error, line);
    WriteLog(log_category::Error, QStringLiteral("Preview Rendering of SPL failed."));
    if (NoLogging || alwaysShown)
        ui::msgBox(line + QStringLiteral("\r\n\r\nPreview Rendering of SPL failed."), ui::Buttons::OK,
                   ui::Icon::Critical);
}

// A stop the user asked for is no failure: the log says it, or a box with logging off.
void reportStopped(const QString& text)
{
    WriteLog(log_category::Information, text);
    if (NoLogging)
        ui::msgBox(text, ui::Buttons::OK, ui::Icon::Information);
}

} // namespace

void PreviewSPLR4Document(QPointer<frmXMLEditor> editor)
{
    if (!editor)
        return;
    if (!editor->isSettingsMode() || !editor->XMLDoc) {
        ui::msgBox(needsSettingsDocumentText(QStringLiteral("The Quick Preview")), ui::Buttons::OK, ui::Icon::Warning);
        return;
    }
    const bool loggingBefore = NoLogging;
    NoLogging = true;
    // The build lets events run and the editor may close meanwhile: the document is held by
    // a handle of its own, and a closed editor gets no preview.
    const xml::Document settings = *editor->XMLDoc;
    const PreviewFolder preview = previewFolderFor(xml::textAt(settings, QStringLiteral("//SPLR4/GeneralData/DocumentID")));
    const QString imageFolder = xml::textAt(settings, QStringLiteral("//SPLR4/ProductLabel/WordDocument/ImageTargetFolder"));
    try {
        emptyPreviewFolder(preview);
        const BuildOutcome built = TransformSPLR4ToSPL(settings, preview.splFile);
        if (!built.written && built.failure.isEmpty()) {
            restoreLogging(loggingBefore);  // refused while another build runs, which it said
            return;
        }
        // The build logs nothing while the preview runs: its failure is the preview's, with the
        // file that caused it.
        if (!built.written)
            throw VbError(err::General, Source,
                          QStringLiteral("The SPL File %1 was not built: %2").arg(preview.splFile, built.failure));
        const xml::Document spl = rewriteStylesheet(preview.splFile);
        // What the page's pictures and links do wrong is the preview's to say.
        restoreLogging(loggingBefore);
        copyReferencedImages(preview, imageFolder, spl);
        if (!editor)
            return;
        const RenderedSPL page = renderedPage(spl);
        if (page.stopped)
            reportStopped(page.problem);
        else if (editor)
            show(*editor, page, preview);
    } catch (const StylesheetMissing& e) {
        restoreLogging(loggingBefore);
        reportFailure(e, true);
    } catch (const std::exception& e) {
        restoreLogging(loggingBefore);
        reportFailure(toVbError(e, Source), false);
    }
}

} // namespace veldra
