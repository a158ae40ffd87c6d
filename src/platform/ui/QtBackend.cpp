#include "platform/ui/QtBackend.h"

#include "platform/core/AppInfo.h"
#include "platform/ui/DesktopOpener.h"
#include "platform/ui/DialogPlacement.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace veldra::ui {

namespace {

QString titleOr(const QString& title)
{
    return title.isEmpty() ? app_info::title() : title;
}

QMessageBox::StandardButtons standardButtons(Buttons b)
{
    switch (b) {
    case Buttons::OK: return QMessageBox::Ok;
    case Buttons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(Icon i)
{
    switch (i) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

Answer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Abort: return Answer::Abort;
    case QMessageBox::Ignore: return Answer::Ignore;
    default: return Answer::OK;
    }
}

// Where the dialog opens: the given folder, else the user's home folder; never the folder
// the program happened to be started in.
QString startPath(const FileRequest& r)
{
    if (!r.fileName.isEmpty() && QFileInfo(r.fileName).isAbsolute())
        return r.fileName;
    const QString folder = r.initialFolder.isEmpty() ? QDir::homePath() : r.initialFolder;
    return r.fileName.isEmpty() ? folder : QDir(folder).filePath(r.fileName);
}

QString selectedFilter(const FileRequest& r)
{
    const QStringList filters = r.filter.split(QStringLiteral(";;"));
    return r.filterIndex >= 0 && r.filterIndex < filters.size() ? filters.at(r.filterIndex) : QString();
}

} // namespace

Answer QtBackend::message(const MessageRequest& request)
{
    const FocusReturn focus;
    QWidget* parent = dialogParent();
    QMessageBox box(standardIcon(request.icon), titleOr(request.title), request.text,
                    standardButtons(request.buttons), parent);
    keepInFrontOf(&box, parent);
    return answerOf(box.exec());
}

std::optional<QString> QtBackend::input(const InputRequest& request)
{
    const FocusReturn focus;
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(), titleOr(request.title),
                                               request.prompt, QLineEdit::Normal, request.defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtBackend::openFile(const FileRequest& request)
{
    const FocusReturn focus;
    QString filter = selectedFilter(request);
    const QString chosen = QFileDialog::getOpenFileName(dialogParent(), request.title,
                                                        startPath(request), request.filter, &filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtBackend::saveFile(const FileRequest& request)
{
    // A dialog object rather than the static call: only it adds the default suffix before
    // asking whether to overwrite, so the question is about the file that will be written.
    const FocusReturn focus;
    QFileDialog dialog(dialogParent(), request.title, startPath(request), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    const QString filter = selectedFilter(request);
    if (!filter.isEmpty())
        dialog.selectNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtBackend::chooseFolder(const QString& title, const QString& initialFolder)
{
    const FocusReturn focus;
    const QString chosen = QFileDialog::getExistingDirectory(dialogParent(), title, initialFolder);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QColor> QtBackend::chooseColor(const QColor& initial)
{
    const FocusReturn focus;
    const QColor chosen = QColorDialog::getColor(initial.isValid() ? initial : QColor(Qt::white), dialogParent());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

bool QtBackend::shellOpen(const QString& target)
{
    return openWithDesktop(target);
}

void QtBackend::setClipboardText(const QString& text)
{
    QApplication::clipboard()->setText(text);
}

QString QtBackend::clipboardText()
{
    return QApplication::clipboard()->text();
}

void QtBackend::pumpMessages()
{
    QApplication::processEvents();
}

} // namespace veldra::ui
