// The progress window of long work: the user stops the work with its Cancel button or Esc, and
// work that nobody stops runs to its end.

#include "platform/ui/WorkProgress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

// Runs steps of 2 ms until the work is stopped or `steps` are done; gives the steps done.
int runSteps(ui::WorkProgress& progress, int steps)
{
    int done = 0;
    while (done < steps && progress.keepGoing(done)) {
        QThread::msleep(2);
        ++done;
    }
    return done;
}

// Acts on the progress window once it is up.
void whenShown(const std::function<void(QProgressDialog&)>& act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->deleteLater();
        act(*dialog);
    });
    poll->start(20);
}

} // namespace

TEST(WorkProgressTest, CancelAndEscOnTheShownWindowStopTheWork)
{
    const std::vector<std::pair<const char*, std::function<void(QProgressDialog&)>>> stops = {
        {"Cancel button", [](QProgressDialog& d) { d.findChild<QPushButton*>()->click(); }},
        {"Esc", [](QProgressDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
    };
    for (const auto& [name, stop] : stops) {
        SCOPED_TRACE(name);
        QWidget window;
        window.show();
        window.activateWindow();
        ui::WorkProgress progress(QStringLiteral("Working"), 5000);
        whenShown(stop);
        const int done = runSteps(progress, 5000);
        EXPECT_LT(done, 5000);
        EXPECT_TRUE(progress.stopped());
        EXPECT_FALSE(progress.keepGoing());
    }
}

TEST(WorkProgressTest, WorkNobodyStopsRunsToItsEndAndTheHookStopsItWhereItSays)
{
    {
        ui::WorkProgress progress(QStringLiteral("Working"));
        EXPECT_EQ(runSteps(progress, 300), 300);
        EXPECT_FALSE(progress.stopped());
    }
    int calls = 0;
    ui::WorkProgress::setStopHook([&calls] { return ++calls > 5; });
    ui::WorkProgress progress(QStringLiteral("Working"), 10);
    EXPECT_EQ(runSteps(progress, 10), 5);
    ui::WorkProgress::setStopHook({});
    EXPECT_TRUE(progress.stopped());
}
