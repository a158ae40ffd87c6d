#include "generation/build/FinishSPLDocument.h"

#include "generation/build/TransformItems.h"
#include "platform/core/VbError.h"
#include "platform/xml/Document.h"

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

} // namespace

void FinishSPLDocument(xml::Document& target)
{
    for (const xml::Node& element : target.selectNodes(QStringLiteral("//*[@Word2SPLID]")))
        element.removeAttribute(Word2SPLIDAttribute);
    // Settings elements copied whole bring the editor's attributes with them; SPL has none such.
    for (const QString& editorAttribute : {QStringLiteral("Color"), QStringLiteral("AllowMultiLineText")})
        for (const xml::Node& element : target.selectNodes(QStringLiteral("//*[@") + editorAttribute + QLatin1Char(']')))
            element.removeAttribute(editorAttribute);
    for (const xml::Node& comment : target.selectNodes(QStringLiteral("//comment()")))
        comment.parentNode().removeChild(comment);
    QString text = target.xml();
    text.remove(QStringLiteral("xmlns=\"\""));
    const xml::Document once = reread(text);
    target = reread(once.xml());
    target.setDeclarationEncoding(QStringLiteral("UTF-8"));
}

} // namespace veldra
