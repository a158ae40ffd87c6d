#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

namespace veldra::test {

// Runs a fuzz target over every file of its committed corpus (fuzz/corpus/<target>/), so each
// hostile input found once stays handled. A target aborts on a broken promise; a test fails
// here also when the corpus is missing or empty. With a `perInput` time limit, an input that
// runs longer ends the test program with a message naming it: a hang fails its own test
// rather than running until the whole suite's time is up.
void replayCorpus(const QString& target, const std::function<void(const QByteArray&)>& run,
                  std::chrono::seconds perInput = std::chrono::seconds::zero());

} // namespace veldra::test
