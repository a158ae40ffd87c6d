#include "FuzzTargets.h"

#include "platform/xml/tree/Document.h"
#include "harness/FuzzCheck.h"
#include "harness/MemoryFile.h"

#include <QStringDecoder>

namespace veldra::fuzz {

namespace {

void expectLoadedOrRefused(xml::Document& doc, bool loaded)
{
    require(loaded == doc.parseError().ok(), "a load succeeds exactly when it reports no parse error");
    require(loaded || !doc.parseError().reason.isEmpty(), "a refusal says why");
    if (loaded)
        doc.xml(xml::Layout::Indented);
}

} // namespace

void xmlLoad(const QByteArray& input)
{
    const MemoryFile file(input);
    xml::Document fromFile;
    expectLoadedOrRefused(fromFile, fromFile.load(file.path()));

    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(input);
    if (utf8.hasError())
        return;
    xml::Document fromText;
    expectLoadedOrRefused(fromText, fromText.loadXml(text));
}

} // namespace veldra::fuzz
