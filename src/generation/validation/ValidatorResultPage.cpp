#include "generation/validation/ValidatorResultPage.h"

#include "platform/core/VbString.h"

#include <QVariantMap>

namespace veldra {

QString resultPageScript()
{
    return QStringLiteral(R"JS((function () {
    var report = { documentId: "", errorsFound: false, pieces: [], unrecognised: false };
    var paragraphs = document.getElementsByTagName("p");
    for (var i = 0; i < paragraphs.length; i++) {
        var text = paragraphs[i].innerText;
        if (text.indexOf("Document ") >= 0)
            report.documentId = text.split(" ")[1] || "";
    }
    function pieceAfter(markup, tag) {
        var start = markup.indexOf(tag);
        if (start < 0)
            return null;
        start += tag.length;
        var end = markup.indexOf("</span>", start);
        return end < 0 ? markup.substring(start) : markup.substring(start, end);
    }
    var anchors = document.getElementsByTagName("a");
    for (var j = 0; j < anchors.length; j++) {
        var href = anchors[j].getAttribute("href") || "";
        if (href.indexOf("#idx") < 0)
            continue;
        report.errorsFound = true;
        var element = anchors[j].parentNode;
        while (element && element.innerHTML !== undefined
               && element.innerHTML.indexOf("xml-verbatim-element-content") < 0)
            element = element.parentNode;
        if (!element || element.innerHTML === undefined) {
            report.unrecognised = true;
            break;
        }
        var markup = element.innerHTML;
        if (markup.indexOf("xml-verbatim-text") >= 0) {
            var text = pieceAfter(markup, '<span class="xml-verbatim-text">');
            if (text !== null)
                report.pieces.push(text);
        }
        if (markup.indexOf("xml-verbatim-attr-content") >= 0) {
            var attribute = pieceAfter(markup, '<span class="xml-verbatim-attr-content">');
            if (attribute !== null)
                report.pieces.push(attribute);
        }
    }
    return report;
})())JS");
}

ValidatorReport validatorReportFrom(const QVariant& scriptResult)
{
    const QVariantMap map = scriptResult.toMap();
    ValidatorReport report;
    report.documentId = map.value(QStringLiteral("documentId")).toString();
    report.errorsFound = map.value(QStringLiteral("errorsFound")).toBool();
    report.unrecognised = map.value(QStringLiteral("unrecognised")).toBool() || map.isEmpty();
    for (const QVariant& piece : map.value(QStringLiteral("pieces")).toList())
        report.pieces << vbstr::trim(piece.toString());
    return report;
}

} // namespace veldra
