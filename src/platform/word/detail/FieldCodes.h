#pragma once

#include <QString>

namespace veldra::word::detail {

// field_type::… of a field code, from its keyword ("REF _Ref1 \h" → Ref).
int fieldTypeOf(const QString& code);

struct HyperlinkTarget {
    QString address;
    QString subAddress;
};

// The target of a HYPERLINK field code: HYPERLINK "address" \l "bookmark".
HyperlinkTarget hyperlinkTargetOf(const QString& code);

} // namespace veldra::word::detail
