#pragma once

#include <QByteArray>
#include <QList>

struct _xmlAttr;

namespace veldra::xml {

class Document;

// Takes every attribute of one of `names` (unprefixed, without a namespace) off every element
// of the document and every comment out of it, in one walk without node handles. Handles on
// what is taken out stay usable, as after Node::removeAttribute and Node::removeChild.
void removeAttributesAndComments(const Document& document, const QList<QByteArray>& names);

namespace detail {

// Whether removeAttributesAndComments takes this attribute off its element.
bool isRemovedAttribute(const _xmlAttr* attr, const QList<QByteArray>& names);

} // namespace detail

} // namespace veldra::xml
