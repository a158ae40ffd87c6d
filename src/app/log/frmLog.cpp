#include "app/log/frmLog.h"

#include "app/log/Log.h"
#include "app/window/WindowHelpers.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace veldra {

namespace {

// Key codes as the handlers receive them: Esc is 27; letters and digits already
// carry their character codes in Qt ("A" is 65).
int keyCodeOf(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Escape ? 27 : event->key();
}

int shiftOf(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= ShiftMaskShift;
    if (modifiers & Qt::ControlModifier)
        shift |= ShiftMaskCtrl;
    if (modifiers & Qt::AltModifier)
        shift |= ShiftMaskAlt;
    return shift;
}

int buttonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return MouseButtonLeft;
    case Qt::RightButton: return MouseButtonRight;
    case Qt::MiddleButton: return MouseButtonMiddle;
    default: return 0;
    }
}

QFont logFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(9.75);
    return font;
}

// The widest lines of the log are its separator and header lines of 128 characters; the
// lines after the header carry on in its 10 points, bold at the widest.
constexpr int lineColumns = 128;
constexpr int shownLines = 30;

QFont lineFont()
{
    QFont font = logFont();
    font.setPointSize(10);
    font.setBold(true);
    return font;
}

} // namespace

frmLog::frmLog(QWidget* parent) : QWidget(parent), txtLog(new QTextEdit(this))
{
    setWindowTitle(QStringLiteral("SPL Info Window"));
    setAttribute(Qt::WA_DeleteOnClose);

    txtLog->setObjectName(QStringLiteral("txtLog"));
    txtLog->setFont(logFont());
    // Columns only line up when lines are not wrapped.
    txtLog->setLineWrapMode(QTextEdit::NoWrap);
    // A log of a long job holds many thousands of lines; an undo history of every
    // appended line would only grow the memory it takes.
    txtLog->setUndoRedoEnabled(false);
    txtLog->setToolTip(QStringLiteral("Right Click to Copy selected Text to Clipboard"));
    txtLog->setAcceptDrops(true);
    txtLog->installEventFilter(this);
    txtLog->viewport()->installEventFilter(this);
    setFocusProxy(txtLog);
    resize(sizeForLines());
    Form_Resize();
}

// Wide enough for a whole line, beside the vertical scroll bar.
QSize frmLog::sizeForLines() const
{
    const QFontMetrics metrics(lineFont());
    const int margins = 2 * (txtLog->frameWidth() + int(txtLog->document()->documentMargin()) + 2);
    const int scrollBar = txtLog->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, txtLog);
    return QSize(metrics.horizontalAdvance(QString(lineColumns, QLatin1Char('-'))) + margins + scrollBar,
                 metrics.lineSpacing() * shownLines + margins + scrollBar);
}

void frmLog::moveCaretToEndSoon()
{
    if (caretMovePending_)
        return;
    caretMovePending_ = true;
    QMetaObject::invokeMethod(this, [this] {
        caretMovePending_ = false;
        txtLog->moveCursor(QTextCursor::End);
    }, Qt::QueuedConnection);
}

void frmLog::Form_Resize()
{
    txtLog->setGeometry(rect());
}

void frmLog::Form_KeyDown(int keyCode, int shift)
{
    CancelOnEscape(keyCode, shift);
}

void frmLog::txtLog_KeyDown(int keyCode, int shift)
{
    if (shift == ShiftMaskCtrl && keyCode == 65)
        txtLog->selectAll();
}

void frmLog::txtLog_MouseDown(int button, int)
{
    if (button != MouseButtonRight)
        return;
    const QString selected = txtLog->textCursor().selection().toPlainText();
    ui::backend().setClipboardText(vbstr::trim(selected));
}

void frmLog::txtLog_OLEDragDrop(const QMimeData* data)
{
    OpenDroppedXMLFiles(data);
}

void frmLog::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmLog::closeEvent(QCloseEvent* event)
{
    closed_ = true;
    QWidget::closeEvent(event);
}

bool frmLog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtLog && event->type() == QEvent::KeyPress)
        return filterTextBoxKey(static_cast<QKeyEvent*>(event));
    if (watched == txtLog->viewport())
        return filterViewportEvent(event);
    return QWidget::eventFilter(watched, event);
}

// The window sees every key first (Esc cancels running jobs), then the text box's
// own handler; the text box still does its usual work with the key afterwards.
bool frmLog::filterTextBoxKey(QKeyEvent* event)
{
    const int keyCode = keyCodeOf(event);
    const int shift = shiftOf(event->modifiers());
    Form_KeyDown(keyCode, shift);
    txtLog_KeyDown(keyCode, shift);
    return false;
}

// A right click copies the selection instead of opening a menu, and dropped files
// are opened rather than pasted into the log.
bool frmLog::filterViewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        txtLog_MouseDown(buttonOf(mouse->button()), shiftOf(mouse->modifiers()));
        return mouse->button() == Qt::RightButton;
    }
    case QEvent::ContextMenu:
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData()->hasUrls())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        txtLog_OLEDragDrop(drop->mimeData());
        return true;
    }
    default:
        return false;
    }
}

} // namespace veldra
