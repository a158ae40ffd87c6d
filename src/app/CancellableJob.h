#pragma once

namespace veldra {

// A long job that the main window holds while it runs, so that Esc in the log can
// cancel it (the Word converter and the three code-system lookups).
class CancellableJob {
public:
    virtual ~CancellableJob() = default;
    virtual void requestCancel() = 0;
};

} // namespace veldra
