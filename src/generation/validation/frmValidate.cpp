#include "generation/validation/frmValidate.h"

#include "app/Twips.h"
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

namespace veldra {

namespace {

// A page that shows no script dialogs of its own and asks for the files of a file input
// through the program's file dialog.
class ValidatorPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

    int choosersOpened = 0;
    int choosersAnswered = 0;

protected:
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override
    {
        ++choosersOpened;
        ui::FileRequest request;
        request.title = QStringLiteral("Choose SPL File to Validate");
        request.filter = QStringLiteral("XML Files (*.xml);;All Files (*)");
        std::optional<QString> chosen;
        skip([&] { chosen = ui::backend().openFile(request); });
        ++choosersAnswered;
        return chosen ? QStringList{*chosen} : QStringList{};
    }
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
};

ValidatorPage* validatorPage(QWebEngineView* view)
{
    return static_cast<ValidatorPage*>(view->page());
}

QString elementCentreScript(const QString& id)
{
    return QStringLiteral("(function () { var e = document.getElementById('%1'); if (!e) return null; "
                          "e.scrollIntoView(); var r = e.getBoundingClientRect(); "
                          "return [r.left + r.width / 2, r.top + r.height / 2]; })()")
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

// A chooser opens shortly after the click when the click reaches a file input.
constexpr int ChooserOpenLimitMs = 3000;

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
    WebBrowser->setPage(new ValidatorPage(WebBrowser));
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
    if (centre.size() != 2 || !target)
        return false;
    const QPoint point(qRound(centre.at(0).toDouble()), qRound(centre.at(1).toDouble()));
    const QPoint global = target->mapToGlobal(point);
    QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    return waitForChooser();
}

// A chooser that opened is waited for until the user has answered it.
bool frmValidate::waitForChooser()
{
    QPointer<frmValidate> alive = this;
    ValidatorPage* page = validatorPage(WebBrowser);
    const int openedBefore = page->choosersOpened;
    const int answeredBefore = page->choosersAnswered;
    waitUntil([&] { return !alive || page->choosersOpened > openedBefore; }, ChooserOpenLimitMs);
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
