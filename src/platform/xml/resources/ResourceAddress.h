#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace veldra::xml {

// The two resource sets that SPL files name by web address and that we keep local copies of.
enum class ResourceKind { Schema, Stylesheet };

// A web address that belongs to one of the resource sets: its kind and its file name in the set.
struct MappedAddress {
    ResourceKind kind;
    QString name; // the file's path inside the set ("spl.xsd", "coreschemas/voc.xsd"), never leaving it

    bool operator==(const MappedAddress&) const = default;
};

// Maps the agency's addresses of the SPL schema and stylesheet sets, over http or https
// (for example http://www.accessdata.fda.gov/spl/schema/spl.xsd), to their set and file name.
// Any other address, and any name that would leave the set's folder, maps to nothing.
std::optional<MappedAddress> mapAddress(const QString& address);

// The agency's https folder address of a set ("https://www.accessdata.fda.gov/spl/schema/").
QUrl agencyFolder(ResourceKind kind);

// True when `name` is a relative path that stays inside a set's folder: no "." or ".."
// steps, no empty steps, no "\", ":" or control characters.
bool isNameInSet(const QString& name);

// True for a reference with a scheme that reaches beyond the local file system
// (http, https, ftp, ...). Local paths and file: URLs are not network addresses.
bool isNetworkAddress(const QString& reference);

// A reference found in a document, resolved against the document's own address (a local path,
// file: URL or web address). Absolute references come back unchanged; "" when a relative
// reference has no base to resolve against.
QString resolveReference(const QString& reference, const QString& base);

} // namespace veldra::xml
