#pragma once

#include "platform/xml/tree/Node.h"

#include <QString>
#include <QStringList>

class QWidget;

// Small procedures that every subsystem shares: generated ids, file names and
// section keys made from free text, XML escaping, code-system identifiers, text
// files read as lines, file searches, output folders, the shell and topmost windows.
namespace veldra {

// A new generated id: 8-4-4-4-12 lower-case hexadecimal digits joined by "-",
// every digit drawn uniformly from a generator seeded once from the system's
// entropy source.
QString NewGUID();
// `count` random hexadecimal digits (lower case); 0 or less gives the empty text.
QString RandomHex(int count);

// The OID of a code system named exactly as in SPL, or "UNKNOWN".
QString CodeSystemOID(const QString& name);

// A file name made from free text: characters that file names do not allow (on
// Linux or Windows) become "_", "%" and "&" are dropped, the text is lower-cased,
// the extension is removed from inside it and appended once; reserved device
// names get a trailing "_".
QString MakeSafeFileName(const QString& name, const QString& extension);

// A section key from a section title: a leading section number is dropped, blanks
// and \ / , ( ) : become "-", the rest is upper-cased ("1 BOXED WARNING" gives "BOXED-WARNING").
// The key is an XML name, as SPL section IDs must be: other characters that names cannot hold
// become "-", and a key that would start with a digit starts with "_".
QString MakeSectionKey(const QString& title);

// `key` when `isUsed` says it is free, else the first free of "key-2", "key-3", ...: a label
// that repeats a title still gets a distinct ID for each section of it.
template <typename IsUsed>
QString FirstUnusedKey(const QString& key, IsUsed isUsed)
{
    QString unique = key;
    for (int n = 2; isUsed(unique); ++n)
        unique = key + QLatin1Char('-') + QString::number(n);
    return unique;
}

// Escapes "&", "<" and ">" (in that order); quotes stay.
QString XMLEscape(const QString& text);

// Drops every control character (codes 0 to 31), then leading and trailing blanks.
void StripControlChars(QString& text);

// Parses an XML fragment into a document of its own and returns the fragment's
// first node (its root element when it starts with one). With `addBreaks`, CR LF is
// put between the tags of block elements first (never beside text or inline elements such as
// content, sub and sup, so the fragment's text stays as it was); the XML declaration is then put in front (both change
// `xml`). A fragment that does not parse gives a null node and one "Error" line in
// the log.
xml::Node ParseXMLFragment(QString& xml, bool addBreaks);

// Appends the non-empty lines of a text file (UTF-8, else the Western Windows code
// page) to `lines`, counting them in `count` (lines[count - 1] is the last one
// read). Throws VbError when the file cannot be read; the file is closed on every path.
void ReadFileLines(const QString& path, QStringList& lines, int& count);

// `value` left-padded with "0" to `width`; a longer value comes back unchanged.
QString ZeroPad(const QString& value, int width);

// The files (not folders) of one folder that match a wildcard mask such as "*.xml"
// (letter case ignored), as full paths in name order. A separator is appended to
// `folder` when it has none at the end. A missing folder gives no files.
QStringList FindFiles(QString& folder, const QString& fileMask, int& fileCount, QStringList& files);

// The SPL file a build of `sourceFile` writes into `folder`: the folder with a separator at
// its end, then the source file's name after its last "/" or "\" cut before its last ".",
// then ".xml". Throws VbError for a name without ".".
QString SPLTargetFileName(const QString& sourceFile, const QString& folder);

// Makes the output folder of a build (creating it when missing), deletes its .jpg
// and .xml files and returns the path of the SPL file to write there
// (SPLTargetFileName). Throws VbError for an empty folder, a source name without "."
// (before anything is deleted) or a file that cannot be deleted.
QString PrepareOutputFolder(const QString& sourceFile, const QString& folder);

// Opens a file, folder or web address with the desktop's default handler; a
// failure is silent.
void ShellOpen(const QString& target);

// Opens a file that the program ships or has just written with the desktop's default
// handler. When the desktop has none, or it cannot open the file, says so in a message box
// with the file's full path, so that the user can open it by hand.
void ShellOpenFile(const QString& file);

// Opens a folder in the desktop's file manager; when that fails, says so in a message box
// with the folder's full path.
void ShellOpenFolder(const QString& folder);

// Opens a web address in the desktop's browser. When the desktop has none, or it cannot open
// the address, says so in a message box with the address, so that the user can open it by hand.
void ShellOpenAddress(const QString& address);

// Starts a message to a mail address (a mailto: address) in the desktop's mail program. When
// the desktop has none, or it cannot open the address, says so in a message box with the
// address, so that the user can write from a mail program by hand.
void ShellOpenMailAddress(const QString& address);

// Keeps a window above all others (or not), without moving or resizing it.
void SetWindowOnTop(QWidget* window, bool onTop);

// Copies a LOINC database file to "LOINC/LOINCDB.mdb" in the program folder and
// says so in a message box; a failure is shown in a message box, and an existing
// copy stays as it was.
void InstallLoincDatabaseFile(const QString& source);

} // namespace veldra
