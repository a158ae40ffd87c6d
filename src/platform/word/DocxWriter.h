#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace veldra::word {

// Builds a new word-processing document paragraph by paragraph and saves it as a complete
// .docx package (content types, relationships, styles, numbering, settings, properties).
// The styles offered are "Normal", "Heading 1", "Heading 2", "List Paragraph" and
// "Table Grid".
class DocxWriter {
public:
    enum class ListKind { Numbered, Bulleted };

    DocxWriter();

    // A paragraph in the named style (UI name, e.g. "Heading 1"); "" for Normal.
    void addParagraph(const QString& style, const QString& text);
    // A new list that starts at 1 (decimal "1.", or a bullet); returns its id for
    // addListParagraph.
    int addList(ListKind kind);
    void addListParagraph(int list, const QString& text);
    // A table with single borders on every edge; cells[r][c] is the text of row r, column c.
    void addTable(const std::vector<QStringList>& cells);
    void addPageBreak();

    // Writes a temporary file beside path and renames it over path, so a failed save
    // leaves a former file untouched. False with *error set on failure.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    void addBlock(const QString& xml, bool isTable);

    QString body_;
    std::vector<ListKind> lists_;
    bool endsWithTable_ = false;
};

} // namespace veldra::word
