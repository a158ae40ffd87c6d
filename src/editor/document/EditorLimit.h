#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Node;
}

// The largest document the editor opens, counted in what it builds from one: every element
// becomes a parsed node and a tree item, every attribute a parsed node with its text. Bytes
// say little about that (an empty element is four bytes of a file and about a kilobyte in the
// editor), so the editor counts the elements and attributes of a file before it parses it and
// refuses one it cannot hold, and an import stops before it would make a document the editor
// cannot open again. At the peak of an open an element costs about 1.1 KB and an attribute
// about 330 bytes (bench/editor_memory_bench.cpp), so a document at both limits takes about
// 2.4 GB besides its texts, and a listing of 1,000 products (440,000 elements, 1.36 million
// attributes) under 1 GB. The bytes of the file, and with them the texts, are bounded by what
// the XML layer reads (xml::kMaxInputBytes).
inline constexpr qint64 kMaxEditorElements = 1'000'000;
inline constexpr qint64 kMaxEditorAttributes = 4'000'000;

// What the editor may take for one document, as editorMemoryOf estimates it: 1 GB besides four
// bytes for each byte of the file, so that a file under 10 MB stays within about 1 GB whatever
// its shape (a million elements with an attribute each are 9 MB of a file and 1.2 GB open), and
// never more than 1.9 GB, so that no file the size limit admits takes 2 GB. The estimate runs
// above what an open takes (a million empty elements: 884 MB measured, 1.1 GB estimated); a
// listing of 1,000 products (188 MB, 1.03 GB open) is estimated at 1.34 GB against 1.75 GB.
inline constexpr qint64 kEditorMemoryBase = 1'000'000'000;
inline constexpr qint64 kEditorMemoryPerFileByte = 4;
inline constexpr qint64 kMaxEditorMemory = 1'900'000'000;
qint64 editorMemoryBudgetFor(qint64 fileBytes);

// The longest text or attribute value the editor opens. A settings document may hold texts
// longer than an SPL file passes on to the stylesheet program (a whole imported story of up to
// 16,000,000 characters in one value), but one text costs about 7 bytes a character while it
// is opened (120,000,000 characters: 854 MB), and one of 200,000,000 took 3.2 GB and ended the
// program.
inline constexpr qint64 kMaxEditorTextCharacters = 50'000'000;

// The size of a document, or of what an import adds to one, as the editor's limit counts it.
struct DocumentSize {
    qint64 elements = 0;
    qint64 attributes = 0;
    qint64 bytes = 0;  // of the file as saved

    DocumentSize& operator+=(const DocumentSize& other);
};

// What a document of that size costs in memory while the editor opens it: the peak costs of an
// element and an attribute above, and each text byte twice (parsed, and in the tree's captions).
qint64 editorMemoryOf(const DocumentSize& size);

// Whether the editor opens a document of that size: within the counts above and within what
// its memory budget allows.
bool fitsInEditor(const DocumentSize& size);

// The limit as messages state it: "up to 1000000 elements, 4000000 attributes and 256 MiB".
QString editorLimitText();

// The elements and attributes of `node` and everything below it, of the whole tree for a
// document node (bytes are not counted). Namespace declarations are not attributes here.
DocumentSize treeSizeOf(const xml::Node& node);

} // namespace veldra
