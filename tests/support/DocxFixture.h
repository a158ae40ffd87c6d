#pragma once

#include "platform/word/Document.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace veldra::test {

// The parts of a test document besides its body. Strings are the inner XML of the part's
// root element (w:styles, w:numbering, w:settings); relationships are extra entries of
// word/_rels/document.xml.rels; parts are added as they are (e.g. "word/media/a.png").
struct DocxParts {
    QString styles;
    QString numbering;
    QString settings;
    QString relationships;
    QMap<QString, QByteArray> parts;
};

// A .docx package whose body is `body` (the inner XML of w:body; the usual prefixes w, r,
// wp, a, pic, v, o, mc, wps are declared).
QByteArray docxFrom(const QString& body, const DocxParts& extra = {});
// That package, opened; a failure to open fails the calling test.
word::Document openDocx(const QString& body, const DocxParts& extra = {});
// A zip archive of exactly these entries (for damaged or odd packages).
QByteArray zipOf(const QMap<QString, QByteArray>& entries);
// The entries of the zip archive at that path, by name; none when it cannot be read.
QMap<QString, QByteArray> entriesOf(const QString& archive);
// One paragraph holding one run of text.
QString para(const QString& text, const QString& properties = QString());
// A relationship entry for DocxParts::relationships.
QString relationship(const QString& id, const QString& type, const QString& target, bool external = false);
// A solid-colour PNG of the given size.
QByteArray pngBytes(int width, int height, unsigned rgb);

} // namespace veldra::test
