#pragma once

#include <QString>
#include <libxml/xmlschemas.h>

namespace veldra::xml {

// A schema compiled from a local file, or why it could not be compiled.
struct CompiledSchema {
    xmlSchemaPtr schema = nullptr; // owned by the cache; lives until the process ends
    QString problem;
};

// Compiles the schema file at `localPath` the first time it is asked for and hands out the
// same compiled schema afterwards (keyed by the file's canonical path). Includes and imports
// load through the resource loader, confined to the schema's own folder. A failed compilation
// is not remembered, so a schema set completed later compiles on the next call. Safe to call
// from several threads.
CompiledSchema compiledSchema(const QString& localPath);

} // namespace veldra::xml
