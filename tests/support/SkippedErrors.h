#pragma once

#include <QStringList>

namespace veldra::test {

// Every test fails on an error that skip() swallowed, unless the test declares that it
// provokes such errors by holding one of these while it does. Nested ones share the count.
class ExpectSkippedErrors {
public:
    ExpectSkippedErrors();
    ~ExpectSkippedErrors();
    ExpectSkippedErrors(const ExpectSkippedErrors&) = delete;
    ExpectSkippedErrors& operator=(const ExpectSkippedErrors&) = delete;

    // The skipped errors logged while this was held, oldest first.
    const QStringList& messages() const { return messages_; }

private:
    friend void recordSkippedError(const QString& message);
    QStringList messages_;
    ExpectSkippedErrors* outer_;
};

// Switches the skipped-error log on and routes it to the tests (TestMain calls this).
void failOnUnexpectedSkippedErrors();

} // namespace veldra::test
