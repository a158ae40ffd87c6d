#include "platform/word/Range.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/Model.h"

namespace veldra::word {

ListFormat::ListFormat(std::shared_ptr<const detail::Model> model, int paragraph)
    : model_(std::move(model)), paragraph_(paragraph)
{
}

QString ListFormat::listString() const
{
    return model_ && paragraph_ >= 0 ? model_->paragraphs[static_cast<size_t>(paragraph_)].listString : QString();
}

int ListFormat::listType() const
{
    return model_ && paragraph_ >= 0 ? model_->paragraphs[static_cast<size_t>(paragraph_)].listType : list_type::None;
}

int ListFormat::listLevelNumber() const
{
    return model_ && paragraph_ >= 0 ? model_->paragraphs[static_cast<size_t>(paragraph_)].listLevel : 0;
}

int ListFormat::numberingId() const
{
    return model_ && paragraph_ >= 0 ? model_->paragraphs[static_cast<size_t>(paragraph_)].list : 0;
}

ParagraphFormat::ParagraphFormat(std::shared_ptr<const detail::Model> model, int start, int end)
    : model_(std::move(model)), start_(start), end_(end)
{
}

int ParagraphFormat::alignment() const
{
    if (!model_)
        return alignment::Left;
    int value = -1;
    const int last = std::max(start_, end_ - 1);
    for (int index = model_->paragraphAt(start_); index >= 0 && index < static_cast<int>(model_->paragraphs.size());
         ++index) {
        const auto& rec = model_->paragraphs[static_cast<size_t>(index)];
        if (rec.start > last)
            break;
        if (value >= 0 && rec.alignment != value)
            return Mixed;
        value = rec.alignment;
    }
    return value < 0 ? alignment::Left : value;
}

int ParagraphFormat::leftIndent() const
{
    const int index = model_ ? model_->paragraphAt(start_) : -1;
    return index >= 0 && index < static_cast<int>(model_->paragraphs.size())
               ? model_->paragraphs[static_cast<size_t>(index)].leftIndent
               : 0;
}

} // namespace veldra::word
