#include "platform/excel/XlsxWorkbook.h"

#include "platform/core/RegularFile.h"
#include "platform/excel/CellStyles.h"
#include "platform/excel/PartReader.h"
#include "platform/excel/Relationships.h"
#include "platform/excel/SharedStrings.h"
#include "platform/excel/WorksheetParser.h"
#include "platform/excel/ZipPackage.h"

#include <QHash>

namespace veldra::excel {

namespace {

const QString DefaultWorkbookPart = QStringLiteral("xl/workbook.xml");

// A sheet as the workbook part lists it.
struct SheetEntry {
    QString name;
    QString relationshipId;
};

struct WorkbookPart {
    std::vector<SheetEntry> sheets;
    bool date1904 = false;
};

bool readWorkbookPart(const QByteArray& xml, const QString& part, WorkbookPart& out, WorkbookError& error)
{
    PartReader reader(xml, part);
    while (reader.next()) {
        if (!reader.isStart())
            continue;
        if (reader.nameIs("sheet"))
            out.sheets.push_back({fromXml(reader.attribute("name")), fromXml(reader.attribute("id"))});
        else if (reader.nameIs("workbookPr"))
            out.date1904 = QByteArray(reader.attribute("date1904")) == "1"
                || QByteArray(reader.attribute("date1904")) == "true";
    }
    error = reader.error();
    return error.ok();
}

// A sentence about the file as the tail of "the workbook cannot be imported: ...".
QString asReason(QString sentence)
{
    if (sentence.endsWith(QLatin1Char('.')))
        sentence.chop(1);
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toLower();
    return sentence;
}

// The relationships of a part; none when it has no .rels part.
bool relationshipsOf(const ZipPackage& package, const QString& part, std::vector<Relationship>& out,
                     WorkbookError& error)
{
    const QString relsPart = relationshipsPartOf(part);
    if (!package.has(relsPart))
        return true;
    const std::optional<QByteArray> rels = package.read(relsPart, error);
    return rels && readRelationships(*rels, relsPart, part, out, error);
}

} // namespace

QStringList XlsxWorkbook::sheetNames() const
{
    QStringList names;
    for (const Worksheet& sheet : sheets_)
        names << sheet.name();
    return names;
}

bool XlsxWorkbook::fail(WorkbookError error)
{
    sheets_.clear();
    warnings_.clear();
    error_ = std::move(error);
    return false;
}

bool XlsxWorkbook::open(const QString& path)
{
    const FileContent file = readRegularFile(path, ZipPackage::MaxPartBytes);
    if (!file.ok())
        return fail({QString(), asReason(file.problem)});
    return openBytes(file.bytes);
}

bool XlsxWorkbook::openBytes(const QByteArray& bytes)
{
    sheets_.clear();
    warnings_.clear();
    error_ = {};
    WorkbookError error;
    ZipPackage package;
    if (!package.open(bytes, error))
        return fail(error);

    std::vector<Relationship> packageRels;
    if (!relationshipsOf(package, QString(), packageRels, error))
        return fail(error);
    const Relationship* office = findByKind(packageRels, QStringLiteral("officeDocument"));
    const QString workbookPart = office ? office->target : DefaultWorkbookPart;

    const std::optional<QByteArray> workbookXml = package.read(workbookPart, error);
    WorkbookPart workbook;
    if (!workbookXml || !readWorkbookPart(*workbookXml, workbookPart, workbook, error))
        return fail(error);
    std::vector<Relationship> workbookRels;
    if (!relationshipsOf(package, workbookPart, workbookRels, error))
        return fail(error);

    SheetContext context;
    context.date1904 = workbook.date1904;
    if (const Relationship* strings = findByKind(workbookRels, QStringLiteral("sharedStrings"))) {
        const std::optional<QByteArray> xml = package.read(strings->target, error);
        if (!xml || !readSharedStrings(*xml, strings->target, context.sharedStrings, error))
            return fail(error);
    }
    if (const Relationship* styles = findByKind(workbookRels, QStringLiteral("styles"))) {
        const std::optional<QByteArray> xml = package.read(styles->target, error);
        if (!xml || !readDateStyles(*xml, styles->target, context.dateStyles, error))
            return fail(error);
    }

    WorkbookProgress progress;
    QHash<QString, QString> sheetOfPart;  // part name (lower case, as the package compares) → sheet
    for (const SheetEntry& entry : workbook.sheets) {
        const Relationship* target = findById(workbookRels, entry.relationshipId);
        if (!target)
            return fail({workbookPart, QStringLiteral("sheet '%1' points to no part").arg(entry.name)});
        if (!target->type.endsWith(QStringLiteral("/worksheet")))
            continue;  // a chart or dialog sheet
        // Each sheet has a part of its own; sheets naming one part would read it again and again.
        const QString partKey = target->target.toLower();
        if (const auto other = sheetOfPart.constFind(partKey); other != sheetOfPart.cend())
            return fail({workbookPart, QStringLiteral("sheets '%1' and '%2' name the same part %3")
                                           .arg(*other, entry.name, target->target)});
        sheetOfPart.insert(partKey, entry.name);
        const std::optional<QByteArray> xml = package.read(target->target, error);
        Worksheet sheet(entry.name);
        if (!xml || !readWorksheet(*xml, target->target, context, sheet, progress, error))
            return fail(error);
        sheets_.push_back(std::move(sheet));
    }
    warnings_ = progress.warnings;
    return true;
}

} // namespace veldra::excel
