#include "generation/reverse/ImportRoom.h"

namespace veldra {

void takeImportRoom(EditorRoom& room, const DocumentSize& size, const QString& entryName)
{
    if (!room.take(size))
        throw ReverseTransformRefused{QStringLiteral("The data of '%1' in the SPL File is larger than the editor opens "
                                                     "(%2); the element is left as it was.")
                                          .arg(entryName, EditorRoom::limitText())};
}

} // namespace veldra
