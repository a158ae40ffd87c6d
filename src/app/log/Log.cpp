#include "app/log/Log.h"

#include "app/log/LogFormat.h"
#include "app/log/LoggedProblems.h"
#include "app/log/frmLog.h"
#include "app/window/frmMain.h"
#include "platform/core/FileSave.h"
#include "platform/core/VbError.h"
#include "platform/rtf/RtfWriter.h"
#include "platform/ui/Ui.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace veldra {

bool NoLogging = false;
int LogLineCounter = 0;

namespace {

QPointer<frmLog>& logForm()
{
    static QPointer<frmLog> form;
    return form;
}

// A closed window is deleted later; until then it no longer counts as the log.
frmLog* openLog()
{
    frmLog* form = logForm();
    return form && !form->isClosed() ? form : nullptr;
}

// A child window of the main window when there is one, else a window of its own.
frmLog& ensureLogWindow()
{
    if (!openLog()) {
        auto* form = new frmLog;
        frmMain* main = mainForm();
        if (main && main->mdiArea()) {
            QMdiSubWindow* sub = main->addChildWindow(form);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            sub->show();
        } else {
            form->show();
        }
        logForm() = form;
    }
    return *openLog();
}

void bringToFront(frmLog& form)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form.parentWidget())) {
        sub->show();
        sub->raise();
        if (QMdiArea* area = sub->mdiArea())
            area->setActiveSubWindow(sub);
        return;
    }
    form.show();
    form.raise();
    form.activateWindow();
}

// The texts are kept with CR LF where the log's format has them; in the text box
// every line break is one paragraph break.
QString asBoxText(const QString& text)
{
    QString boxText = text;
    boxText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return boxText;
}

// One piece of text waiting to be inserted at the end of the log.
struct PendingRun {
    QString text;
    QColor colour;
    bool bold;
};

// Lines are inserted in batches: each insert into the text box costs a layout pass,
// so a long listing would be bound by the log rather than by the job writing it. The
// batch goes in when the job lets the window system in (the pump every 100 lines),
// when control returns to the event loop, and before anyone looks at the window.
QList<PendingRun>& pendingRuns()
{
    static QList<PendingRun> runs;
    return runs;
}

// Inserts the batch at the end of the log; each run takes the character format in
// force at the end (so the header's 10 points carry on) with its own colour and bold
// flag. Moving the visible caret (and scrolling to it) costs as much as an insert, so
// it happens at the next message pump.
void insertPending(frmLog& form)
{
    QList<PendingRun> runs;
    runs.swap(pendingRuns());
    if (runs.isEmpty())
        return;
    QTextCursor cursor(form.txtLog->document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    for (const PendingRun& run : runs) {
        QTextCharFormat format = cursor.charFormat();
        format.setForeground(run.colour);
        format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
        cursor.insertText(asBoxText(run.text), format);
    }
    cursor.endEditBlock();
    form.moveCaretToEndSoon();
}

void flushPending()
{
    if (!pendingRuns().isEmpty())
        insertPending(ensureLogWindow());
}

void appendAtEnd(const QString& text, const QColor& colour, bool bold)
{
    if (pendingRuns().isEmpty())
        QTimer::singleShot(0, [] { flushPending(); });
    pendingRuns().append({text, colour, bold});
}

void writeHeader(QTextEdit& box)
{
    QTextCursor cursor(box.document());
    QTextCharFormat format = cursor.charFormat();
    format.setForeground(QColor(0, 0, 0));
    format.setFontWeight(QFont::Bold);
    format.setFontPointSize(10);
    cursor.insertText(asBoxText(log_format::header()), format);
}

void countLine()
{
    if (++LogLineCounter >= 100) {
        LogLineCounter = 0;
        flushPending();
        ui::pumpMessages();
    }
}

} // namespace

QString logSeparator()
{
    return QString(128, QLatin1Char('-'));
}

frmLog* logWindow()
{
    if (openLog())
        flushPending();
    return openLog();
}

frmLog& openLogWindow()
{
    flushPending();
    return ensureLogWindow();
}

void WriteLog(const QString& category, const QString& message, bool bold)
{
    countLoggedProblem(category);
    if (NoLogging)
        return;
    frmLog& form = ensureLogWindow();
    if (pendingRuns().isEmpty() && form.txtLog->document()->isEmpty())
        writeHeader(*form.txtLog);
    appendAtEnd(log_format::line(category, message), log_format::colour(category), bold);
    countLine();
}

void WriteDisclaimer()
{
    if (NoLogging)
        return;
    ensureLogWindow();
    appendAtEnd(log_format::disclaimer(), QColor(255, 0, 0), false);
}

void ShowLogWindow(bool clear)
{
    if (NoLogging)
        return;
    flushPending();
    frmLog& form = ensureLogWindow();
    if (clear)
        form.txtLog->clear();
    bringToFront(form);
    ui::pumpMessages();
}

bool saidLogIsSwitchedOff(const QString& results)
{
    if (!NoLogging)
        return false;
    ui::msgBox(results + QStringLiteral(" are written to the log, and the log is switched off. Switch on Show Log in "
                                        "the SPL Document menu to see them."),
               ui::Buttons::OK, ui::Icon::Information);
    return true;
}

void SaveLogToFile(const QString& path)
{
    flushPending();
    const QByteArray rtf = rtf::toRtf(*ensureLogWindow().txtLog->document());
    const QString problem = saveReplacing(path, rtf);
    if (problem.isEmpty())
        return;
    ui::showError(VbError(err::FileAccess, QStringLiteral("SaveLogToFile"), QStringLiteral("Cannot write %1: %2").arg(path, problem)));
}

void CancelOnEscape(int keyCode, int)
{
    if (keyCode != 27)
        return;
    frmMain* main = mainForm();
    if (!main)
        return;
    for (const auto& job : {main->TargetWord, main->TargetLOINC, main->TargetNCI, main->TargetUNII})
        if (job)
            job->requestCancel();
}

} // namespace veldra
