#include "FuzzTargets.h"

#include "harness/FuzzCheck.h"
#include "harness/MemoryFile.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"

namespace veldra::fuzz {

void xmlSave(const QByteArray& input)
{
    xml::Document doc;
    {
        const MemoryFile file(input);
        if (!doc.load(file.path()))
            return;
    }
    const QString tree = doc.xml();
    for (const xml::Layout layout : {xml::Layout::AsIs, xml::Layout::Indented}) {
        QByteArray saved;
        try {
            saved = doc.xmlBytes(layout);
        } catch (const VbError&) {
            continue;  // an encoding the system cannot write: refused, nothing written
        }
        const MemoryFile file(saved);
        xml::Document reloaded;
        require(reloaded.load(file.path()), "a saved document loads again");
        if (layout == xml::Layout::AsIs)
            require(reloaded.documentElement().xml() == doc.documentElement().xml(), "a save keeps the tree");
    }
    require(doc.xml() == tree, "saving leaves the document as it was");
}

} // namespace veldra::fuzz
