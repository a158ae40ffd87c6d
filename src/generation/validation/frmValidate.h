#pragma once

#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

namespace veldra {

namespace web {
class BrowserControl;
}

struct ValidatorReport;

// The window of the online validation: a browser control that shows the outside validator's
// pages. One window serves every validation; it stays open on the last page shown.
class frmValidate : public QWidget {
    Q_OBJECT
public:
    // The window, created on first use; making it loads the browser engine the first time,
    // and throws VbError when the engine cannot be loaded.
    static frmValidate* instance();

    web::BrowserControl* WebBrowser;

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
    // Answers the page's file input through the program's file dialog.
    QStringList chooseFiles();

    int choosersOpened_ = 0;
    int choosersAnswered_ = 0;
    // The answer of the chooser that one click on the page opened. A click is sent again when
    // the browser dropped it, so a click that was only late may open a second chooser: it
    // gets the same answer without asking the user twice.
    std::optional<QStringList> answerOfThisClick_;
};

} // namespace veldra
