#include "generation/validation/frmValidate.h"

#include "app/window/Twips.h"
#include "generation/BrowserFailure.h"
#include "generation/BrowserLinks.h"
#include "generation/validation/ValidatorResultPage.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"
#include "platform/web/BrowserModule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace veldra {

namespace {

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
    web::BrowserSettings settings;
    settings.chooseFiles = [this] { return chooseFiles(); };
    settings.openLink = openClickedLink;
    settings.pageProcessFailed = showPageProcessFailure;
    WebBrowser = web::createBrowserControl(this, settings);
    WebBrowser->widget()->setObjectName(QStringLiteral("WebBrowser"));
    resize(sizeHint());
}

QStringList frmValidate::chooseFiles()
{
    ++choosersOpened_;
    if (answerOfThisClick_) {
        ++choosersAnswered_;
        return *answerOfThisClick_;
    }
    ui::FileRequest request;
    request.title = QStringLiteral("Choose SPL File to Validate");
    request.filter = QStringLiteral("XML Files (*.xml);;All Files (*)");
    std::optional<QString> chosen;
    skip([&] { chosen = ui::backend().openFile(request); });
    answerOfThisClick_ = chosen ? QStringList{*chosen} : QStringList{};
    ++choosersAnswered_;
    return *answerOfThisClick_;
}

QSize frmValidate::sizeHint() const
{
    return QSize(twips::toPixels(12000), twips::toPixels(9000));
}

bool frmValidate::openPage(const QUrl& address)
{
    return WebBrowser->navigateAndWait(address);
}

bool frmValidate::clickElement(const QString& id)
{
    const QVariantList centre = WebBrowser->runScriptAndWait(elementCentreScript(id)).toList();
    QWidget* target = WebBrowser->widget()->focusProxy();
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
    QPointer<QWidget> target = WebBrowser->widget()->focusProxy();
    answerOfThisClick_.reset();
    const int openedBefore = choosersOpened_;
    const int answeredBefore = choosersAnswered_;
    const auto opened = [&] { return !alive || choosersOpened_ > openedBefore; };
    QElapsedTimer timer;
    timer.start();
    do {
        if (!target)
            return false;
        click();
        waitUntil(opened, opensChooser ? ClickRepeatMs : ChooserOpenLimitMs);
    } while (opensChooser && !opened() && timer.elapsed() < ChooserOpenLimitMs);
    if (alive && choosersOpened_ > openedBefore)
        waitUntil([&] { return !alive || choosersAnswered_ > answeredBefore; }, -1);
    return alive;
}

bool frmValidate::submitForm(const QString& id)
{
    const QString form = QStringLiteral("document.getElementById('%1')").arg(id);
    const QVariant isForm = WebBrowser->runScriptAndWait(QStringLiteral("!!(%1 && %1.submit)").arg(form));
    if (!isForm.toBool())
        return false;
    return WebBrowser->waitForNextLoad([&] { WebBrowser->runScript(form + QStringLiteral(".submit();")); });
}

ValidatorReport frmValidate::readReport()
{
    return validatorReportFrom(WebBrowser->runScriptAndWait(resultPageScript()));
}

void frmValidate::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    skip([this] { Form_Resize(); });
}

// The browser fills the window's client area.
void frmValidate::Form_Resize()
{
    WebBrowser->widget()->setGeometry(rect());
}

} // namespace veldra
