#pragma once

#include <QString>

#include <libxml/tree.h>

#include <array>
#include <optional>

namespace veldra::word::detail {

// Run properties as one level of the style chain states them; unset means "inherit".
struct RunProps {
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> hidden;
    std::optional<int> underline;       // underline::…
    std::optional<int> vertAlign;       // 0 baseline, 1 superscript, 2 subscript
    std::optional<int> size;            // in half-points
    std::optional<int> position;        // raised (positive) or lowered from the baseline, in half-points
    std::optional<QString> font;        // the font of ASCII text

    // Fills what this level leaves unset from `base` (a style's own values win over the
    // style it is based on).
    void inheritFrom(const RunProps& base);
};

struct ParaProps {
    std::optional<int> alignment;       // alignment::…
    std::optional<int> numId;
    std::optional<int> ilvl;
    std::optional<bool> pageBreakBefore;

    void inheritFrom(const ParaProps& base);
};

// Borders in the order top, left, bottom, right, insideH, insideV; set means a line shows.
struct Borders {
    std::array<std::optional<bool>, 6> edges;

    void inheritFrom(const Borders& base);
};

enum Edge { EdgeTop, EdgeLeft, EdgeBottom, EdgeRight, EdgeInsideH, EdgeInsideV };

RunProps readRunProps(xmlNode* rPr);
ParaProps readParaProps(xmlNode* pPr);
Borders readBorders(xmlNode* borders);
// w:jc values to alignment::…
int alignmentOf(const QString& jc);
int underlineOf(const QString& value);

} // namespace veldra::word::detail
