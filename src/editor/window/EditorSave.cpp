// Saving the settings document of an editor window.

#include "editor/window/frmXMLEditor.h"

#include "app/window/RememberedFolders.h"
#include "app/window/frmMain.h"
#include "editor/window/SharedDialog.h"
#include "platform/core/FileSave.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

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

// Where a save writes, as decided before anything is written.
struct SaveTarget {
    QString path;
    // True when a symbolic link at path is to be replaced by the document, not followed.
    bool replacesLink = false;
};

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// Asks whether to write over a file that another program changed; true for Yes.
bool overwriteChangedFile(const QString& path)
{
    return ui::msgBox(QStringLiteral("The file %1 has been changed by another program since it was opened or last "
                                     "saved here:\r\n\r\n%2\r\n\r\nDo you want to overwrite it? The other "
                                     "program's changes will be lost.\r\n\r\nNo leaves the file as it is and this "
                                     "document unsaved: Save Settings As... can still save it under another name.")
                          .arg(vbstr::fileNameOf(path), shownPath(path)),
                      ui::Buttons::YesNo, ui::Icon::Warning)
           == ui::Answer::Yes;
}

// Asks whether to replace a symbolic link that now stands at the document's path with the
// document; true for Yes. The file the link names is never written: it may be any file.
bool replaceLinkAt(const QString& path, const FileIdentity& now)
{
    const QString named = now.linkedFile.isEmpty()
                              ? QDir::toNativeSeparators(QFileInfo(path).symLinkTarget()) + QStringLiteral(" (missing)")
                              : QDir::toNativeSeparators(now.linkedFile);
    return ui::msgBox(QStringLiteral("The file %1 is now a symbolic link to another file than the one this document "
                                     "was opened or last saved in:\r\n\r\n%2\r\n\r\nThe link names:\r\n\r\n%3\r\n\r\n"
                                     "Do you want to replace the link with this document? The file the link names is "
                                     "left as it is.\r\n\r\nNo leaves both as they are and this document unsaved: "
                                     "Save Settings As... can still save it under another name.")
                          .arg(vbstr::fileNameOf(path), shownPath(path), named),
                      ui::Buttons::YesNo, ui::Icon::Warning)
           == ui::Answer::Yes;
}

// Where the path's folder leads now, with the file's name: what a save would write.
QString whereItLeads(const QString& path)
{
    const QFileInfo entry(path);
    return QDir::toNativeSeparators(QFileInfo(entry.absolutePath()).canonicalFilePath() + QLatin1Char('/')
                                    + entry.fileName());
}

// Asks whether to save into the folder that now stands under the name of the one the document
// was opened or last saved in; true for Yes. Without it, a folder renamed away and replaced by
// a link or another folder would receive the document, or lose its own file of that name,
// unseen.
bool saveIntoAnotherFolder(const QString& path, const FileIdentity& now)
{
    const QString replaced = now.exists ? QStringLiteral("The file of that name there will be replaced.\r\n\r\n")
                                        : QString();
    return ui::msgBox(QStringLiteral("The folder of %1 is now another folder than the one this document was opened "
                                     "or last saved in:\r\n\r\n%2\r\n\r\nThe path now leads to:\r\n\r\n%3\r\n\r\n"
                                     "%4Do you want to save the document there?\r\n\r\nNo leaves both folders as "
                                     "they are and this document unsaved: Save Settings As... can still save it "
                                     "under another name.")
                          .arg(vbstr::fileNameOf(path), shownPath(path), whereItLeads(path), replaced),
                      ui::Buttons::YesNo, ui::Icon::Warning)
           == ui::Answer::Yes;
}

// What a save of the document to `path` writes, given the file as this window last knew it;
// nothing when the user answers No.
//
// A symbolic link the document was opened or last saved through, still naming the same file,
// is that file: the user chose it, as every editor treats links, so the save goes there and
// the link stays. Any other link at the path was put there since, by someone who may aim it at
// any of the user's files: it is never followed, and Yes replaces the link itself.
//
// A file as this window last read or wrote it is replaced without a question. So is one that
// is gone: writing it again loses nothing. Any other asks first, so that what another program,
// another window or a colleague wrote there is not lost unseen.
//
// A path whose folder is now another folder than the one the document came from asks first,
// naming where the path leads now; its Yes stands for replacing a file of that name there.
std::optional<SaveTarget> targetOf(const QString& path, const FileIdentity& known)
{
    const FileIdentity now = FileIdentity::of(path);
    const bool anotherFolder = now.inAnotherFolderThan(known);
    if (anotherFolder && !saveIntoAnotherFolder(path, now))
        return std::nullopt;
    if (now.isLink && (now.linkedFile.isEmpty() || now.linkedFile != known.linkedFile)) {
        if (!replaceLinkAt(path, now))
            return std::nullopt;
        return SaveTarget{path, true};
    }
    if (now.exists && now != known && !anotherFolder && !overwriteChangedFile(path))
        return std::nullopt;
    return SaveTarget{now.isLink ? now.linkedFile : path, false};
}

// Writes beside the target first, then renames over it. Whatever is at the target when it is
// written and is not a regular file (a link put there meanwhile) is refused, except the link
// the user chose to replace.
void writeSettings(const xml::Document& document, const SaveTarget& target)
{
    const QByteArray bytes = document.xmlBytes();
    const QString problem = target.replacesLink ? saveReplacingLink(target.path, bytes) : saveReplacing(target.path, bytes);
    if (!problem.isEmpty())
        throw VbError(err::FileAccess, QStringLiteral("SaveXMLDoc"),
                      QStringLiteral("The file '%1' cannot be written: %2").arg(target.path, problem));
}

} // namespace

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
        const bool naming = XMLFileName.isEmpty() || SaveAs;
        const QString file = naming ? askForSettingsFile() : XMLFileName;
        if (file.isEmpty())
            return false;
        // The dialog asked before an existing file is replaced: the file as it stands now.
        const std::optional<SaveTarget> target = targetOf(file, naming ? FileIdentity::of(file) : fileOnDisk_);
        if (!target)
            return false;
        writeSettings(*XMLDoc, *target);
        // The document takes the file's name only once it is written there: a save that fails
        // leaves its name, caption and what it knows of its file as they were.
        XMLFileName = file;
        fileOnDisk_ = FileIdentity::of(file);
        if (naming)
            setEditCaption(file);
        skip([&] { SaveLastFolder(QStringLiteral("SettingsFile"), file); });
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("SaveXMLDoc")));
        return false;
    }
    makeCurrentEditor();
    Saved = true;
    return true;
}

} // namespace veldra
