#include "platform/xml/resources/XsltStylesheetCache.h"

#include "platform/xml/resources/ResourceErrorCapture.h"
#include "platform/xml/resources/ResourceLoader.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <libxslt/xslt.h>
#include <map>
#include <mutex>

namespace veldra::xml {

namespace {

struct Entry {
    std::shared_ptr<xsltStylesheet> stylesheet;
    QDateTime modified;
    qint64 size = 0;
};

struct Cache {
    std::mutex mutex;
    std::map<QString, Entry> stylesheets;
};

Cache& cache()
{
    static Cache instance;
    return instance;
}

CompiledStylesheet compile(const QString& path)
{
    ResourceErrorCapture errors;
    const QByteArray localPath = QFile::encodeName(path);
    xsltStylesheetPtr compiled = xsltParseStylesheetFile(reinterpret_cast<const xmlChar*>(localPath.constData()));
    CompiledStylesheet result;
    result.messages = errors.allMessages();
    if (!compiled || compiled->errors > 0) {
        if (compiled)
            xsltFreeStylesheet(compiled);
        result.problem = QStringLiteral("The stylesheet %1 could not be compiled%2")
                             .arg(path, result.messages.isEmpty() ? QStringLiteral(".")
                                                                  : QStringLiteral(":\n") + result.messages);
        return result;
    }
    result.stylesheet.reset(compiled, xsltFreeStylesheet);
    return result;
}

} // namespace

CompiledStylesheet compiledStylesheet(const QString& localPath)
{
    installResourceLoader();
    const QFileInfo file(localPath);
    const QString key = file.canonicalFilePath();
    if (key.isEmpty())
        return CompiledStylesheet{nullptr, QStringLiteral("The stylesheet file %1 does not exist.").arg(localPath), {}};

    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    const auto found = c.stylesheets.find(key);
    if (found != c.stylesheets.end() && found->second.modified == file.lastModified()
        && found->second.size == file.size())
        return CompiledStylesheet{found->second.stylesheet, {}, {}};
    CompiledStylesheet compiled = compile(key);
    if (compiled.stylesheet)
        c.stylesheets[key] = Entry{compiled.stylesheet, file.lastModified(), file.size()};
    return compiled;
}

} // namespace veldra::xml
