#include "generation/reverse/ImportRoom.h"

#include "platform/xml/tree/Document.h"

namespace veldra {

EditorRoom roomReplacing(const xml::Node& element)
{
    DocumentSize kept = savedSizeOf(element.ownerDocument());
    const DocumentSize replaced = treeSizeOf(element);
    kept.elements -= replaced.elements;
    kept.attributes -= replaced.attributes;
    kept.bytes -= element.xml().toUtf8().size();
    return EditorRoom(kept);
}

void takeImportRoom(EditorRoom& room, const DocumentSize& size, const QString& entryName)
{
    if (!room.take(size))
        throw ReverseTransformRefused{QStringLiteral("The data of '%1' in the SPL File is larger than the editor opens "
                                                     "(%2); the element is left as it was.")
                                          .arg(entryName, EditorRoom::limitText())};
}

} // namespace veldra
