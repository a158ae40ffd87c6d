#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <functional>

namespace veldra::ui {

// Long work on the window's thread, or waited for there: a progress window with a Cancel
// button (Esc presses it too) stands in front of every window while the work runs, and every
// window keeps repainting. The work calls keepGoing() between its steps; once the user has
// stopped it, keepGoing() says so and the work ends, leaving everything as it was.
//
// The window is application-modal, so no other command starts meanwhile. It shows only when
// the work lasts longer than a moment. Without a widget application (command-line tools,
// some tests) there is no window and nothing stops the work but the hook below.
class WorkProgress {
public:
    // `total` steps; 0 shows a busy bar for work whose length is not known.
    explicit WorkProgress(const QString& text, qint64 total = 0);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // Lets events run (at most every few milliseconds of work, so that many small steps cost
    // little) and shows `done` of the total when it is not negative. False once the user
    // stopped the work.
    bool keepGoing(qint64 done = -1);
    bool stopped() const { return stopped_; }
    // True while any work is under way, whether or not its window shows yet.
    static bool running();

    // For tests: called at every keepGoing(); returning true stops the work as Cancel does.
    // An empty function removes the hook.
    using StopHook = std::function<bool()>;
    static void setStopHook(StopHook hook);

private:
    void pump();

    // Owned here, but a child of the window in front, which may go first and take it along.
    QPointer<QProgressDialog> dialog_;
    qint64 total_ = 0;
    qint64 done_ = 0;
    qint64 lastPump_ = 0;
    bool stopped_ = false;
};

} // namespace veldra::ui
