#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace veldra::word {

// The parts of a zip package, written to a file in one go.
class PackageWriter {
public:
    void add(const QString& name, const QByteArray& bytes) { parts_.emplace_back(name, bytes); }
    // Saves the package through ReplacingFile (a temporary file beside path, renamed over
    // it; links, special and read-only files refused). False with *error set on failure;
    // the former file is then untouched.
    bool save(const QString& path, QString* error = nullptr) const;
    // The package as bytes (for tests and in-memory use).
    QByteArray bytes() const;

private:
    std::vector<std::pair<QString, QByteArray>> parts_;
};

} // namespace veldra::word
