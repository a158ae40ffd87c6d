#pragma once

#include "platform/word/OpenError.h"
#include "platform/word/detail/Model.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace veldra::word::detail {

// Reads a package's bytes into a model; nullptr and error when the bytes are not a
// readable word-processing package. baseFolder is where linked pictures are looked for.
std::shared_ptr<Model> loadModel(QByteArray bytes, const QString& baseFolder, OpenError& error);

} // namespace veldra::word::detail
