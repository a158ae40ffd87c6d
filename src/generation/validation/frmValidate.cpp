#include "generation/validation/frmValidate.h"

#include "app/window/Twips.h"
#include "generation/BrowserFailure.h"
#include "generation/BrowserWait.h"
#include "generation/validation/ValidatorResultPage.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>
#include <optional>

namespace veldra {

namespace {

// A page that shows no script dialogs of its own and asks for the files of a file input
// through the program's file dialog.
class ValidatorPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

    int choosersOpened = 0;
    int choosersAnswered = 0;
    // The answer of the chooser that one click on the page opened. A click is sent again when
    // the browser dropped it, so a click that was only late may open a second chooser: it
    // gets the same answer without asking the user twice.
    std::optional<QStringList> answerOfThisClick;

protected:
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override
    {
        ++choosersOpened;
        if (answerOfThisClick) {
            ++choosersAnswered;
            return *answerOfThisClick;
        }
        ui::FileRequest request;
        request.title = QStringLiteral("Choose SPL File to Validate");
        request.filter = QStringLiteral("XML Files (*.xml);;All Files (*)");
        std::optional<QString> chosen;
        skip([&] { chosen = ui::backend().openFile(request); });
        answerOfThisClick = chosen ? QStringList{*chosen} : QStringList{};
        ++choosersAnswered;
        return *answerOfThisClick;
    }
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
};

ValidatorPage* validatorPage(QWebEngineView* view)
{
    return static_cast<ValidatorPage*>(view->page());
}

// The element's centre in the view and whether it is a file input: [x, y, isFileInput].
QString elementCentreScript(const QString& id)
{
    return QStringLiteral("(function () { var e = document.getElementById('%1'); if (!e) return null; "
                          "e.scrollIntoView(); var r = e.getBoundingClientRect(); "
                          "return [r.left + r.width / 2, r.top + r.height / 2, "
                          "e.tagName === 'INPUT' && e.type === 'file']; })()")
        .arg(id);
}

// Waits, handling events, until `done` holds or `limitMs` passed (no limit when negative).
void waitUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && (limitMs < 0 || timer.elapsed() < limitMs)) {
        QEventLoop pause;
        QTimer::singleShot(20, &pause, &QEventLoop::quit);
        pause.exec();
    }
}

// A chooser opens shortly after the click when the click reaches a file input. The browser
// drops input that comes before it is ready for it (after the page loaded, its first frames
// may still be on the way, the longer the busier the machine): the click on a file input is
// sent again until the chooser opens, within the limit.
constexpr int ChooserOpenLimitMs = 10000;
constexpr int ClickRepeatMs = 500;

} // namespace

frmValidate* frmValidate::instance()
{
    static QPointer<frmValidate> window;
    if (!window)
        window = new frmValidate;
    return window;
}

frmValidate::frmValidate(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmValidate"));
    setAttribute(Qt::WA_DeleteOnClose);
    WebBrowser = new QWebEngineView(this);
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    auto* page = new ValidatorPage(WebBrowser);
    reportRenderProcessFailures(page);
    WebBrowser->setPage(page);
    resize(sizeHint());
}

QSize frmValidate::sizeHint() const
{
    return QSize(twips::toPixels(12000), twips::toPixels(9000));
}

bool frmValidate::openPage(const QUrl& address)
{
    return navigateAndWait(WebBrowser, address);
}

bool frmValidate::clickElement(const QString& id)
{
    const QVariantList centre = runScriptAndWait(WebBrowser->page(), elementCentreScript(id)).toList();
    QWidget* target = WebBrowser->focusProxy();
    if (centre.size() != 3 || !target)
        return false;
    const QPoint point(qRound(centre.at(0).toDouble()), qRound(centre.at(1).toDouble()));
    const auto click = [target, point] {
        const QPoint global = target->mapToGlobal(point);
        QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    };
    return waitForChooser(click, centre.at(2).toBool());
}

// Clicks, and waits for a chooser that opens until the user has answered it. A click on a file
// input is repeated until its chooser opens.
bool frmValidate::waitForChooser(const std::function<void()>& click, bool opensChooser)
{
    QPointer<frmValidate> alive = this;
    QPointer<QWidget> target = WebBrowser->focusProxy();
    ValidatorPage* page = validatorPage(WebBrowser);
    page->answerOfThisClick.reset();
    const int openedBefore = page->choosersOpened;
    const int answeredBefore = page->choosersAnswered;
    const auto opened = [&] { return !alive || page->choosersOpened > openedBefore; };
    QElapsedTimer timer;
    timer.start();
    do {
        if (!target)
            return false;
        click();
        waitUntil(opened, opensChooser ? ClickRepeatMs : ChooserOpenLimitMs);
    } while (opensChooser && !opened() && timer.elapsed() < ChooserOpenLimitMs);
    if (alive && page->choosersOpened > openedBefore)
        waitUntil([&] { return !alive || page->choosersAnswered > answeredBefore; }, -1);
    return alive;
}

bool frmValidate::submitForm(const QString& id)
{
    const QString form = QStringLiteral("document.getElementById('%1')").arg(id);
    const QVariant isForm = runScriptAndWait(WebBrowser->page(), QStringLiteral("!!(%1 && %1.submit)").arg(form));
    if (!isForm.toBool())
        return false;
    return waitForNextLoad(WebBrowser,
                           [&] { WebBrowser->page()->runJavaScript(form + QStringLiteral(".submit();")); });
}

ValidatorReport frmValidate::readReport()
{
    return validatorReportFrom(runScriptAndWait(WebBrowser->page(), resultPageScript()));
}

void frmValidate::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    skip([this] { Form_Resize(); });
}

// The browser fills the window's client area.
void frmValidate::Form_Resize()
{
    WebBrowser->setGeometry(rect());
}

} // namespace veldra
