#include "platform/xml/resources/SchemaCache.h"

#include "platform/xml/resources/ResourceErrorCapture.h"
#include "platform/xml/resources/ResourceLoader.h"

#include <QFile>
#include <QFileInfo>
#include <map>
#include <memory>
#include <mutex>

namespace veldra::xml {

namespace {

struct SchemaFree {
    void operator()(xmlSchema* s) const { xmlSchemaFree(s); }
};
struct SchemaParserFree {
    void operator()(xmlSchemaParserCtxt* c) const { xmlSchemaFreeParserCtxt(c); }
};

struct Cache {
    std::mutex mutex;
    std::map<QString, std::unique_ptr<xmlSchema, SchemaFree>> schemas;
};

Cache& cache()
{
    static Cache instance;
    return instance;
}

CompiledSchema compile(const QString& path)
{
    ResourceErrorCapture errors;
    // The schema set reads its own files; an entity naming any other file is refused.
    const LoadsConfinedTo ownFolder(QFileInfo(path).absolutePath());
    const QByteArray localPath = QFile::encodeName(path);
    std::unique_ptr<xmlSchemaParserCtxt, SchemaParserFree> parser(xmlSchemaNewParserCtxt(localPath.constData()));
    xmlSchemaPtr schema = parser ? xmlSchemaParse(parser.get()) : nullptr;
    if (!schema) {
        const QString details = errors.allMessages();
        return CompiledSchema{nullptr, QStringLiteral("The schema %1 could not be compiled%2")
                                           .arg(path, details.isEmpty() ? QStringLiteral(".")
                                                                        : QStringLiteral(":\n") + details)};
    }
    return CompiledSchema{schema, {}};
}

} // namespace

CompiledSchema compiledSchema(const QString& localPath)
{
    installResourceLoader();
    const QString key = QFileInfo(localPath).canonicalFilePath();
    if (key.isEmpty())
        return CompiledSchema{nullptr, QStringLiteral("The schema file %1 does not exist.").arg(localPath)};

    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    if (const auto found = c.schemas.find(key); found != c.schemas.end())
        return CompiledSchema{found->second.get(), {}};
    CompiledSchema compiled = compile(key);
    if (compiled.schema)
        c.schemas.emplace(key, compiled.schema);
    return compiled;
}

} // namespace veldra::xml
