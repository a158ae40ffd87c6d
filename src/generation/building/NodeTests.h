#pragma once

#include "platform/xml/tree/Cursor.h"

#include <QByteArray>

#include <cstring>

namespace veldra {

// Tests a build asks of target nodes thousands of times, answered on the parsed nodes without
// turning names into text.

// A name test as a location step writes it: an element's local name in any namespace, or any
// element for "*".
struct NameTest {
    QByteArray name;  // empty for "*"

    // The local name to look for, or null for any element.
    const char* lookedFor() const { return name.isEmpty() ? nullptr : name.constData(); }

    bool matches(const xml::Cursor& node) const
    {
        return node.isElement() && (name.isEmpty() || node.isNamed(name.constData()));
    }
};

// The name of the mark the build gives settings elements and the target copies made for them.
inline constexpr char word2SPLIDName[] = "Word2SPLID";

// An element's mark (its Word2SPLID attribute), or null.
inline xml::Cursor markOf(const xml::Cursor& element)
{
    return element.attribute(word2SPLIDName);
}

// Whether two elements bear the same qualified name.
inline bool sameQualifiedName(const xml::Cursor& a, const xml::Cursor& b)
{
    const char* prefixA = a.prefix();
    const char* prefixB = b.prefix();
    const bool samePrefix = prefixA && prefixB ? std::strcmp(prefixA, prefixB) == 0 : prefixA == prefixB;
    return samePrefix && std::strcmp(a.localName(), b.localName()) == 0;
}

} // namespace veldra
