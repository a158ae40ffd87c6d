#include "platform/ui/WorkProgress.h"

#include <QApplication>
#include <QDateTime>

#include <limits>

namespace veldra::ui {

namespace {

// Events run at most this often during work, and the window shows after this long.
constexpr qint64 PumpIntervalMs = 40;
constexpr int ShowAfterMs = 400;
// QProgressDialog counts in int: larger totals are shown scaled.
constexpr qint64 MaxBarSteps = std::numeric_limits<int>::max();

int& workUnderWay()
{
    static int count = 0;
    return count;
}

WorkProgress::StopHook& stopHook()
{
    static WorkProgress::StopHook hook;
    return hook;
}

int barValue(qint64 done, qint64 total)
{
    if (total <= MaxBarSteps)
        return int(done);
    return int(double(done) / double(total) * double(MaxBarSteps));
}

} // namespace

WorkProgress::WorkProgress(const QString& text, qint64 total) : total_(std::max<qint64>(total, 0))
{
    ++workUnderWay();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    // In front of the window it concerns: a modal dialog that is open (a form that started the
    // work) or the active window.
    QWidget* front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    dialog_ = new QProgressDialog(text, QStringLiteral("Cancel"), 0, int(std::min(total_, MaxBarSteps)), front);
    dialog_->setWindowTitle(QCoreApplication::applicationName());
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(ShowAfterMs);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
    // Esc closes the dialog as rejected without the cancel signal; both stop the work.
    QObject::connect(dialog_.data(), &QProgressDialog::canceled, dialog_.data(), [this] { stopped_ = true; });
    QObject::connect(dialog_.data(), &QDialog::rejected, dialog_.data(), [this] { stopped_ = true; });
}

WorkProgress::~WorkProgress()
{
    --workUnderWay();
    delete dialog_.data();
}

bool WorkProgress::running()
{
    return workUnderWay() > 0;
}

void WorkProgress::setStopHook(StopHook hook)
{
    stopHook() = std::move(hook);
}

bool WorkProgress::keepGoing(qint64 done)
{
    if (stopped_)
        return false;
    if (stopHook() && stopHook()())
        stopped_ = true;
    if (done >= 0)
        done_ = std::min(done, total_);
    pump();
    return !stopped_;
}

void WorkProgress::pump()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!dialog_ || now - lastPump_ < PumpIntervalMs)
        return;
    lastPump_ = now;
    // Set only here, as a shown modal progress dialog runs events on every new value. A busy
    // bar (no total) moves while events run and is never set again: setting its minimum
    // would restart the wait before the window shows.
    if (total_ > 0 && done_ > 0)
        dialog_->setValue(barValue(done_, total_));
    QApplication::processEvents();
}

} // namespace veldra::ui
