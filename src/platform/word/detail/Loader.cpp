#include "platform/word/detail/Loader.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/BodyReader.h"
#include "platform/word/detail/Xml.h"

namespace veldra::word::detail {

namespace {

const QByteArray kOle2Signature = QByteArray::fromHex("D0CF11E0A1B11AE1");

bool refuseOtherFormats(const QByteArray& bytes, OpenError& error)
{
    if (bytes.startsWith(kOle2Signature)) {
        error = {QString(), QStringLiteral("The file is a Word 97-2003 document (.doc), which cannot be read. "
                                           "Open it in a word processor, save it as a Word document (.docx) and use that file.")};
        return true;
    }
    if (bytes.startsWith("{\\rtf")) {
        error = {QString(), QStringLiteral("The file is a Rich Text Format document (.rtf), which cannot be read. "
                                           "Open it in a word processor, save it as a Word document (.docx) and use that file.")};
        return true;
    }
    return false;
}

QString partByType(const QHash<QString, Relationship>& rels, const QString& type, const QString& fallback)
{
    for (const Relationship& rel : rels)
        if (rel.type == type && !rel.external)
            return rel.target;
    return fallback;
}

// An optional part: absent is fine, present but unreadable is an error naming it.
bool readOptional(const Package& package, const QString& part, XmlDoc& doc, OpenError& error)
{
    if (part.isEmpty() || !package.has(part))
        return true;
    QString reason;
    const auto bytes = package.read(part, &reason);
    if (bytes)
        doc = parseXml(*bytes, &reason);
    if (!doc) {
        error = {part, reason};
        return false;
    }
    return true;
}

QString compatibilityModeOf(xmlDoc* settings)
{
    xmlNode* compat = childW(root(settings), "compat");
    for (xmlNode* setting : children(compat))
        if (isW(setting, "compatSetting") && attr(setting, "name") == QLatin1String("compatibilityMode"))
            return attr(setting, "val");
    return QString::fromLatin1(DefaultCompatibilityMode);
}

// Notes are read when they can be: a damaged notes part costs its notes, not the document.
QHash<QString, QString> notesOf(const Package& package, const QString& part, QStringList& warnings)
{
    XmlDoc doc;
    OpenError error;
    if (!readOptional(package, part, doc, error)) {
        warnings.append(QStringLiteral("The notes in %1 could not be read (%2); they are left out.").arg(part, error.reason));
        return {};
    }
    return readNotes(root(doc.get()));
}

int storedPageCount(const Package& package, const QHash<QString, Relationship>& packageRels)
{
    const QString part = partByType(packageRels, QStringLiteral("extended-properties"), QStringLiteral("docProps/app.xml"));
    const auto bytes = package.read(part);
    if (!bytes)
        return 0;
    XmlDoc doc = parseXml(*bytes, nullptr);
    for (xmlNode* node : children(root(doc.get())))
        if (isNamed(node, "Pages"))
            return std::max(0, textOf(node).trimmed().toInt());
    return 0;
}

} // namespace

std::shared_ptr<Model> loadModel(QByteArray bytes, const QString& baseFolder, OpenError& error)
{
    if (bytes.isEmpty()) {
        error = {QString(), QStringLiteral("The file is empty; it is not a .docx file.")};
        return nullptr;
    }
    if (refuseOtherFormats(bytes, error))
        return nullptr;
    std::shared_ptr<const Package> package = Package::open(std::move(bytes), error);
    if (!package)
        return nullptr;
    const auto packageRels = package->relationships(QString());
    const QString mainPart = partByType(packageRels, QStringLiteral("officeDocument"), QStringLiteral("word/document.xml"));
    QString reason;
    const auto mainBytes = package->read(mainPart, &reason);
    if (!mainBytes) {
        error = {mainPart, reason.isEmpty() ? QStringLiteral("The package has no document part; it is not a .docx file.") : reason};
        return nullptr;
    }
    XmlDoc main = parseXml(*mainBytes, &reason);
    if (!main) {
        error = {mainPart, reason};
        return nullptr;
    }
    if (!isW(root(main.get()), "document")) {
        error = {mainPart, QStringLiteral("The part is not a word-processing document; the file is not a .docx file.")};
        return nullptr;
    }
    const auto rels = package->relationships(mainPart);
    XmlDoc stylesDoc, numberingDoc, settingsDoc;
    if (!readOptional(*package, partByType(rels, QStringLiteral("styles"), QString()), stylesDoc, error)
        || !readOptional(*package, partByType(rels, QStringLiteral("numbering"), QString()), numberingDoc, error)
        || !readOptional(*package, partByType(rels, QStringLiteral("settings"), QString()), settingsDoc, error))
        return nullptr;

    Styles styles;
    styles.read(root(stylesDoc.get()));
    Numbering numbering;
    numbering.read(root(numberingDoc.get()), styles);

    auto model = std::make_shared<Model>();
    model->package = package;
    model->baseFolder = baseFolder;
    model->compatibilityMode = settingsDoc ? compatibilityModeOf(settingsDoc.get())
                                           : QString::fromLatin1(DefaultCompatibilityMode);
    model->storedPageCount = storedPageCount(*package, packageRels);
    NoteTexts notes;
    notes.footnotes = notesOf(*package, partByType(rels, QStringLiteral("footnotes"), QString()), model->warnings);
    notes.endnotes = notesOf(*package, partByType(rels, QStringLiteral("endnotes"), QString()), model->warnings);
    if (!BodyReader(*model, styles, numbering, rels, std::move(notes)).read(root(main.get()), mainBytes->size())) {
        error = {mainPart, QStringLiteral("The document holds more than %1 characters of text and list numbers; no label is so long.").arg(MaxCharacters)};
        return nullptr;
    }
    return model;
}

} // namespace veldra::word::detail
