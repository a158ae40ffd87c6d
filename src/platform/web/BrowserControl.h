#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <functional>

class QWidget;

namespace veldra::web {

// What a window asks of its browser control besides showing pages.
struct BrowserSettings {
    // Only local files of the readable folders (see setReadableFolders) and data: addresses
    // load; every other request is blocked.
    bool localFilesOnly = false;
    // Answers a page's file input: the chosen files, none when the user cancelled. Without
    // it the page gets no files.
    std::function<QStringList()> chooseFiles;
    // The page the program shows stays: nothing the page holds navigates the control away (a
    // link, a form, a script, a refresh, a new window), except to a place in the page itself.
    // The address of a link the user clicks to leave the page goes to `openLink`, after the
    // click has been handled.
    bool keepPage = false;
    // Without keepPage, only a link to an address the control does not show itself (mailto:)
    // goes to `openLink`. A link the user opens in a new window (a middle click, Ctrl and a
    // click, a link to a new window) is taken as a click on it; a script's new window is not
    // opened.
    std::function<void(const QUrl& address)> openLink;
    // Told, with a message for the user, when the process that shows the page crashed or was
    // killed: only the page is gone, the program carries on.
    std::function<void(const QString& message)> pageProcessFailed;
};

// The browser control of the preview and validation windows. Its engine lives in a module
// of its own (see BrowserModule.h); the control is a child widget of the window that asked
// for it and is deleted with it. Pages never show script dialogs of their own.
//
// The waits handle pending events (the user can work in other windows meanwhile), so the
// control may be deleted during any of them; they then return as failed.
class BrowserControl {
public:
    virtual ~BrowserControl() = default;

    // The control's widget.
    virtual QWidget* widget() = 0;
    // Navigates to `url` and returns when the page has loaded. False when the load failed or
    // the control was deleted while waiting.
    virtual bool navigateAndWait(const QUrl& url) = 0;
    // Calls `startLoad` and returns when the next page load has ended; as navigateAndWait.
    virtual bool waitForNextLoad(const std::function<void()>& startLoad) = 0;
    // Runs a script in the page and returns its result once it is there. An invalid QVariant
    // when the page has no process to run it, or when the page or its process went away first.
    virtual QVariant runScriptAndWait(const QString& script) = 0;
    // Starts a script in the page without waiting for it.
    virtual void runScript(const QString& script) = 0;
    // The id of the process that shows the page; 0 when there is none.
    virtual qint64 pageProcessId() const = 0;
    // With localFilesOnly, the folders whose files (in them or below them, links resolved)
    // the page may load, its own page file included; none until set.
    virtual void setReadableFolders(const QStringList& folders) = 0;
};

// The module's one entry point, by this name: a new control as a child of `parent`.
using CreateBrowserControl = BrowserControl* (*)(QWidget* parent, const BrowserSettings& settings);
inline constexpr char CreateBrowserControlName[] = "veldraCreateBrowserControl";

} // namespace veldra::web
