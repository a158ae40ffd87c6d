#pragma once

#include <libxml/tree.h>

#include <new>

namespace veldra::xml::detail {

// libxml2 answers an allocation it could not make with a null result and goes on. An edit
// takes that as running out of memory at once, so it fails as one instead of leaving a value
// out of the document without a word or reading through the null.
template <class T>
T* allocated(T* made)
{
    if (!made)
        throw std::bad_alloc();
    return made;
}

// A new parentless text node of `doc` holding `utf8`. libxml2 makes the node even when it
// cannot copy the text into it; this throws std::bad_alloc then, as when it makes no node.
xmlNodePtr newText(xmlDocPtr doc, const xmlChar* utf8);

} // namespace veldra::xml::detail
