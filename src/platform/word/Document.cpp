#include "platform/word/Document.h"

#include "platform/core/RegularFile.h"
#include "platform/word/detail/Loader.h"
#include "platform/word/detail/Model.h"
#include "platform/word/detail/Package.h"

#include <QFileInfo>

#include <new>

namespace veldra::word {

Document::Document() = default;
Document::~Document() = default;

bool Document::open(const QString& path)
{
    close();
    const FileContent file = readRegularFile(path, detail::MaxPackageBytes);
    if (!file.ok()) {
        error_ = {QString(), file.problem};
        return false;
    }
    return openBytes(file.bytes, QFileInfo(path).absolutePath());
}

bool Document::openBytes(const QByteArray& bytes, const QString& baseFolder)
{
    close();
    if (bytes.size() > detail::MaxPackageBytes) {
        error_ = {QString(), QStringLiteral("The file is larger than %1 MB.").arg(detail::MaxPackageBytes / (1024 * 1024))};
        return false;
    }
    // The reader's limits stop what real and hostile files alike can build; what still does
    // not fit into memory is a file too large to read, never a failure of the caller.
    try {
        model_ = detail::loadModel(bytes, baseFolder, error_);
    } catch (const std::bad_alloc&) {
        model_.reset();
        error_ = {QString(), QStringLiteral("The document is too large to read in the memory available.")};
    }
    return model_ != nullptr;
}

void Document::close()
{
    model_.reset();
    error_ = {};
}

QString Document::compatibilityMode() const
{
    return model_ ? model_->compatibilityMode : QString();
}

Collection<Paragraph> Document::paragraphs() const
{
    std::vector<Paragraph> items;
    if (model_) {
        items.reserve(model_->paragraphs.size());
        for (size_t index = 0; index < model_->paragraphs.size(); ++index)
            items.emplace_back(model_, static_cast<int>(index));
    }
    return Collection<Paragraph>(std::move(items));
}

Range Document::content() const
{
    return model_ ? Range(model_, 0, static_cast<int>(model_->text.size())) : Range();
}

Range Document::range(int start, int end) const
{
    return model_ ? Range(model_, start, end) : Range();
}

Collection<Table> Document::tables() const
{
    std::vector<Table> items;
    if (model_)
        for (int index : model_->topTables)
            items.emplace_back(model_, index);
    return Collection<Table>(std::move(items));
}

Collection<InlineShape> Document::inlineShapes() const
{
    return content().inlineShapes();
}

int Document::pageCount() const
{
    if (!model_)
        return 0;
    // The stored count is the last save's; a document whose breaks give more pages
    // (its writer never laid it out) gets the estimate, so no page lies beyond the count.
    const int estimated = content().pageNumber() - model_->firstPageNumber + 1;
    return std::max(model_->storedPageCount, estimated);
}

QStringList Document::crossReferenceItems() const
{
    QStringList items;
    if (!model_)
        return items;
    for (const auto& rec : model_->paragraphs) {
        if (rec.listType == list_type::None || rec.listType == list_type::Bullet
            || rec.listType == list_type::PictureBullet)
            continue;
        QString text;
        for (int position = rec.start; position < rec.end; ++position) {
            const char32_t c = model_->text[static_cast<size_t>(position)];
            if (c >= 32)
                text += QString::fromUcs4(&c, 1);
        }
        items.append(rec.listString + QLatin1Char(' ') + text.trimmed());
    }
    return items;
}

QStringList Document::warnings() const
{
    return model_ ? model_->warnings : QStringList();
}

} // namespace veldra::word
