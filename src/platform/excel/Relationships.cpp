#include "platform/excel/Relationships.h"

#include "platform/excel/PartReader.h"

#include <QStringList>

namespace veldra::excel {

namespace {

QString resolve(const QString& sourcePart, const QString& target)
{
    QStringList parts;
    if (!target.startsWith(QLatin1Char('/'))) {
        parts = sourcePart.split(QLatin1Char('/'));
        parts.removeLast();
    }
    for (const QString& step : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (step == QLatin1String(".."))
        {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (step != QLatin1String(".")) {
            parts << step;
        }
    }
    return parts.join(QLatin1Char('/'));
}

} // namespace

QString relationshipsPartOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

bool readRelationships(const QByteArray& rels, const QString& relsPart, const QString& sourcePart,
                       std::vector<Relationship>& out, WorkbookError& error)
{
    PartReader reader(rels, relsPart);
    while (reader.next()) {
        if (!reader.isStart() || !reader.nameIs("Relationship"))
            continue;
        const QString mode = fromXml(reader.attribute("TargetMode"));
        if (mode.compare(QLatin1String("External"), Qt::CaseInsensitive) == 0)
            continue;
        Relationship relationship;
        relationship.id = fromXml(reader.attribute("Id"));
        relationship.type = fromXml(reader.attribute("Type"));
        relationship.target = resolve(sourcePart, fromXml(reader.attribute("Target")));
        out.push_back(relationship);
    }
    error = reader.error();
    return error.ok();
}

const Relationship* findByKind(const std::vector<Relationship>& relationships, const QString& kind)
{
    for (const Relationship& r : relationships)
        if (r.type.endsWith(QLatin1Char('/') + kind))
            return &r;
    return nullptr;
}

const Relationship* findById(const std::vector<Relationship>& relationships, const QString& id)
{
    for (const Relationship& r : relationships)
        if (r.id == id)
            return &r;
    return nullptr;
}

} // namespace veldra::excel
