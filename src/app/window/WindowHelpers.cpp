#include "app/window/WindowHelpers.h"

#include "app/Hooks.h"
#include "platform/core/AppPaths.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QUrl>
#include <climits>

namespace veldra {

namespace {

// The extension is the text after the name's last "." (the whole name without one).
bool hasXmlExtension(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.mid(name.lastIndexOf(QLatin1Char('.')) + 1).toUpper() == QLatin1String("XML");
}

void openDroppedFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() || !hasXmlExtension(path))
        return;
    if (!info.isFile() || !info.isReadable())
        throw VbError(err::FileAccess, QStringLiteral("OpenDroppedXMLFiles"),
                      QStringLiteral("Cannot read %1").arg(path));
    if (hooks().OpenSettingsDocument)
        hooks().OpenSettingsDocument(path);
}

} // namespace

void OpenDroppedXMLFiles(const QMimeData* data)
{
    ui::pumpMessages();
    if (!data)
        return;
    try {
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                openDroppedFile(url.toLocalFile());
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("OpenDroppedXMLFiles")), QStringLiteral("Cannot Load Drag Drop Data:"));
    }
}

void ShowFormAtCursor(QWidget* dialog, QLabel* logo)
{
    if (!dialog)
        return;
    // A window that was never sized takes the size of its layout when it is first
    // shown; take it now, so that the check below uses the height it will have.
    if (!dialog->testAttribute(Qt::WA_Resized))
        dialog->adjustSize();
    const QPoint pointer = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const int screenBottom = screen ? screen->geometry().y() + screen->geometry().height() : INT_MAX;
    int top = pointer.y();
    if (top + dialog->frameGeometry().height() > screenBottom)
        top = screenBottom - dialog->frameGeometry().height();
    dialog->move(pointer.x(), top);
    SetFormLogo(logo);
    dialog->show();
    // The window frame of a window shown for the first time is known only now.
    const int below = dialog->frameGeometry().y() + dialog->frameGeometry().height() - screenBottom;
    if (below > 0)
        dialog->move(dialog->frameGeometry().x(), dialog->frameGeometry().y() - below);
}

void SelectAllText(QWidget* textBox)
{
    if (auto* line = qobject_cast<QLineEdit*>(textBox))
        line->selectAll();
    else if (auto* text = qobject_cast<QTextEdit*>(textBox))
        text->selectAll();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(textBox))
        plain->selectAll();
}

void SetFormLogo(QLabel* target)
{
    QPixmap logo;
    if (target && logo.load(app_paths::inProgram(QStringLiteral("Logo.jpg"))))
        target->setPixmap(logo);
}

} // namespace veldra
