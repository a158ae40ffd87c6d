#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <libxml/xpath.h>

#include <memory>

namespace veldra::xml::detail {

// A compiled query and the texts its variables stand for (TranslatedQuery), bound anew for
// each evaluation: the compiled query holds no value, so it serves every evaluation alike.
struct CompiledQuery {
    std::shared_ptr<xmlXPathCompExpr> expression;
    QStringList texts;

    explicit operator bool() const { return bool(expression); }
};

// Programs ask the same few queries over and over (a build asks thousands of times for
// "Source" and "Target"), so compiled queries are kept, by the text of their query. What a
// compiled query holds grows with the length of its text, so the cache is bounded by the
// characters it keeps, not only by their number: a query longer than a few KB (a union of
// thousands of terms, a value of a file made into a literal) is compiled afresh each time,
// and memory stays flat however many distinct queries are asked. The texts bound to a kept
// query's variables are written in its key, so they hold no more than the key's characters.
class CompiledQueryCache {
public:
    static constexpr qsizetype longestKept = 4 * 1024;
    static constexpr qsizetype charactersKept = 256 * 1024;
    static constexpr qsizetype queriesKept = 2048;

    // The cache of the calling thread: a compiled query is used by one thread at a time.
    static CompiledQueryCache& ofThisThread();

    CompiledQuery find(const QString& key) const { return queries_.value(key); }
    // Keeps the query unless its key is too long; a cache that would pass a bound is emptied first.
    void keep(const QString& key, const CompiledQuery& query);

    qsizetype count() const { return queries_.size(); }
    qsizetype characters() const { return characters_; }

private:
    QHash<QString, CompiledQuery> queries_;
    qsizetype characters_ = 0;
};

} // namespace veldra::xml::detail
