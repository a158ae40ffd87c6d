#include "platform/word/Paragraph.h"

#include "platform/word/detail/Model.h"

namespace veldra::word {

Paragraph::Paragraph(std::shared_ptr<const detail::Model> model, int index) : model_(std::move(model)), index_(index)
{
}

QString Paragraph::style() const
{
    return model_ ? model_->paragraphs[static_cast<size_t>(index_)].style : QString();
}

Range Paragraph::range() const
{
    if (!model_)
        return Range();
    const auto& rec = model_->paragraphs[static_cast<size_t>(index_)];
    return Range(model_, rec.start, rec.end);
}

} // namespace veldra::word
