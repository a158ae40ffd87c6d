#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace veldra::xml::detail {

struct InputRefusal {
    QString reason;
    int line = 0;  // from 1
};

// One pass over raw input, before libxml2 sees it, for what the parser itself handles badly:
// a NUL character (libxml2 takes it for the end of the input and ignores what follows) and an
// element with more than kMaxAttributesPerElement attributes (its duplicate check is quadratic).
// The input is read in the code units its first bytes show (UTF-16 and UTF-32 in either byte
// order, else bytes of an ASCII-compatible encoding), so markup is found in any of them.
std::optional<InputRefusal> refuseBeforeParsing(const QByteArray& input);

} // namespace veldra::xml::detail
