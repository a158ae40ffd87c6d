#pragma once

#include <QWidget>

class QMimeData;
class QTextEdit;

namespace veldra {

// Key-down shift state as the handlers receive it: 1 Shift, 2 Ctrl, 4 Alt, combined.
enum ShiftMask { ShiftMaskShift = 1, ShiftMaskCtrl = 2, ShiftMaskAlt = 4 };
// Mouse buttons as the handlers receive them.
enum MouseButton { MouseButtonLeft = 1, MouseButtonRight = 2, MouseButtonMiddle = 4 };

// The shared log window "SPL Info Window": one rich-text box filling the window.
// It sees key presses before its text box does, so Esc cancels running jobs from
// anywhere in it. Closing it discards the log; the next use opens a new one.
class frmLog : public QWidget {
    Q_OBJECT
public:
    explicit frmLog(QWidget* parent = nullptr);

    QTextEdit* txtLog;

    void Form_Resize();
    void Form_KeyDown(int keyCode, int shift);
    void txtLog_KeyDown(int keyCode, int shift);
    void txtLog_MouseDown(int button, int shift);
    void txtLog_OLEDragDrop(const QMimeData* data);

    // Puts the caret at the end of the log (ending any selection) once control is
    // back in the event loop; a burst of lines moves and scrolls it only once.
    void moveCaretToEndSoon();

    // True once the user has closed the window; its text is then gone for good.
    bool isClosed() const { return closed_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize sizeForLines() const;
    bool filterTextBoxKey(QKeyEvent* event);
    bool filterViewportEvent(QEvent* event);

    bool closed_ = false;
    bool caretMovePending_ = false;
};

} // namespace veldra
