#pragma once

#include "platform/xml/resources/XsltProcessor.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace veldra {

// The most work one preview page may take, counted as it is done: steps (nodes the
// stylesheet's lookups visit) and processor time (which also counts what the steps miss,
// such as the walks of xsl:number). Both are several times what the largest real labels
// need: a label of nearly three megabytes made of its own sections repeated with fresh IDs
// (lipitor nine times, viagra twelve times) takes 600 to 800 million steps and about a
// minute of processor time on a busy computer. The user can stop the work sooner.
struct PreviewWorkCap {
    std::uint64_t steps = 0;            // 0: no step limit
    std::uint64_t processorSeconds = 0;
};
inline constexpr PreviewWorkCap PreviewCap{6'000'000'000ull, 300};

// A page the stylesheet program made, or why there is none (the user stopped it, too much
// work, no program).
struct PreviewTransformRun {
    QString html;
    QString problem;
    bool stopped = false; // the user stopped it: the problem says so, and nothing is wrong
};

// Transforms the label (its bytes as Document::xmlBytes gives them) with the stylesheet at the
// local path `stylesheet`, in the stylesheet program (veldra-xslt, beside the executable), which
// caps its own steps, processor time and memory. Meanwhile a progress window keeps every
// window alive, and its Cancel (or Esc) ends the program at once.
PreviewTransformRun runPreviewTransform(const QString& stylesheet, const xml::XsltParameters& parameters,
                                        const QByteArray& label);

// Tests run another program in its place or set a smaller cap; an empty path restores both.
void setPreviewTransformForTesting(const QString& program, PreviewWorkCap cap);

} // namespace veldra
