#include "app/window/frmMain.h"

#include "app/EditorWindow.h"
#include "app/window/MainStatusBar.h"
#include "app/search/SearchPanel.h"
#include "app/startup/Shutdown.h"
#include "app/window/Twips.h"
#include "app/window/WindowHelpers.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Skip.h"
#include "platform/ui/CloseDuringWork.h"
#include "platform/ui/Ui.h"
#include "platform/ui/WorkProgress.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QVBoxLayout>

namespace veldra {

namespace {

frmMain* current = nullptr;

// The main window cannot be made narrower than this; its height is free.
constexpr int minimumWidthTwips = 11730;
// The logo keeps this margin to the window's right edge.
constexpr int logoMarginTwips = 250;
// The designer's client area.
constexpr int clientWidthTwips = 11610;
constexpr int clientHeightTwips = 8700;

} // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), mdiArea_(new QMdiArea)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(app_info::title());

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createSearchPanel();
    layout->addWidget(PicContainer);
    // A window that opens or comes to the front leaves a maximised one maximised rather than
    // taking over its state.
    mdiArea_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdiArea_, 1);
    setCentralWidget(client);

    StatusBar = new MainStatusBar(this);
    setStatusBar(StatusBar);

    buildMenu();
    connect(mnuWindow, &QMenu::aboutToShow, this, [this] { fillWindowList(); });
    updateEditorCommands();

    setAcceptDrops(true);
    mdiArea_->viewport()->setAcceptDrops(true);
    mdiArea_->viewport()->installEventFilter(this);
    // An editor brought to the front by its title bar, the Window menu or the keyboard becomes
    // the current editor, as one clicked in its tree does, so that Save and every other
    // document command act on the document the user sees; a log or preview in front leaves
    // the current editor as it was.
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window && asEditor(window->widget()))
            SourceXMLEditor = window->widget();
    });

    setMinimumWidth(twips::toPixels(minimumWidthTwips));
    resize(twips::toPixels(clientWidthTwips), twips::toPixels(clientHeightTwips));
    ui::passCloseRequestsDuringWork(this);
    current = this;
}

frmMain::~frmMain()
{
    if (current == this)
        current = nullptr;
}

frmMain* mainForm()
{
    return current;
}

void frmMain::createSearchPanel()
{
    PicContainer = new SearchPanel;
    picLogo = PicContainer->picLogo;
    txtSearchCodeOrName = PicContainer->txtSearchCodeOrName;
    cboCodeSystem = PicContainer->cboCodeSystem;
    cmdSearchCodeSystem = PicContainer->cmdSearchCodeSystem;
    cmdClearSearchResult = PicContainer->cmdClearSearchResult;
    chkCodeSystemWholeWord = PicContainer->chkCodeSystemWholeWord;
}

EditorWindow* frmMain::currentEditor() const
{
    return asEditor(SourceXMLEditor.data());
}

QAction* frmMain::addWizardMenuItem(const QString& caption)
{
    QAction* item = mnuWizards->addAction(caption);
    item->setObjectName(QStringLiteral("mnuWizard"));
    const int index = int(mnuWizard.size());
    mnuWizard << item;
    connect(item, &QAction::triggered, this, [this, index] { skip([&] { mnuWizard_Click(index); }); });
    return item;
}

QMdiSubWindow* frmMain::addChildWindow(QWidget* window)
{
    // Read before the area takes the window: adding it gives it a size of the area's choosing.
    const bool ownSize = window->testAttribute(Qt::WA_Resized);
    const QSize designed = window->size();
    const int others = int(mdiArea_->subWindowList().size());
    QMdiSubWindow* frame = mdiArea_->addSubWindow(window);
    frame->ensurePolished();
    const QMargins margins = frame->contentsMargins();
    const QSize decoration(margins.left() + margins.right(), margins.top() + margins.bottom());
    const int step = std::max(frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame), 16);
    const QSize area = mdiArea_->viewport()->size();
    constexpr int cascadePositions = 4;
    const QSize smallest(320, 240);
    QSize size = ownSize ? designed + decoration
                         : (area - QSize(step, step) * (cascadePositions - 1)).expandedTo(smallest);
    // A window of its own size that is larger than the area shown would hide its edges.
    if (mdiArea_->isVisible())
        size = size.boundedTo(area.expandedTo(smallest));
    frame->resize(size);
    const int offset = step * (others % cascadePositions);
    frame->move(offset, offset);
    return frame;
}

void frmMain::showChildWindow(QWidget* window)
{
    if (!window)
        return;
    auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (!frame)
        frame = addChildWindow(window);
    window->show();
    if (frame->isMinimized())
        frame->showNormal();
    else
        frame->show();
    mdiArea_->setActiveSubWindow(frame);
    frame->raise();
}

QList<QMdiSubWindow*> frmMain::openChildWindows() const
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder))
        if (!window->isHidden())
            windows << window;
    return windows;
}

void frmMain::fillWindowList()
{
    qDeleteAll(windowListItems_);
    windowListItems_.clear();
    int number = 0;
    for (QMdiSubWindow* window : openChildWindows()) {
        QAction* item = mnuWindow->addAction(QStringLiteral("&%1 %2").arg(++number).arg(window->windowTitle()));
        item->setCheckable(true);
        item->setChecked(window == mdiArea_->currentSubWindow());
        QPointer<QMdiSubWindow> target = window;
        connect(item, &QAction::triggered, this, [this, target] {
            if (target)
                mdiArea_->setActiveSubWindow(target);
        });
        windowListItems_ << item;
    }
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    skip([this] { MDIForm_Resize(); });
}

void frmMain::MDIForm_Resize()
{
    const int narrowest = twips::toPixels(minimumWidthTwips);
    if (width() < narrowest)
        resize(narrowest, height());
    picLogo->move(width() - picLogo->width() - twips::toPixels(logoMarginTwips), picLogo->y());
}

void frmMain::MDIForm_OLEDragDrop(const QMimeData* data)
{
    OpenDroppedXMLFiles(data);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    skip([&] { MDIForm_OLEDragDrop(event->mimeData()); });
}

// `leaving` is a child window on its way out, which no longer counts. When the current editor
// has closed, the editor opened last of those still open becomes current, so that an enabled
// command always has an editor to work on.
void frmMain::updateEditorCommands(const QObject* leaving)
{
    QWidget* lastEditor = nullptr;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder))
        if (window != leaving && asEditor(window->widget()))
            lastEditor = window->widget();
    if (!currentEditor())
        SourceXMLEditor = lastEditor;
    for (QAction* command : editorCommands())
        command->setEnabled(lastEditor != nullptr);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mdiArea_->viewport()) {
        switch (event->type()) {
        // A child window is polished when it is first shown, by when it holds its window.
        case QEvent::ChildPolished:
            updateEditorCommands();
            break;
        case QEvent::ChildRemoved:
            updateEditorCommands(static_cast<QChildEvent*>(event)->child());
            break;
        case QEvent::DragEnter:
            dragEnterEvent(static_cast<QDragEnterEvent*>(event));
            return true;
        case QEvent::DragMove:
            static_cast<QDragMoveEvent*>(event)->acceptProposedAction();
            return true;
        case QEvent::Drop:
            dropEvent(static_cast<QDropEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Closing the windows under work that is still running would free what it reads, so the program
// stays and says why; the work goes on until it ends or the user stops it.
void frmMain::closeEvent(QCloseEvent* event)
{
    if (ui::WorkProgress::running()) {
        event->ignore();
        ui::msgBox(QStringLiteral("Veldra Structured Product Labeling cannot exit while work is in progress."
                                  "\r\n\r\nPlease wait until it has ended, or press Cancel in the progress "
                                  "window to stop it; then exit again."),
                   ui::Buttons::OK, ui::Icon::Information);
        return;
    }
    if (MDIForm_QueryUnload())
        event->ignore();
    else
        event->accept();
}

QStringList frmMain::unsavedDocuments() const
{
    QStringList captions;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        EditorWindow* editor = asEditor(window->widget());
        if (editor && editor->hasUnsavedChanges())
            captions << window->widget()->windowTitle();
    }
    return captions;
}

bool frmMain::MDIForm_QueryUnload()
{
    QString question = QStringLiteral("Are you sure you want to exit Veldra Structured Product Labeling?");
    const QStringList unsaved = unsavedDocuments();
    if (!unsaved.isEmpty())
        question += QStringLiteral("\r\n\r\nThese documents have changes that are not saved; each will ask "
                                   "whether to save them:\r\n\r\n")
                    + unsaved.join(QStringLiteral("\r\n"));
    const ui::Answer answer = ui::msgBox(question, ui::Buttons::YesNo, ui::Icon::Question);
    if (answer != ui::Answer::Yes)
        return true;
    return !EndProgram();
}

bool frmMain::showOpenDialog()
{
    Dialog.cancelError = true;
    try {
        return Dialog.showOpen();
    } catch (const VbError&) {
        return false;
    }
}

bool frmMain::showSaveDialog()
{
    Dialog.cancelError = true;
    try {
        return Dialog.showSave();
    } catch (const VbError&) {
        return false;
    }
}

} // namespace veldra
