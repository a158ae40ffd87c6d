#include "editor/excel/ImportRoom.h"

#include "editor/SettingsDocument.h"
#include "platform/xml/Document.h"

namespace veldra {

namespace {

// The Word2SPLID every element gets after the import: ` Word2SPLID="` and 36 characters and `"`.
constexpr qint64 kIdBytes = 50;

qint64 savedBytes(const QString& xml)
{
    qint64 elements = 0;
    for (qsizetype i = 0; i + 1 < xml.size(); ++i)
        elements += xml[i] == QLatin1Char('<') && xml[i + 1] != QLatin1Char('/');
    return xml.toUtf8().size() + elements * kIdBytes;
}

} // namespace

ImportRoom::ImportRoom(const xml::Document& document)
    : left_(kMaxEditorDocumentBytes - document.xmlBytes().size())
{
}

bool ImportRoom::take(const xml::Node& record)
{
    const qint64 bytes = savedBytes(record.xml());
    if (bytes > left_)
        return false;
    left_ -= bytes;
    return true;
}

} // namespace veldra
