#include "platform/web/BrowserModule.h"

#include "platform/core/VbError.h"
#include "platform/web/SharedGlContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace veldra::web {

namespace {

const QString Source = QStringLiteral("BrowserControl");

QString& modulePathForTesting()
{
    static QString path;
    return path;
}

QString modulePath()
{
    if (!modulePathForTesting().isEmpty())
        return modulePathForTesting();
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("veldra-browser.so"));
}

// The module's entry point, loaded once; the module stays loaded until the program ends.
CreateBrowserControl entryPoint()
{
    static QString loadedFrom;
    static CreateBrowserControl create = nullptr;
    const QString path = modulePath();
    if (create && loadedFrom == path)
        return create;
    makeSharedGlContext();
    QLibrary module(path);
    auto found = reinterpret_cast<CreateBrowserControl>(module.resolve(CreateBrowserControlName));
    if (!found)
        throw VbError(err::FileNotFound, Source,
                      QStringLiteral("The browser engine's module %1 cannot be loaded, so no page can be shown: %2")
                          .arg(QDir::toNativeSeparators(path), module.errorString()));
    loadedFrom = path;
    create = found;
    return create;
}

} // namespace

BrowserControl* createBrowserControl(QWidget* parent, const BrowserSettings& settings)
{
    return entryPoint()(parent, settings);
}

void setBrowserModuleForTesting(const QString& path)
{
    modulePathForTesting() = path;
}

} // namespace veldra::web
