#pragma once

#include <QHash>
#include <QString>

#include <libxml/tree.h>

namespace veldra::word::detail {

// The text of each footnote and endnote, by its id: what its paragraphs show, joined by
// blanks. Separator notes have no entry.
struct NoteTexts {
    QHash<QString, QString> footnotes;
    QHash<QString, QString> endnotes;
};

// The notes of one notes part (w:footnotes or w:endnotes).
QHash<QString, QString> readNotes(xmlNode* notesRoot);

} // namespace veldra::word::detail
