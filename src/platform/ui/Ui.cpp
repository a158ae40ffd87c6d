#include "platform/ui/Ui.h"

#include "platform/ui/QtBackend.h"

namespace veldra::ui {

namespace {
Backend*& installed()
{
    static Backend* current = nullptr;
    return current;
}
}

Backend& backend()
{
    static QtBackend qtBackend;
    Backend* current = installed();
    return current ? *current : qtBackend;
}

void setBackend(Backend* b)
{
    installed() = b;
}

Answer msgBox(const QString& text, Buttons buttons, Icon icon, const QString& title)
{
    return backend().message({text, buttons, icon, title});
}

std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return backend().input({prompt, title, defaultText});
}

bool shellOpen(const QString& target)
{
    return backend().shellOpen(target);
}

void pumpMessages()
{
    backend().pumpMessages();
}

void showError(const VbError& error, const QString& heading)
{
    const QString text = heading.isEmpty() ? error.text() : heading + QStringLiteral("\r\n\r\n") + error.text();
    msgBox(text, Buttons::OK, Icon::Critical);
}

} // namespace veldra::ui
