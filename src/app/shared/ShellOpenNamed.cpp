#include "app/shared/ShellOpenNamed.h"

#include "app/shared/SharedProcedures.h"
#include "platform/ui/Ui.h"

#include <QDir>
#include <QFileInfo>

namespace veldra {

void ShellOpenNamedPath(const QString& path)
{
    if (path.trimmed().isEmpty()) {
        ui::msgBox(QStringLiteral("No file or folder is entered here, so there is nothing to open."), ui::Buttons::OK,
                   ui::Icon::Warning);
        return;
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        ui::msgBox(QStringLiteral("There is no file or folder at this path:\r\n\r\n")
                       + QDir::toNativeSeparators(info.absoluteFilePath())
                       + QStringLiteral("\r\n\r\nPlease check the path, or open the file or folder by hand."),
                   ui::Buttons::OK, ui::Icon::Warning);
        return;
    }
    if (info.isDir())
        ShellOpenFolder(path);
    else
        ShellOpenFile(path);
}

} // namespace veldra
