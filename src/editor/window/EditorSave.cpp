// Saving the settings document of an editor window.

#include "editor/window/frmXMLEditor.h"

#include "app/window/RememberedFolders.h"
#include "app/window/frmMain.h"
#include "editor/window/SharedDialog.h"
#include "platform/core/VbString.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QDir>
#include <QFileInfo>

namespace veldra {

namespace {

// Asks for the file to save as. Empty when the user cancels.
QString askForSettingsFile()
{
    ui::CommonDialog& dialog = sharedDialog();
    dialog.prepareFile(QStringLiteral("Save Settings File"), QStringLiteral("XML Files | *.xml"));
    dialog.cancelError = true;
    dialog.overwritePrompt = true;
    dialog.initDir = GetLastFolder(QStringLiteral("Settings"));
    try {
        return dialog.showSave() ? dialog.fileName : QString();
    } catch (const VbError& e) {
        if (e.number() == ui::CommonDialog::cancelErrorNumber)
            return {};
        throw;
    }
}

// The file a save of the user's own document writes. A document opened or saved through a
// symbolic link is the file the link names: the user chose it, as every editor treats links,
// so its save goes there and the link stays. The writer refuses to write through a link.
QString fileToWrite(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? path : target;
}

// Asks whether to write over a file that another program changed; true for Yes.
bool overwriteChangedFile(const QString& path)
{
    return ui::msgBox(QStringLiteral("The file %1 has been changed by another program since it was opened or last "
                                     "saved here:\r\n\r\n%2\r\n\r\nDo you want to overwrite it? The other "
                                     "program's changes will be lost.\r\n\r\nNo leaves the file as it is and this "
                                     "document unsaved: Save Settings As... can still save it under another name.")
                          .arg(vbstr::fileNameOf(path), QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())),
                      ui::Buttons::YesNo, ui::Icon::Warning)
           == ui::Answer::Yes;
}

} // namespace

// A file that is as this window last read or wrote it is replaced without a question. So is
// one that is gone: writing it again loses nothing. Any other asks first, so that what another
// program, another window or a colleague wrote there is not lost unseen.
bool frmXMLEditor::mayReplaceFile() const
{
    const FileIdentity now = FileIdentity::of(XMLFileName);
    return !now.exists || now == fileOnDisk_ || overwriteChangedFile(XMLFileName);
}

void frmXMLEditor::setEditCaption(const QString& fileName)
{
    setWindowTitle(QStringLiteral("Edit SPLR4 [") + vbstr::fileNameOf(fileName) + QLatin1Char(']'));
}

bool frmXMLEditor::SaveXMLDoc(bool SaveAs)
{
    // Only a document that loaded can be saved: a file that failed to load is never
    // written over.
    if (!XMLDoc)
        return false;
    try {
        if (XMLFileName.isEmpty() || SaveAs) {
            const QString chosen = askForSettingsFile();
            if (chosen.isEmpty())
                return false;
            XMLFileName = chosen;
            // The dialog asked before an existing file is replaced: the file as it stands now.
            fileOnDisk_ = FileIdentity::of(XMLFileName);
            SaveLastFolder(QStringLiteral("SettingsFile"), XMLFileName);
            setEditCaption(XMLFileName);
        }
        if (!mayReplaceFile())
            return false;
        SaveLastFolder(QStringLiteral("SettingsFile"), XMLFileName);
        XMLDoc->save(fileToWrite(XMLFileName));  // written beside the file first, then renamed over it
        fileOnDisk_ = FileIdentity::of(XMLFileName);
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("SaveXMLDoc")));
        return false;
    }
    makeCurrentEditor();
    Saved = true;
    return true;
}

} // namespace veldra
