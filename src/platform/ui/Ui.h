#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/core/VbError.h"

// Every question the program asks the user goes through this seam: message boxes,
// input boxes, file, folder and colour dialogs, plus the shell and the clipboard.
// The program installs the Qt backend; tests install a scripted one.
namespace veldra::ui {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Icon { None, Critical, Question, Warning, Information };
enum class Answer { OK, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageRequest {
    QString text;
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    QString title;  // empty: the program's title
};

struct InputRequest {
    QString prompt;
    QString title;
    QString defaultText;
};

struct FileRequest {
    QString title;
    QString filter;       // Qt form: "Desc (*.xml);;All (*)"
    int filterIndex = 0;  // 0-based entry of filter to preselect
    QString fileName;     // initial file name (may include a folder)
    QString initialFolder;
    bool overwritePrompt = false;
    // Save dialogs: the extension (without the dot) given to a name typed without one, so
    // that the file shows up under the same filter when it is opened again.
    QString defaultSuffix;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual Answer message(const MessageRequest& request) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> input(const InputRequest& request) = 0;
    virtual std::optional<QString> openFile(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileRequest& request) = 0;
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& initialFolder) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // Opens a file, folder or web address with the desktop's default handler.
    virtual bool shellOpen(const QString& target) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    virtual QString clipboardText() = 0;
    // Lets the window system paint and deliver input during long work.
    virtual void pumpMessages() = 0;
};

Backend& backend();
// Installs a backend (not owned); nullptr restores the Qt backend.
void setBackend(Backend* backend);

// Shorthands that fill in the program's title.
Answer msgBox(const QString& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
              const QString& title = {});
// Input box: the typed text (possibly empty), or nothing when the user cancels.
std::optional<QString> inputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {});
bool shellOpen(const QString& target);
void pumpMessages();

// The critical message box of a failed window-level command:
// "source number: description", optionally after a heading and an empty line.
void showError(const VbError& error, const QString& heading = {});

} // namespace veldra::ui
