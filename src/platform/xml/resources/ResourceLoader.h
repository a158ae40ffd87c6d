#pragma once

#include <QString>

namespace veldra::xml {

// Installs, once per process, the libxml2 external entity loader through which every file that
// libxml2 and libxslt load (schema includes and imports, stylesheet imports, document(), DTDs
// where a caller asks for them) is opened. Local paths and file: URLs load; the agency's
// schema and stylesheet addresses load from their local copies; every other network address
// is refused. The loader never downloads: that is obtainResource's job, before parsing.
// Also switches on libxslt's matching restrictions (no writes; a running transformation reads
// only files of its stylesheet's own folder) and registers EXSLT.
void installResourceLoader();

// While one lives, the loader on this thread loads only files inside `folder` (a schema set
// being compiled reads its own includes and imports, never an entity that names another file).
class LoadsConfinedTo {
public:
    explicit LoadsConfinedTo(const QString& folder);
    ~LoadsConfinedTo();
    LoadsConfinedTo(const LoadsConfinedTo&) = delete;
    LoadsConfinedTo& operator=(const LoadsConfinedTo&) = delete;

private:
    QString previous_;
};

} // namespace veldra::xml
