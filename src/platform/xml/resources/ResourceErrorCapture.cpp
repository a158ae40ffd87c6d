#include "platform/xml/resources/ResourceErrorCapture.h"

#include <cstdarg>
#include <libxml/xmlerror.h>
#include <libxslt/xsltutils.h>

namespace veldra::xml {

namespace {

void onStructuredError(void* capture, xmlErrorPtr error)
{
    if (!error)
        return;
    const QString message = QString::fromUtf8(error->message ? error->message : "").trimmed();
    static_cast<ResourceErrorCapture*>(capture)->addStructured(message, error->line,
                                                               error->level >= XML_ERR_ERROR);
}

void onGenericError(void* capture, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char buffer[4096];
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    static_cast<ResourceErrorCapture*>(capture)->addGeneric(QString::fromUtf8(buffer));
}

std::recursive_mutex& handlersMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}

} // namespace

ResourceErrorCapture::ResourceErrorCapture()
    : lock_(handlersMutex())
    , previousStructured_(reinterpret_cast<void*>(xmlStructuredError))
    , previousStructuredContext_(xmlStructuredErrorContext)
    , previousGeneric_(reinterpret_cast<void*>(xmlGenericError))
    , previousGenericContext_(xmlGenericErrorContext)
    , previousXsltGeneric_(reinterpret_cast<void*>(xsltGenericError))
    , previousXsltGenericContext_(xsltGenericErrorContext)
{
    xmlSetStructuredErrorFunc(this, onStructuredError);
    xmlSetGenericErrorFunc(this, onGenericError);
    xsltSetGenericErrorFunc(this, onGenericError);
}

ResourceErrorCapture::~ResourceErrorCapture()
{
    xmlSetStructuredErrorFunc(previousStructuredContext_,
                              reinterpret_cast<xmlStructuredErrorFunc>(previousStructured_));
    xmlSetGenericErrorFunc(previousGenericContext_, reinterpret_cast<xmlGenericErrorFunc>(previousGeneric_));
    xsltSetGenericErrorFunc(previousXsltGenericContext_,
                            reinterpret_cast<xmlGenericErrorFunc>(previousXsltGeneric_));
}

void ResourceErrorCapture::addStructured(const QString& message, int line, bool isError)
{
    messages_ << message;
    if (isError && !firstError_)
        firstError_ = CapturedError{message, line};
}

QString ResourceErrorCapture::allMessages() const
{
    QStringList all = messages_;
    if (!pendingGeneric_.trimmed().isEmpty())
        all << pendingGeneric_.trimmed();
    return all.join(QLatin1Char('\n'));
}

// Generic messages arrive in pieces; a line break ends one.
void ResourceErrorCapture::addGeneric(const QString& text)
{
    pendingGeneric_ += text;
    qsizetype end;
    while ((end = pendingGeneric_.indexOf(QLatin1Char('\n'))) >= 0) {
        const QString message = pendingGeneric_.left(end).trimmed();
        pendingGeneric_.remove(0, end + 1);
        if (message.isEmpty())
            continue;
        messages_ << message;
    }
}

} // namespace veldra::xml
