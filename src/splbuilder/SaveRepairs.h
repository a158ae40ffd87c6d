#pragma once

#include <QByteArray>

namespace veldra {

// The text of a saved SPL file as the builder leaves it: the lines joined by CR LF with no
// line break after the last and no empty lines before the first; the empty namespace
// declarations of created elements removed; and table and caption tags that content stored
// as text (plain <table>, <thead>, <tbody>, <tr>, <th>, <td>, <caption> and their end tags,
// without attributes) made markup again. Bytes other than those pass through unchanged.
// `markupRestored`, when given, tells whether a tag was made markup: the text then reads as a
// tree that holds elements where the written one held text.
QByteArray repairedSplText(const QByteArray& fileText, bool* markupRestored = nullptr);

} // namespace veldra
