#pragma once

#include <QList>
#include <QPair>
#include <QString>

struct _xmlDoc;

namespace veldra::xml {

class Document;

// Stylesheet parameters by name; each value is passed as a string, whatever quotes it holds.
using XsltParameters = QList<QPair<QString, QString>>;

struct XsltResult {
    enum class Outcome {
        Done,
        StylesheetUnavailable, // no local copy and no download possible
        StylesheetFailure,     // the stylesheet does not compile
        DocumentFailure,       // the input document cannot be read or parsed
        TransformFailure,      // the transformation stopped with an error
        StepLimit,             // the transformation took more steps than the processor allows
    };

    Outcome outcome = Outcome::Done;
    QString text;     // the output (HTML for the SPL stylesheet)
    QString problem;  // why it failed
    QString messages; // what the stylesheet and libxslt reported on the way (refused loads, xsl:message)

    bool ok() const { return outcome == Outcome::Done; }
};

// Runs XSLT 1.0 stylesheets (with EXSLT) in-process. `stylesheet` is a local path, a file: URL
// or the agency's stylesheet address, which resolves to the local copy of the stylesheet set
// (downloaded first when missing and allowed, see obtainResource). Everything the stylesheet
// loads goes through the resource loader: no network access. Each stylesheet is compiled once.
class XsltProcessor {
public:
    // With a limit, a transformation whose path expressions visit more than `steps` nodes in
    // all is stopped there (outcome StepLimit): a stylesheet whose lookups grow with the square
    // of the input ends in bounded time. 0 (the default) sets none.
    explicit XsltProcessor(unsigned long steps = 0) : stepLimit_(steps) {}

    // The document is not changed: the transform runs over a copy, because libxslt strips
    // whitespace (xsl:strip-space) from its input in place.
    XsltResult transformDocument(const QString& stylesheet, _xmlDoc* doc, const XsltParameters& parameters = {}) const;
    XsltResult transformDocument(const QString& stylesheet, const Document& doc,
                                 const XsltParameters& parameters = {}) const;
    XsltResult transformFile(const QString& stylesheet, const QString& documentPath,
                             const XsltParameters& parameters = {}) const;
    XsltResult transformXml(const QString& stylesheet, const QString& xml, const XsltParameters& parameters = {}) const;
    // The document's bytes (as Document::xmlBytes gives them, the encoding read from its
    // declaration), parsed as they are and transformed without their comments and processing
    // instructions: for a stylesheet that shows neither, whose walks over a node's children
    // would cost a square of their number.
    XsltResult transformWithoutCommentsOrInstructions(const QString& stylesheet, const QByteArray& content,
                                                      const XsltParameters& parameters = {}) const;

private:
    unsigned long stepLimit_;
};

} // namespace veldra::xml
