#pragma once

#include "generation/building/PathSteps.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Node.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVarLengthArray>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace veldra {

struct PreparedValue;

// A Transform entry's items, read once per build.
struct PreparedEntry {
    QString name;
    xml::Node targetItem;
    LocationPath target;
    QList<xml::Node> values;
    std::vector<const PreparedValue*> preparedValues;  // for each value; null where one lacks an item
    QString allowClone;   // the target's AllowClone, null when it has none
    // Whether AllowClone reads as 1 (false when there is none); null when it is no number,
    // for the run to read it again and fail as ever.
    std::optional<bool> clones;
    QString directCopy;   // the target's DirectCopy, null when it has none
    xml::Node parentNodeItem;  // Definition/ParentNode, null when the entry has none
    QString parentNode;        // its text
};

// A Value's items and the paths it looks up, read and compiled once per build.
struct PreparedValue {
    xml::Node sourceItem;
    xml::Node targetItem;
    LocationPath source;
    LocationPath targetBelowCopy;     // its Target
    LocationPath targetBelowEntry;    // the entry's Definition/Target, then its Target
    QString directCopy;               // the source's DirectCopy, null when it has none
    QString attribute;                // the target's Attribute, null when it has none
    QByteArray plainAttribute;        // the same as UTF-8 when it is a name without prefix, else empty
    QString prefix;                   // the target's Prefix and PostFix, "" when it has none
    QString postfix;
    QByteArray prefixUtf8;            // the same as UTF-8
    QByteArray postfixUtf8;
    // Both target paths hold only names, ".", positions and conditions that test or compare a
    // path with text: looking them up cannot fail, whatever the target holds.
    bool targetLookupsCannotFail = false;
};

// What a build looks up over and over, kept at hand for one run of the transformation:
// the Transform entries of each settings path, the items of entries and values, and the
// target elements marked with each clone identifier ("name Word2SPLID").
class BuildIndex {
public:
    // `settings` is the settings element the run starts from.
    BuildIndex(const xml::Document& transformation, const xml::Document& target, const xml::Node& settings);

    // The Transform entries whose Definition/Source is `path`, in document order.
    QList<xml::Node> entriesFor(const QString& path) const;

    // The entry's or value's items, or null when one it needs is missing (the caller then
    // reads them itself and reports what is missing) or lookups are not indexed.
    const PreparedEntry* prepared(const xml::Node& entry);
    const PreparedValue* prepared(const xml::Node& value, const QString& entryTargetPath);

    // Marks `element` of the target with the clone identifier (settingsIdentityBytes), as
    // Word2SPLID.
    void mark(const xml::Node& element, const QByteArray& identifier);
    // The target elements that carry the identifier now, in document order. Every mark the
    // build makes goes through mark(), so these are all of them; elements since removed
    // from the target or marked again with another identifier are left out. Asked only for
    // the identities of settings elements entries run for and of their parents (see
    // lookedUpNames_).
    QList<xml::Node> marked(const QByteArray& identifier) const;

    // The first node at `path` in the SPL template, the pattern a cloning entry copies. The
    // template does not change while a build runs.
    xml::Node pattern(const xml::Document& templateDoc, const QString& path);

    // The target's document node, the context of the Definition/Target paths.
    const xml::Node& targetRoot() const { return targetRoot_; }

private:
    bool inTarget(const xml::Cursor& node) const;
    bool bears(const xml::Node& node, const QByteArray& identifier) const;
    bool lookedUp(const QByteArray& identifier) const;
    static size_t hashOf(const QByteArray& identifier);

    xml::Document transformation_;
    xml::Document target_;
    QHash<QString, QList<xml::Node>> entries_;
    // Identities are compared as UTF-8 bytes, hashed by the standard library's hash of text,
    // which is much quicker than Qt's seeded one for the many short identities of a label.
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    // The elements marked with each identity, by the identity's hash: no identity is stored
    // (most mark one copy), and the table is probed in place instead of through scattered
    // nodes. marked() keeps only the elements that bear the identity asked, so identities of
    // one hash share a list without harm.
    QHash<size_t, QVarLengthArray<xml::Node, 1>> marks_;
    // Marks are looked up for the settings elements that entries run for and for their parents
    // (see TransformRecurse.cpp): elements named like a step of an entry's Source, or the
    // element the run starts from and those above it. Marks of other elements are written
    // but need no index.
    std::unordered_set<std::string, TextHash, std::equal_to<>> lookedUpNames_;
    QHash<QString, xml::Node> patterns_;
    std::unordered_map<xml::Cursor, PreparedEntry> preparedEntries_;
    std::unordered_map<xml::Cursor, PreparedValue> preparedValues_;
    xml::Node targetRoot_;
};

// Whether builds use the indexes above and evaluate target paths step by step (see
// PathSteps.h). Off, every lookup is the plain query over the whole document: the reference
// the indexed road is tested against.
bool indexedLookups();
void setIndexedLookups(bool enabled);

// The first of `nodes` in document order (null for none).
xml::Node firstInDocumentOrder(const QList<xml::Node>& nodes);

} // namespace veldra
