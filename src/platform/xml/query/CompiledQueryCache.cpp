#include "platform/xml/query/CompiledQueryCache.h"

namespace veldra::xml::detail {

CompiledQueryCache& CompiledQueryCache::ofThisThread()
{
    thread_local CompiledQueryCache cache;
    return cache;
}

void CompiledQueryCache::keep(const QString& key, const CompiledQuery& query)
{
    if (key.size() > longestKept || queries_.contains(key))
        return;
    if (queries_.size() >= queriesKept || characters_ + key.size() > charactersKept) {
        queries_.clear();
        characters_ = 0;
    }
    queries_.insert(key, query);
    characters_ += key.size();
}

} // namespace veldra::xml::detail
