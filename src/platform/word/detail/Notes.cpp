#include "platform/word/detail/Notes.h"

#include "platform/word/detail/Xml.h"

namespace veldra::word::detail {

namespace {

// The shown text below a node: deleted revisions, field codes and the note's own mark are
// not shown; a tab and the end of a paragraph read as a blank.
void appendShownText(xmlNode* node, QString& into)
{
    for (xmlNode* child : children(node)) {
        if (isW(child, "t")) {
            into += textOf(child);
        } else if (isW(child, "tab") || isW(child, "p")) {
            if (isW(child, "p"))
                appendShownText(child, into);
            into += QLatin1Char(' ');
        } else if (!isW(child, "del") && !isW(child, "moveFrom") && !isW(child, "instrText")) {
            appendShownText(child, into);
        }
    }
}

} // namespace

QHash<QString, QString> readNotes(xmlNode* notesRoot)
{
    QHash<QString, QString> notes;
    for (xmlNode* note : children(notesRoot)) {
        const QString type = attr(note, "type");
        if (!type.isEmpty() && type != QLatin1String("normal"))
            continue;
        QString text;
        appendShownText(note, text);
        notes.insert(attr(note, "id"), text.simplified());
    }
    return notes;
}

} // namespace veldra::word::detail
