#include "platform/excel/SharedStrings.h"

#include "platform/excel/PartReader.h"
#include "platform/excel/StringEscapes.h"

namespace veldra::excel {

bool readSharedStrings(const QByteArray& xml, const QString& part, QStringList& out, WorkbookError& error)
{
    PartReader reader(xml, part);
    QByteArray current;
    bool inItem = false;
    int textDepth = -1;     // depth of the open <t>, -1 outside one
    int phoneticDepth = -1;  // depth of the open <rPh>, -1 outside one
    while (reader.next()) {
        if (reader.isStart()) {
            if (reader.nameIs("si")) {
                if (out.size() >= MaxSharedStrings) {
                    error = {part, QStringLiteral("the workbook holds more than %1 shared strings").arg(MaxSharedStrings)};
                    return false;
                }
                inItem = true;
                current.clear();
            } else if (reader.nameIs("rPh") && phoneticDepth < 0) {
                phoneticDepth = reader.depth();
            } else if (reader.nameIs("t") && inItem && phoneticDepth < 0) {
                textDepth = reader.depth();
            }
        } else if (reader.isText() && textDepth >= 0) {
            current += reader.value();
        }
        if (reader.isEnd()) {
            if (reader.nameIs("t") && reader.depth() == textDepth)
                textDepth = -1;
            else if (reader.nameIs("rPh") && reader.depth() == phoneticDepth)
                phoneticDepth = -1;
            else if (reader.nameIs("si") && inItem) {
                out << decodeEscapes(QString::fromUtf8(current));
                inItem = false;
            }
        }
    }
    error = reader.error();
    return error.ok();
}

} // namespace veldra::excel
