#pragma once

#include "platform/xml/resources/ResourceAddress.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace veldra::xml {

// A file that a schema or stylesheet loads, as written in it: a relative name or an address.
struct ResourceReference {
    QString target;
    // Required files are loaded whenever the resource is used; optional ones are addresses a
    // stylesheet merely mentions in a parameter (its CSS file, for example).
    bool required = true;

    bool operator==(const ResourceReference&) const = default;
};

// The files a schema (xs:include, xs:import, xs:redefine) or a stylesheet (xsl:include,
// xsl:import, document() with a literal name, parameters whose value is an address) loads.
// Content that is not XML has no references; `problem` then says why.
QList<ResourceReference> resourceReferences(ResourceKind kind, const QByteArray& content,
                                            QString* problem = nullptr);

} // namespace veldra::xml
