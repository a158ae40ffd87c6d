#pragma once

#include "platform/ui/Ui.h"

#include <QList>
#include <deque>
#include <optional>

namespace veldra::test {

// A UI backend for tests: answers come from queues the test fills, and every
// request is recorded so the test can check what the user was asked.
// When a queue is empty, message boxes answer OK (or Yes for Yes/No questions),
// and every other dialog is cancelled.
class ScriptedUi : public ui::Backend {
public:
    ScriptedUi();   // installs itself
    ~ScriptedUi() override;  // restores the default backend

    std::deque<ui::Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<std::optional<QString>> openFiles;
    std::deque<std::optional<QString>> saveFiles;
    std::deque<std::optional<QString>> folders;
    std::deque<std::optional<QColor>> colors;

    QList<ui::MessageRequest> messages;
    QList<ui::InputRequest> inputRequests;
    QList<ui::FileRequest> fileRequests;
    struct FolderRequest {
        QString title;
        QString initialFolder;
    };
    QList<FolderRequest> folderRequests;
    QStringList opened;  // shell-open targets
    bool shellOpenSucceeds = true;  // false: the desktop has no handler
    QString clipboard;
    int pumps = 0;

    ui::Answer message(const ui::MessageRequest& request) override;
    std::optional<QString> input(const ui::InputRequest& request) override;
    std::optional<QString> openFile(const ui::FileRequest& request) override;
    std::optional<QString> saveFile(const ui::FileRequest& request) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& initialFolder) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    bool shellOpen(const QString& target) override;
    void setClipboardText(const QString& text) override { clipboard = text; }
    QString clipboardText() override { return clipboard; }
    void pumpMessages() override { ++pumps; }
};

} // namespace veldra::test
