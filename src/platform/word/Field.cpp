#include "platform/word/Field.h"

#include "platform/word/detail/Model.h"

namespace veldra::word {

Field::Field(std::shared_ptr<const detail::Model> model, int index) : model_(std::move(model)), index_(index) {}

int Field::type() const
{
    return model_ ? model_->fields[static_cast<size_t>(index_)].type : field_type::Empty;
}

QString Field::code() const
{
    return model_ ? model_->fields[static_cast<size_t>(index_)].code : QString();
}

Range Field::result() const
{
    if (!model_)
        return Range();
    const auto& rec = model_->fields[static_cast<size_t>(index_)];
    return Range(model_, rec.resultStart, rec.resultEnd);
}

Note::Note(std::shared_ptr<const detail::Model> model, int index) : model_(std::move(model)), index_(index) {}

Range Note::reference() const
{
    if (!model_)
        return Range();
    const int position = model_->notes[static_cast<size_t>(index_)].position;
    return Range(model_, position, position + 1);
}

QString Note::text() const
{
    return model_ ? model_->notes[static_cast<size_t>(index_)].text : QString();
}

Hyperlink::Hyperlink(std::shared_ptr<const detail::Model> model, int index) : model_(std::move(model)), index_(index) {}

QString Hyperlink::address() const
{
    return model_ ? model_->hyperlinks[static_cast<size_t>(index_)].address : QString();
}

QString Hyperlink::subAddress() const
{
    return model_ ? model_->hyperlinks[static_cast<size_t>(index_)].subAddress : QString();
}

Range Hyperlink::range() const
{
    if (!model_)
        return Range();
    const auto& rec = model_->hyperlinks[static_cast<size_t>(index_)];
    return Range(model_, rec.start, rec.end);
}

Bookmark::Bookmark(std::shared_ptr<const detail::Model> model, int index) : model_(std::move(model)), index_(index) {}

QString Bookmark::name() const
{
    return model_ ? model_->bookmarks[static_cast<size_t>(index_)].name : QString();
}

Range Bookmark::range() const
{
    if (!model_)
        return Range();
    const auto& rec = model_->bookmarks[static_cast<size_t>(index_)];
    return Range(model_, rec.start, rec.end);
}

} // namespace veldra::word
