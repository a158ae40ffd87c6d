#include "generation/building/TransformValue.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "generation/FileCopy.h"
#include "generation/building/BuildIndex.h"
#include "generation/building/NodeTests.h"
#include "generation/building/PathSteps.h"
#include "generation/building/TransformItems.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

const QString source = QStringLiteral("TransformRecurse");
const QString fiveBlanks = QStringLiteral("     ");

// Whether the settings element's attribute `name` is `value`: compared as UTF-8 where the
// element holds it as one text, else as getAttribute reads it (which also refuses a node that
// is no element).
bool attributeIs(const xml::Node& settingsValue, const char* name, const char* value)
{
    if (const xml::Cursor element(settingsValue); element.isElement()) {
        const xml::Cursor attribute = element.attribute(name);
        return attribute && attribute.textUtf8() == value;
    }
    return settingsValue.getAttribute(QLatin1String(name)) == QLatin1String(value);
}

bool isFileValue(const xml::Node& settingsValue)
{
    return attributeIs(settingsValue, "ConstraintDataType", "File");
}

bool allowsMultiLineText(const xml::Node& settingsValue)
{
    return attributeIs(settingsValue, "AllowMultiLineText", "1");
}

// How a settings element's value is written, read from its attributes in one pass.
struct ValueTraits {
    bool multiLine = false;  // AllowMultiLineText is 1
    bool file = false;       // ConstraintDataType is File
};

ValueTraits traitsOf(const xml::Node& settingsValue)
{
    const xml::Cursor element(settingsValue);
    if (!element.isElement())
        return {allowsMultiLineText(settingsValue), isFileValue(settingsValue)};  // refuses it as ever
    xml::Cursor multiLine;
    xml::Cursor type;
    for (xml::Cursor attribute = element.firstAttribute(); attribute; attribute = attribute.nextAttribute()) {
        if (attribute.hasNamespace())
            continue;
        if (!multiLine && attribute.isNamed("AllowMultiLineText"))
            multiLine = attribute;
        else if (!type && attribute.isNamed("ConstraintDataType"))
            type = attribute;
    }
    return {multiLine && multiLine.textUtf8() == "1", type && type.textUtf8() == "File"};
}

// The name a "File" value's file gets beside the SPL file, and in the SPL.
QString safeFileName(const QString& path)
{
    return MakeSafeFileName(vbstr::fileNameOf(path), QString());
}

void warnMissing(const EntryTarget& entry, const QString& sourceText, const xml::Node& from, const xml::Node& to)
{
    if (NoLogging)
        return;  // a quick preview builds thousands of these lines for nobody
    skip([&] {
        if (from.isNull() && to.isNull())
            WriteLog(log_category::Warning,
                     entry.entryName + fiveBlanks + QStringLiteral("Source and Target Data Element not found."));
        else if (from.isNull())
            WriteLog(log_category::Warning,
                     entry.entryName + fiveBlanks + sourceText + QStringLiteral(" - Source Data Element not found"));
        else
            WriteLog(log_category::Warning,
                     entry.entryName + fiveBlanks + from.nodeName() + QStringLiteral(" - Target Data Element not found"));
    });
}

xml::Node firstChildNamed(const xml::Node& parent, const QString& name)
{
    for (xml::Node child = parent.firstChild(); !child.isNull(); child = child.nextSibling())
        if (child.nodeName() == name)
            return child;
    return {};
}

// The settings elements at the Value's Source replace the target element: the first copy
// takes its place, each further one goes before the element last placed of that name.
void copyWholeElements(const xml::Node& settingsElement, const QString& sourceText, xml::Node to,
                       const xml::Document& target)
{
    const xml::Node parent = to.parentNode();
    bool first = true;
    for (const xml::Node& original : settingsElement.selectNodes(sourceText)) {
        const xml::Node copy = target.importNode(original, true);
        if (first)
            parent.replaceChild(copy, to);
        else
            parent.insertBefore(copy, to);
        first = false;
        to = firstChildNamed(parent, copy.nodeName());
    }
}

QString withLineBreakElements(QString lines)
{
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("<br/>"));
    lines.replace(QLatin1Char('\r'), QStringLiteral("<br/>"));
    lines.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
    return lines;
}

QString elementMarkup(const QString& name, const QString& content)
{
    return QLatin1Char('<') + name + QLatin1Char('>') + content + QStringLiteral("</") + name + QLatin1Char('>');
}

bool isWellFormed(const QString& markup)
{
    xml::Document probe;
    return probe.loadXml(markup);
}

// Multi-line text becomes markup: an element named like the target, holding the lines
// separated by <br/>, placed before the target, which stays unfilled. Markup in the text
// (inline SPL elements) is kept; text that is no well-formed markup ("A & B", "x < y") is
// written as plain text rather than lost.
xml::Node insertMultiLineText(const QString& text, const xml::Node& to, const xml::Document& target)
{
    QString markup = elementMarkup(to.nodeName(), withLineBreakElements(text));
    if (!isWellFormed(markup))
        markup = elementMarkup(to.nodeName(), withLineBreakElements(XMLEscape(text)));
    const xml::Node parsed = ParseXMLFragment(markup, true);
    if (parsed.isNull())
        throw VbError(err::XmlParse, source,
                      QStringLiteral("The multi-line text for %1 is not well-formed markup.").arg(to.nodeName()));
    const xml::Node element = target.importNode(parsed, true);
    to.parentNode().insertBefore(element, to);
    return element;
}

bool holdsChildElements(const xml::Node& node)
{
    for (xml::Node child = node.firstChild(); !child.isNull(); child = child.nextSibling())
        if (child.nodeType() == xml::NodeType::Element)
            return true;
    return false;
}

// The value becomes the element's text. An element that holds child elements keeps them (an
// SPL name keeps its suffix element): only its own text is replaced, and the value stands first.
void setElementText(const xml::Node& element, const QString& value)
{
    if (!holdsChildElements(element)) {
        element.setText(value);
        return;
    }
    for (const xml::Node& child : element.childNodes())
        if (child.nodeType() == xml::NodeType::Text || child.nodeType() == xml::NodeType::CData)
            element.removeChild(child);
    if (!value.isEmpty())
        element.insertBefore(element.ownerDocument().createTextNode(value), element.firstChild());
}

VbError missingAttribute(const xml::Node& to, const QString& attribute)
{
    return VbError(err::General, source, QStringLiteral("The target element %1 has no attribute %2.").arg(to.nodeName(), attribute));
}

// `attribute` is the Value target's Attribute, null for none; `plainAttribute` the same as
// UTF-8 when it is a name without prefix, written straight to the element, else empty.
void writeText(const QString& value, const QString& attribute, const QByteArray& plainAttribute, const xml::Node& to)
{
    if (attribute.isNull()) {
        setElementText(to, value);
        return;
    }
    const bool straight = !plainAttribute.isEmpty() && to.nodeType() == xml::NodeType::Element
        && !value.contains(QLatin1Char('\r'));  // setAttribute stores it as a line feed
    if (straight ? !xml::Cursor(to).hasAttribute(plainAttribute.constData()) : !to.hasAttribute(attribute))
        throw missingAttribute(to, attribute);
    if (straight)
        to.setAttributeUtf8(plainAttribute.constData(), value.toUtf8());
    else
        to.setAttribute(attribute, value);
}

void copyValueFile(const xml::Node& from, const QString& outFile)
{
    const QString path = from.text();
    const QString folder = folderWithSeparator(outFile);
    const QString name = safeFileName(path);
    WriteLog(log_category::Information,
             QStringLiteral("Copying File '") + name + QStringLiteral("' to Folder '") + folder + QLatin1Char('\''));
    try {
        copyFileReplacing(vbstr::toNativeSeparators(path), folder + name);
    } catch (const VbError& e) {
        WriteLog(log_category::Error, QStringLiteral("Copy file '") + name + QStringLiteral("' to Folder '") + folder
                                              + QStringLiteral("' failed: ") + e.description());
    }
}

// A "File" value's file goes beside the SPL file; an empty value names none.
void copyValueFileOf(const xml::Node& from, const QString& outFile)
{
    if (!from.text().isEmpty())
        skip([&] { copyValueFile(from, outFile); });
}

// Whether turning the bytes into text and back gives the same bytes: they are valid UTF-8 and
// hold no byte 0xEF, so no byte order mark, which the conversion to text drops.
bool roundTripsAsText(const QByteArray& bytes)
{
    return !bytes.contains('\xEF') && bytes.isValidUtf8();
}

// Writes the value to the target's attribute named without prefix straight from the bytes the
// settings hold, as writeText writes the same value made text, without the conversions there
// and back. False, having written nothing, where the value takes writeText's road (another
// kind of target, bytes that change as text, a carriage return that setAttribute stores as a
// line feed).
bool writePlainAttributeUtf8(const PreparedValue& prepared, const xml::Node& from, const xml::Node& to)
{
    const xml::Cursor element(to);
    const xml::Cursor settingsValue(from);
    if (prepared.plainAttribute.isEmpty() || !element.isElement() || !settingsValue)
        return false;
    const QByteArray text = settingsValue.textUtf8();
    if (!roundTripsAsText(text))
        return false;
    QByteArray bytes;
    bytes.reserve(prepared.prefixUtf8.size() + text.size() + prepared.postfixUtf8.size());
    bytes.append(prepared.prefixUtf8).append(text).append(prepared.postfixUtf8);
    if (bytes.contains('\r'))
        return false;
    if (!element.hasAttribute(prepared.plainAttribute.constData()))
        throw missingAttribute(to, prepared.attribute);
    to.setAttributeUtf8(prepared.plainAttribute.constData(), bytes);
    return true;
}

} // namespace

void applyTransformValue(const xml::Node& value, const PreparedValue* prepared, const xml::Node& settingsElement,
                         const EntryTarget& entry, const xml::Document& target, BuildIndex& index, const QString& outFile)
{
    // The value's items are read here only where they were not read before.
    xml::Node sourceItem;
    xml::Node targetItem;
    if (!prepared) {
        sourceItem = requiredItem(value, QStringLiteral("Source"), source);
        targetItem = requiredItem(value, QStringLiteral("Target"), source);
    }
    const QString sourceText = prepared ? prepared->source.text() : sourceItem.text();
    xml::Node to;
    xml::Node from;
    if (prepared && NoLogging && prepared->targetLookupsCannotFail) {
        // Without a log, a value with no source has nothing to say, and its target is looked
        // up in vain: most values of a label have no source.
        from = prepared->source.firstMatch(settingsElement);
        if (from.isNull())
            return;
        to = entry.copy.isNull() ? prepared->targetBelowEntry.firstMatch(index.targetRoot())
                                 : prepared->targetBelowCopy.firstMatch(entry.copy);
    } else if (prepared) {
        to = entry.copy.isNull() ? prepared->targetBelowEntry.firstMatch(index.targetRoot())
                                 : prepared->targetBelowCopy.firstMatch(entry.copy);
        from = prepared->source.firstMatch(settingsElement);
    } else {
        to = entry.copy.isNull() ? firstMatch(index.targetRoot(), entry.targetPath + QLatin1Char('/') + targetItem.text())
                                 : firstMatch(entry.copy, targetItem.text());
        from = firstMatch(settingsElement, sourceText);
    }
    if (to.isNull() || from.isNull()) {
        warnMissing(entry, sourceText, from, to);
        return;
    }

    if (!NoLogging)
        WriteLog(log_category::Processing, entry.entryName + fiveBlanks + from.nodeName() + QStringLiteral(" >>> ")
                                               + to.nodeName() + QStringLiteral(" = ") + from.text());
    if (prepared ? isDirectCopyText(prepared->directCopy) : IsDirectCopy(sourceItem)) {
        copyWholeElements(settingsElement, sourceText, to, target);
        if (isFileValue(from))
            copyValueFileOf(from, outFile);
        return;
    }
    const ValueTraits traits = traitsOf(from);
    if (traits.multiLine) {
        to = insertMultiLineText(from.text(), to, target);
    } else if (!prepared || traits.file || !writePlainAttributeUtf8(*prepared, from, to)) {
        const QString text = from.text();
        const QString written = traits.file && !text.isEmpty() ? safeFileName(text) : text;
        if (prepared)
            writeText(prepared->prefix + written + prepared->postfix, prepared->attribute, prepared->plainAttribute, to);
        else
            writeText(GetPrefixPostfix(targetItem, true) + written + GetPrefixPostfix(targetItem, false),
                      targetItem.getAttribute(QStringLiteral("Attribute")), QByteArray(), to);
    }
    index.mark(to, settingsIdentityBytes(from, source));
    if (traits.file)
        copyValueFileOf(from, outFile);
}

} // namespace veldra
