#include "platform/word/detail/Model.h"

#include <algorithm>

namespace veldra::word::detail {

int Model::paragraphAt(int position) const
{
    const auto it = std::upper_bound(paragraphs.begin(), paragraphs.end(), position,
                                     [](int p, const ParagraphRec& rec) { return p < rec.end; });
    return it == paragraphs.end() ? -1 : static_cast<int>(it - paragraphs.begin());
}

} // namespace veldra::word::detail
