#pragma once

#include "platform/ui/Ui.h"

namespace veldra::ui {

// The real dialogs, shell and clipboard, over Qt.
class QtBackend : public Backend {
public:
    Answer message(const MessageRequest& request) override;
    std::optional<QString> input(const InputRequest& request) override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& initialFolder) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    bool shellOpen(const QString& target) override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    void pumpMessages() override;
};

} // namespace veldra::ui
