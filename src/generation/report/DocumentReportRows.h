#pragma once

#include <QString>

namespace veldra {

// What the document report shows of one tree node. The texts are plain text; the rows escape
// them for HTML.
struct ReportNode {
    QString name;     // the element name in words
    QString imageKey; // the key of the node's tree picture
    QString nodeKey;  // the node's tree key, the anchor of its section
    QString value;
    QString help;     // the ConstraintExample of the element
};

// The picture a row shows, relative to the report page.
QString reportImageSource(const QString& imageKey);

// The grey head row of a node's section: its anchor, name and help text.
QString sectionHeadRow(const ReportNode& node);
// The row of a child without children: name, value and help.
QString leafRow(const ReportNode& node);
// The row of a child with children: its name links to its own section; a value of 255
// characters or more is cut to 255 with a note.
QString groupRow(const ReportNode& node);

// Text for the page: HTML-escaped (quotes included, so it also serves in attributes), and "$" written as a character reference so that no text
// of the document is ever taken for a placeholder of the row template.
QString reportText(const QString& text);

} // namespace veldra
