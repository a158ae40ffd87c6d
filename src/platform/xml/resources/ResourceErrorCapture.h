#pragma once

#include <QString>
#include <QStringList>
#include <mutex>
#include <optional>

namespace veldra::xml {

// One message of libxml2 or libxslt.
struct CapturedError {
    QString message; // libxml2's text, without the trailing line break
    int line = 0;
};

// While alive, collects what libxml2 and libxslt report (parser, schema, loader and stylesheet
// messages) instead of letting them reach stderr, and restores the previous handlers
// afterwards. libxslt's handler is one for the whole process, so captures on different
// threads wait for each other.
class ResourceErrorCapture {
public:
    ResourceErrorCapture();
    ~ResourceErrorCapture();
    ResourceErrorCapture(const ResourceErrorCapture&) = delete;
    ResourceErrorCapture& operator=(const ResourceErrorCapture&) = delete;

    // The first error (warnings left out), when there was one.
    const std::optional<CapturedError>& firstError() const { return firstError_; }
    // Every message, warnings included, in the order reported.
    QString allMessages() const;

    // Called by the installed handlers.
    void addStructured(const QString& message, int line, bool isError);
    void addGeneric(const QString& text);

private:
    std::unique_lock<std::recursive_mutex> lock_;
    std::optional<CapturedError> firstError_;
    QStringList messages_;
    QString pendingGeneric_;
    void* previousStructured_;
    void* previousStructuredContext_;
    void* previousGeneric_;
    void* previousGenericContext_;
    void* previousXsltGeneric_;
    void* previousXsltGenericContext_;
};

} // namespace veldra::xml
