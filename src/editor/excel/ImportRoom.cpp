#include "editor/excel/ImportRoom.h"

#include "editor/document/SettingsDocument.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

// The Word2SPLID every element gets after the import: ` Word2SPLID="` and 36 characters and `"`.
constexpr qint64 kIdBytes = 50;

} // namespace

ImportRoom::ImportRoom(const xml::Document& document)
    : left_(kMaxEditorDocumentBytes - document.xmlBytes().size())
{
}

qint64 ImportRoom::bytesOf(const xml::Node& node)
{
    const QString xml = node.xml();
    qint64 elements = 0;
    for (qsizetype i = 0; i + 1 < xml.size(); ++i)
        elements += xml[i] == QLatin1Char('<') && xml[i + 1] != QLatin1Char('/');
    return xml.toUtf8().size() + elements * kIdBytes;
}

bool ImportRoom::take(qint64 bytes)
{
    if (bytes > left_)
        return false;
    left_ -= bytes;
    return true;
}

} // namespace veldra
