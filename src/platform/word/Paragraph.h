#pragma once

#include "platform/word/Range.h"

namespace veldra::word {

// One paragraph of the main story (table cells included). Null when default-constructed.
class Paragraph {
public:
    Paragraph() = default;
    Paragraph(std::shared_ptr<const detail::Model> model, int index);

    bool isNull() const { return !model_; }
    // The style's name as the user sees it ("Heading 1" for the stored "heading 1").
    QString style() const;
    // The paragraph with its mark.
    Range range() const;
    // 1-based position in the document's paragraphs.
    int index() const { return index_ + 1; }

private:
    std::shared_ptr<const detail::Model> model_;
    int index_ = -1;
};

} // namespace veldra::word
