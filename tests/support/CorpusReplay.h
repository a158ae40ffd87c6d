#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace veldra::test {

// Runs a fuzz target over every file of its committed corpus (fuzz/corpus/<target>/), so each
// hostile input found once stays handled. A target aborts on a broken promise; a test fails
// here also when the corpus is missing or empty.
void replayCorpus(const QString& target, const std::function<void(const QByteArray&)>& run);

} // namespace veldra::test
