#include "splbuilder/SplNodes.h"

#include "platform/xml/tree/Cursor.h"

#include <QHash>
#include <QRegularExpression>

#include <functional>
#include <optional>

namespace veldra::spl {

namespace {

// One step of a path of element names: the name, whether it is a descendant ("//") rather
// than a child ("/") of the node before, and the value an attribute of the element must have
// ("name[@attribute='value']"), when the step asks one.
struct Step {
    QByteArray name;
    bool descendant;
    QByteArray attribute = {};
    QByteArray value = {};
};

bool isPlainName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-')) || c.unicode() > 127)
            return false;
    return true;
}

// "name" or "name[@attribute='value']" (either quote), or nothing when the step holds more.
std::optional<Step> stepOf(const QString& text, bool descendant)
{
    static const QRegularExpression withValue(QStringLiteral("^([^\\[]+)\\[@([^=]+)=(?:'([^']*)'|\"([^\"]*)\")\\]$"));
    if (isPlainName(text))
        return Step{text.toLatin1(), descendant};
    const QRegularExpressionMatch match = withValue.match(text);
    if (!match.hasMatch() || !isPlainName(match.captured(1)) || !isPlainName(match.captured(2)))
        return std::nullopt;
    const QString value = match.capturedStart(4) >= 0 ? match.captured(4) : match.captured(3);
    return Step{match.captured(1).toLatin1(), descendant, match.captured(2).toLatin1(), value.toUtf8()};
}

// The steps of a path such as "a/b//c", "//a" or "a//b[@c='d']", or nothing when the path
// holds more.
std::optional<QList<Step>> namePath(const QString& path)
{
    QList<Step> steps;
    qsizetype at = 0;
    while (at < path.size()) {
        bool descendant = false;
        if (path.mid(at, 2) == QLatin1String("//")) {
            descendant = true;
            at += 2;
        } else if (path.at(at) == QLatin1Char('/')) {
            if (at == 0)
                return std::nullopt;  // from the document's root: left to the query engine
            at += 1;
        }
        qsizetype end = at;
        while (end < path.size() && path.at(end) != QLatin1Char('/'))
            ++end;
        const std::optional<Step> step = stepOf(path.mid(at, end - at), descendant);
        if (!step)
            return std::nullopt;
        steps.append(*step);
        at = end;
    }
    if (steps.isEmpty())
        return std::nullopt;
    return steps;
}

bool takes(const xml::Cursor& element, const Step& step)
{
    return element.isNamed(step.name.constData())
        && (step.attribute.isEmpty() || element.attribute(step.attribute.constData()).textUtf8() == step.value);
}

using Accept = std::function<bool(const xml::Cursor&)>;

// The first element in document order that the steps from `index` on reach below `from` and
// that `accept` takes (when given). The walk runs on cursors: the builders resolve hundreds
// of paths per document, and a node handle per visited node would cost more than the walk.
xml::Cursor walk(const xml::Cursor& from, const QList<Step>& steps, qsizetype index, const Accept& accept = {})
{
    const Step& step = steps.at(index);
    for (xml::Cursor child = from.firstChild(); child; child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        if (takes(child, step)) {
            if (index + 1 == steps.size()) {
                if (!accept || accept(child))
                    return child;
            } else if (const xml::Cursor found = walk(child, steps, index + 1, accept)) {
                return found;
            }
        }
        if (step.descendant)
            if (const xml::Cursor found = walk(child, steps, index, accept))
                return found;
    }
    return {};
}

QList<Step> descendants(const QStringList& names)
{
    QList<Step> steps;
    for (const QString& name : names)
        steps.append({name.toLatin1(), true});
    return steps;
}

VbError missing(const QString& what)
{
    return VbError(err::XmlNode, errorSource, QStringLiteral("element not found: ") + what);
}

// The builders use a few dozen fixed paths, each many times: each is read once.
const std::optional<QList<Step>>& cachedNamePath(const QString& path)
{
    static QHash<QString, std::optional<QList<Step>>> cache;
    auto found = cache.constFind(path);
    if (found == cache.constEnd())
        found = cache.insert(path, namePath(path));
    return *found;
}

} // namespace

xml::Node requiredNode(const xml::Node& from, const QString& path)
{
    // "//" at the start of a path searches the node's whole document: the query engine does.
    const bool fromTheDocument = from.nodeType() == xml::NodeType::Document || !path.startsWith(QLatin1String("//"));
    const std::optional<QList<Step>>& steps = cachedNamePath(path);
    const xml::Node node = steps && fromTheDocument ? walk(xml::Cursor(from), *steps, 0).node() : from.selectSingleNode(path);
    if (node.isNull())
        throw missing(path);
    return node;
}

xml::Node requiredNode(const xml::Document& document, const QString& path)
{
    return requiredNode(document.asNode(), path);
}

void setExistingAttribute(const xml::Node& element, const QString& name, const QString& value)
{
    if (!element.hasAttribute(name))
        throw VbError(err::XmlNode, errorSource,
                      QStringLiteral("attribute not found: ") + element.nodeName() + QStringLiteral("/@") + name);
    element.setAttribute(name, value);
}

QString spacedErrorText(const VbError& error)
{
    return error.source() + QLatin1Char(' ') + QString::number(error.number()) + QLatin1Char(' ') + error.description();
}

bool isElement(const xml::Node& node, QByteArrayView name)
{
    const xml::Cursor parsed(node);
    return parsed.isElement() && QByteArrayView(parsed.localName()) == name;
}

xml::Node childElement(const xml::Node& parent, QByteArrayView name)
{
    for (xml::Node child = parent.firstChild(); child; child = child.nextSibling())
        if (isElement(child, name))
            return child;
    return {};
}

xml::Node descendantPath(const xml::Node& from, const QStringList& names)
{
    return names.isEmpty() ? from : walk(xml::Cursor(from), descendants(names), 0).node();
}

xml::Node requiredSectionPart(const xml::Document& document, const QString& id, const QStringList& below)
{
    const xml::Node root = document.documentElement();
    const xml::Node body = root && isElement(root, "document")
                               ? descendantPath(root, {QStringLiteral("component"), QStringLiteral("structuredBody")})
                               : xml::Node();
    const QByteArray wantedId = id.toUtf8();
    const xml::Node section =
        body ? walk(xml::Cursor(body), descendants({QStringLiteral("section")}), 0,
                    [&](const xml::Cursor& node) { return node.attribute("ID").textUtf8() == wantedId; })
                   .node()
             : xml::Node();
    const xml::Node part = section ? descendantPath(section, below) : xml::Node();
    if (part.isNull())
        throw VbError(err::XmlNode, errorSource,
                      QStringLiteral("element not found: section[@ID='") + id + QStringLiteral("']")
                          + (below.isEmpty() ? QString() : QStringLiteral("//") + below.join(QStringLiteral("//"))));
    return part;
}

QString withoutSectionNumber(const QString& title)
{
    // Each number: digits parted by dots, then the separator the user chose when numbering
    // (a dot, a bracket, a colon, a dash, or none) and blanks. Numbering a numbered title
    // again puts a second number in front of the first.
    static const QRegularExpression numbers(
        QStringLiteral("^\\s*(?:\\d+(?:\\.\\d+)*(?:\\s*[.):\\-\\x{2013}\\x{2014}]+)?\\s+)+(?=\\S)"),
        QRegularExpression::UseUnicodePropertiesOption);
    return QString(title).remove(numbers);
}

} // namespace veldra::spl
