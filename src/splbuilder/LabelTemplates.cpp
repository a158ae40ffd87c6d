#include "splbuilder/LabelTemplates.h"

#include "platform/core/AppPaths.h"

#include <QFile>
#include <QHash>
#include <QMutex>

namespace veldra {

namespace {

struct ParsedTemplate {
    QByteArray bytes;
    xml::Document parsed;
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QString labelTemplatePath(const QString& fileName)
{
    return app_paths::inProgram(QStringLiteral("LabelDefinitions/") + fileName);
}

bool loadLabelTemplate(xml::Document& target, const QString& fileName)
{
    // A build reads the skeleton and each fragment once or more per section; parsing them
    // every time costs more than the rest of the build's work on them.
    static QMutex mutex;
    static QHash<QString, ParsedTemplate> parsedByPath;
    const QString path = labelTemplatePath(fileName);
    const QByteArray bytes = fileBytes(path);
    const QMutexLocker lock(&mutex);
    const auto known = parsedByPath.constFind(path);
    if (!bytes.isEmpty() && known != parsedByPath.constEnd() && known->bytes == bytes) {
        target.loadCopy(known->parsed);
        return true;
    }
    parsedByPath.remove(path);
    if (!target.load(path))
        return false;
    // Kept only when the file did not change while it was parsed, so the copy is of these bytes.
    if (!bytes.isEmpty() && fileBytes(path) == bytes) {
        ParsedTemplate made{bytes, xml::Document()};
        made.parsed.loadCopy(target);
        parsedByPath.insert(path, std::move(made));
    }
    return true;
}

} // namespace veldra
