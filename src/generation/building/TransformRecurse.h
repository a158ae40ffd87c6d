#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
class Node;
}
class CopyCleaning;

// Writes the values of one settings element and everything below it into the target
// document of a build. For each settings element that has child nodes, the Transform entries
// of the transformation document whose Definition/Source equals the element's path run once:
// a cloning entry copies its template fragment per settings element and places the copy,
// and each Value writes a settings value (as text, attribute, markup with line breaks, or the
// whole settings element) into the target, marking what it filled with Word2SPLID. Files of
// "File" elements are copied beside `outFile`. `path` is the element's path
// ("SPLR4/GeneralData"); it holds the same text again on return. A failure ends the work on
// this element (and below it) with an "Error" line; the caller goes on with the next one.
// Copies that `copyCleaning` may clean at once are cleaned as soon as their values are written.
void TransformRecurse(const xml::Node& element, const xml::Document& transformation, const xml::Document& templateDoc,
                      const xml::Document& target, QString& path, const QString& outFile, CopyCleaning& copyCleaning);

} // namespace veldra
