#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>

class QWebEngineView;

namespace veldra {

struct ValidatorReport;

// The window of the online validation: a browser control that shows the outside validator's
// pages. One window serves every validation; it stays open on the last page shown.
class frmValidate : public QWidget {
    Q_OBJECT
public:
    // The window, created on first use.
    static frmValidate* instance();

    QWebEngineView* WebBrowser;

    // Shows the page at `address` and returns when it has loaded; false when it did not.
    bool openPage(const QUrl& address);
    // Clicks the page's element with the id as a user would, so that a file input opens the
    // page's file chooser, and returns when the user has answered the chooser. False when the
    // page has no such element.
    bool clickElement(const QString& id);
    // Submits the page's form with the id and returns when the answer page has loaded. False
    // when the page has no such form or the answer did not load.
    bool submitForm(const QString& id);
    // What the result page shown reports.
    ValidatorReport readReport();

    void Form_Resize();
    // The size the window opens with.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    explicit frmValidate(QWidget* parent = nullptr);
    bool waitForChooser(const std::function<void()>& click, bool opensChooser);
};

} // namespace veldra
