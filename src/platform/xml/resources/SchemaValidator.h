#pragma once

#include <QByteArray>
#include <QString>

struct _xmlDoc;

namespace veldra::xml {

class Document;

// The outcome of checking a document against the schema it names. Only the first error is kept.
struct SchemaCheck {
    enum class Outcome {
        Valid,
        ParseFailure,      // the input is not well-formed XML, or cannot be read
        ValidationFailure, // well-formed, but not valid against its schema
        SchemaUnavailable, // no schema named, or the named one cannot be found or compiled
    };

    Outcome outcome = Outcome::Valid;
    QString reason;       // libxml2's message, or ours when the schema is unavailable
    int line = 0;         // line of the error in the input, counted from 1; 0 when unknown
    QString sourceText;   // that line of the input as it stands (tabs kept); "" when unknown
    QString schemaLocation; // the schema the document names, as resolved against the document

    bool isValid() const { return outcome == Outcome::Valid; }
    bool parseFailed() const { return outcome == Outcome::ParseFailure; }
    bool validationFailed() const { return outcome == Outcome::ValidationFailure; }
    bool schemaUnavailable() const { return outcome == Outcome::SchemaUnavailable; }
};

// Validates SPL documents against the SPL schema, which their xsi:schemaLocation must name by
// the agency's address (http or https); any other schema location is an error (the schema is
// "unavailable"), so a document cannot bring a schema of its own. The address resolves to the
// local copy of the schema set (downloaded first when missing and allowed, see obtainResource);
// each schema is compiled once per process. Documents are parsed without network access and
// without expanding entities.
class SchemaValidator {
public:
    SchemaCheck validateFile(const QString& path) const;
    // A tree just saved as `content` to the file `path`, where the tree is what reading the
    // content back gives (a loaded document, or one settled by xml::rereadInPlace). Gives what
    // validateFile gives for the file, without reading it: the tree is checked in memory, and
    // only when it is not found valid (or holds what its text would read otherwise) is the
    // content parsed and checked, so that a reported error carries the file's line and text.
    SchemaCheck validateSaved(const Document& tree, const QByteArray& content, const QString& path) const;
    // `xml` is the document's text; a relative schema location resolves against `baseFile`.
    SchemaCheck validateXml(const QString& xml, const QString& baseFile = QString()) const;
    // A tree in memory: the line is where the failing node stood when it was parsed (0 for
    // nodes created in memory); there is no source text.
    SchemaCheck validateDocument(_xmlDoc* doc) const;
    SchemaCheck validateDocument(const Document& doc) const;

private:
    SchemaCheck validateBytes(const QByteArray& content, const QString& baseFile, const char* encoding) const;
};

} // namespace veldra::xml
