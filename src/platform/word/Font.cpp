#include "platform/word/Range.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/Model.h"

namespace veldra::word {

Font::Font(std::shared_ptr<const detail::Model> model, int start, int end)
    : model_(std::move(model)), start_(start), end_(end)
{
}

template <typename Get>
int Font::uniform(Get get) const
{
    if (!model_ || start_ >= end_)
        return 0;
    const auto& formats = model_->formats;
    const auto& attributes = model_->attributes;
    uint16_t last = attributes[static_cast<size_t>(start_)].format;
    const int value = get(formats[last]);
    for (int position = start_ + 1; position < end_; ++position) {
        const uint16_t format = attributes[static_cast<size_t>(position)].format;
        if (format != last) {
            if (get(formats[format]) != value)
                return Mixed;
            last = format;
        }
    }
    return value;
}

int Font::bold() const
{
    return uniform([](const detail::CharFormat& f) { return f.bold ? True : False; });
}

int Font::italic() const
{
    return uniform([](const detail::CharFormat& f) { return f.italic ? True : False; });
}

int Font::underline() const
{
    return uniform([](const detail::CharFormat& f) { return f.underline; });
}

int Font::subscript() const
{
    return uniform([](const detail::CharFormat& f) { return f.subscript ? True : False; });
}

int Font::superscript() const
{
    return uniform([](const detail::CharFormat& f) { return f.superscript ? True : False; });
}

int Font::underlineFromCharacterStyle() const
{
    return uniform([](const detail::CharFormat& f) { return f.underlineFromCharacterStyle ? True : False; });
}

} // namespace veldra::word
