#include "support/ScriptedUi.h"

namespace veldra::test {

namespace {
template <class T>
T next(std::deque<T>& queue, T fallback)
{
    if (!queue.empty()) {
        fallback = std::move(queue.front());
        queue.pop_front();
    }
    return fallback;
}
}

ScriptedUi::ScriptedUi() { ui::setBackend(this); }
ScriptedUi::~ScriptedUi() { ui::setBackend(nullptr); }

ui::Answer ScriptedUi::message(const ui::MessageRequest& request)
{
    messages << request;
    const bool question = request.buttons == ui::Buttons::YesNo || request.buttons == ui::Buttons::YesNoCancel;
    return next(answers, question ? ui::Answer::Yes : ui::Answer::OK);
}

std::optional<QString> ScriptedUi::input(const ui::InputRequest& request)
{
    inputRequests << request;
    return next(inputs, std::optional<QString>());
}

std::optional<QString> ScriptedUi::openFile(const ui::FileRequest& request)
{
    fileRequests << request;
    return next(openFiles, std::optional<QString>());
}

std::optional<QString> ScriptedUi::saveFile(const ui::FileRequest& request)
{
    fileRequests << request;
    return next(saveFiles, std::optional<QString>());
}

std::optional<QString> ScriptedUi::chooseFolder(const QString& title, const QString& initialFolder)
{
    folderRequests.append({title, initialFolder});
    return next(folders, std::optional<QString>());
}

std::optional<QColor> ScriptedUi::chooseColor(const QColor&)
{
    return next(colors, std::optional<QColor>());
}

bool ScriptedUi::shellOpen(const QString& target)
{
    opened << target;
    return shellOpenSucceeds;
}

} // namespace veldra::test
