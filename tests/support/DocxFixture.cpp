#include "support/DocxFixture.h"

#include "platform/word/PackageWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <zip.h>

#include <gtest/gtest.h>

namespace veldra::test {

namespace {

const char* const kNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\" "
    "xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"";

const char* const kRelTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

QByteArray xmlPart(const QString& root, const QString& inner)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:%1 %2>%3</w:%1>")
                .arg(root, QLatin1String(kNamespaces), inner))
        .toUtf8();
}

} // namespace

QString relationship(const QString& id, const QString& type, const QString& target, bool external)
{
    return QStringLiteral("<Relationship Id=\"%1\" Type=\"%2%3\" Target=\"%4\"%5/>")
        .arg(id, QLatin1String(kRelTypes), type, target, external ? QStringLiteral(" TargetMode=\"External\"") : QString());
}

QByteArray docxFrom(const QString& body, const DocxParts& extra)
{
    QMap<QString, QByteArray> entries = extra.parts;
    entries.insert(QStringLiteral("[Content_Types].xml"),
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                   "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                   "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                   "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                   "<Default Extension=\"png\" ContentType=\"image/png\"/>"
                   "<Default Extension=\"jpg\" ContentType=\"image/jpeg\"/>"
                   "<Default Extension=\"emf\" ContentType=\"image/x-emf\"/>"
                   "<Override PartName=\"/word/document.xml\" "
                   "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
                   "</Types>");
    entries.insert(QStringLiteral("_rels/.rels"),
                   (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                   "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">")
                    + relationship(QStringLiteral("rId1"), QStringLiteral("officeDocument"), QStringLiteral("word/document.xml"))
                    + QStringLiteral("</Relationships>"))
                       .toUtf8());
    QString rels = extra.relationships;
    if (!extra.styles.isEmpty()) {
        entries.insert(QStringLiteral("word/styles.xml"), xmlPart(QStringLiteral("styles"), extra.styles));
        rels += relationship(QStringLiteral("rIdStyles"), QStringLiteral("styles"), QStringLiteral("styles.xml"));
    }
    if (!extra.numbering.isEmpty()) {
        entries.insert(QStringLiteral("word/numbering.xml"), xmlPart(QStringLiteral("numbering"), extra.numbering));
        rels += relationship(QStringLiteral("rIdNumbering"), QStringLiteral("numbering"), QStringLiteral("numbering.xml"));
    }
    if (!extra.settings.isEmpty()) {
        entries.insert(QStringLiteral("word/settings.xml"), xmlPart(QStringLiteral("settings"), extra.settings));
        rels += relationship(QStringLiteral("rIdSettings"), QStringLiteral("settings"), QStringLiteral("settings.xml"));
    }
    entries.insert(QStringLiteral("word/_rels/document.xml.rels"),
                   (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                   "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">")
                    + rels + QStringLiteral("</Relationships>"))
                       .toUtf8());
    entries.insert(QStringLiteral("word/document.xml"),
                   xmlPart(QStringLiteral("document"), QStringLiteral("<w:body>") + body + QStringLiteral("</w:body>")));
    return zipOf(entries);
}

word::Document openDocx(const QString& body, const DocxParts& extra)
{
    word::Document doc;
    EXPECT_TRUE(doc.openBytes(docxFrom(body, extra))) << doc.openError().text().toStdString();
    return doc;
}

QByteArray zipOf(const QMap<QString, QByteArray>& entries)
{
    word::PackageWriter writer;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        writer.add(it.key(), it.value());
    return writer.bytes();
}

QMap<QString, QByteArray> entriesOf(const QString& archive)
{
    QMap<QString, QByteArray> entries;
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t stat;
        zip_file_t* file = zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &stat) == 0
                               ? zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0)
                               : nullptr;
        if (!file)
            continue;
        QByteArray data(static_cast<qsizetype>(stat.size), '\0');
        data.resize(static_cast<qsizetype>(std::max<zip_int64_t>(0, zip_fread(file, data.data(), stat.size))));
        zip_fclose(file);
        entries.insert(QString::fromUtf8(stat.name), data);
    }
    zip_discard(zip);
    return entries;
}

QString para(const QString& text, const QString& properties)
{
    const QString pPr = properties.isEmpty() ? QString() : QStringLiteral("<w:pPr>") + properties + QStringLiteral("</w:pPr>");
    return QStringLiteral("<w:p>") + pPr + QStringLiteral("<w:r><w:t xml:space=\"preserve\">") + text
           + QStringLiteral("</w:t></w:r></w:p>");
}

QByteArray pngBytes(int width, int height, unsigned rgb)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(rgb);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace veldra::test
