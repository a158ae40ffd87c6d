#include "generation/building/FinishSPLDocument.h"

#include "generation/building/BuildIndex.h"
#include "generation/building/TransformItems.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/NodeList.h"
#include "platform/xml/io/RereadInPlace.h"

#include <QStringList>

namespace veldra {

namespace {

xml::Document reread(const QString& text)
{
    xml::Document document;
    if (!document.loadXml(text))
        throw VbError(document.parseError().errorCode, QStringLiteral("FinishSPLDocument"),
                      QStringLiteral("The built SPL does not read back: ") + document.parseError().reason);
    return document;
}

// The build's marks and, as settings elements copied whole bring the editor's attributes
// with them, those too: SPL has none such.
const QStringList& buildAttributes()
{
    static const QStringList names{Word2SPLIDAttribute, QStringLiteral("Color"), QStringLiteral("AllowMultiLineText")};
    return names;
}

void removeByQueries(const xml::Document& target)
{
    for (const QString& name : buildAttributes())
        for (const xml::Node& element : target.selectNodes(QStringLiteral("//*[@") + name + QLatin1Char(']')))
            element.removeAttribute(name);
    for (const xml::Node& comment : target.selectNodes(QStringLiteral("//comment()")))
        comment.parentNode().removeChild(comment);
}

// The text road: the document written, its empty default namespace declarations taken out,
// and read in afresh twice. The second reading settles what the first changed; when writing
// the first gives back the text it was read from, reading it again gives the same document,
// which the indexed road skips.
void rereadAsText(xml::Document& target)
{
    QString text = target.xml();
    text.remove(QStringLiteral("xmlns=\"\""));
    const xml::Document once = reread(text);
    const QString again = once.xml();
    if (indexedLookups() && again == text)
        target = once;
    else
        target = reread(again);
}

} // namespace

void FinishSPLDocument(xml::Document& target)
{
    if (indexedLookups()) {
        static const QList<QByteArray> names = [] {
            QList<QByteArray> utf8;
            for (const QString& name : buildAttributes())
                utf8 << name.toUtf8();
            return utf8;
        }();
        // In place where that is provably what the text road gives: no text is written or
        // parsed, and the built tree is not freed for a new one. The marks, editor attributes
        // and comments go in the same walk, whose answer holds for the tree without them.
        if (!xml::rereadInPlaceWithout(target, names))
            rereadAsText(target);
    } else {
        removeByQueries(target);
        rereadAsText(target);
    }
    target.setDeclarationEncoding(QStringLiteral("UTF-8"));
}

} // namespace veldra
