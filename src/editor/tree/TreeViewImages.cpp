#include "editor/tree/TreeViewImages.h"

#include "app/shared/SharedProcedures.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/AppPaths.h"
#include "platform/core/VbString.h"

#include <QPixmap>

namespace veldra {

QString treeViewImagesFolder()
{
    return app_paths::inProgram(QStringLiteral("Images"));
}

QHash<QString, QIcon> loadTreeViewImages(const QString& folder)
{
    QHash<QString, QIcon> images;
    QString where = folder;
    int count = 0;
    QStringList files;
    for (const QString& file : FindFiles(where, QStringLiteral("*"), count, files)) {
        const QString key = vbstr::fileNameOf(file).section(QLatin1Char('.'), 0, 0).toLower();
        if (images.contains(key))
            continue;
        QPixmap picture;
        if (!picture.load(file))
            continue;
        images.insert(key, QIcon(picture));
    }
    return images;
}

void frmXMLEditor::LoadTreeViewImages()
{
    TreeView->replaceImageList(loadTreeViewImages(treeViewImagesFolder()));
}

} // namespace veldra
