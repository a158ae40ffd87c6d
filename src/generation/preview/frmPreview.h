#pragma once

#include "generation/preview/SPLRendering.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>

namespace veldra {

namespace web {
class BrowserControl;
}

// A preview window: a browser control showing an SPL file rendered through the SPL stylesheet.
// The quick preview of an editor reuses the window whose SourceXMLEditor is that editor. The
// page may load local files of its own folder and the stylesheet's only; nothing is fetched
// from the web, and nothing the page holds replaces it: a web or mail link the user clicks
// opens in the desktop's browser or mail program, an in-page link scrolls. Making the window loads the browser engine the first time; it throws VbError
// when the engine cannot be loaded.
class frmPreview : public QWidget {
    Q_OBJECT
public:
    explicit frmPreview(QWidget* parent = nullptr);

    web::BrowserControl* WebBrowser;
    // The editor window whose document the window shows (none for a previewed file).
    QPointer<QWidget> SourceXMLEditor;

    // Shows a rendered label and returns when it has loaded; false when it did not. The page
    // is written into `folder`, where its relative references (the label's pictures) are found,
    // and loads files of that folder and of the page's stylesheet folder only. Links of the
    // label that may not open are made inert first, each named in the log.
    bool showPage(const RenderedSPL& page, const QString& folder);
    // A folder of the window's own, for the pictures of a previewed file.
    QString ownFolder() const { return ownFolder_.path(); }
    // The vertical scroll position of the page shown.
    int scrollTop() const;
    // Scrolls the page to the position (a page shown again opens where the user left it).
    void scrollTo(int x, int y);

    void Form_Resize();
    // The size the window opens with.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QTemporaryDir ownFolder_;
};

} // namespace veldra
