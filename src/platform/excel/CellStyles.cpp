#include "platform/excel/CellStyles.h"

#include "platform/excel/DateFormats.h"
#include "platform/excel/PartReader.h"

#include <QHash>

namespace veldra::excel {

bool readDateStyles(const QByteArray& xml, const QString& part, std::vector<bool>& out, WorkbookError& error)
{
    PartReader reader(xml, part);
    QHash<int, bool> customIsDate;
    std::vector<int> formatIds;
    int cellFormatsDepth = -1;
    while (reader.next()) {
        if (reader.isStart()) {
            if (reader.nameIs("numFmt")) {
                const int id = QByteArray(reader.attribute("numFmtId")).toInt();
                customIsDate.insert(id, isDateFormatCode(fromXml(reader.attribute("formatCode"))));
            } else if (reader.nameIs("cellXfs") && !reader.isEnd()) {
                cellFormatsDepth = reader.depth();
            } else if (reader.nameIs("xf") && cellFormatsDepth >= 0 && reader.depth() == cellFormatsDepth + 1) {
                formatIds.push_back(QByteArray(reader.attribute("numFmtId")).toInt());
            }
        }
        if (reader.isEnd() && reader.nameIs("cellXfs"))
            cellFormatsDepth = -1;
    }
    error = reader.error();
    if (!error.ok())
        return false;
    out.clear();
    out.reserve(formatIds.size());
    for (int id : formatIds)
        out.push_back(customIsDate.contains(id) ? customIsDate.value(id) : isBuiltInDateFormat(id));
    return true;
}

} // namespace veldra::excel
