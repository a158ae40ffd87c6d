#include "platform/core/VbError.h"
#include "platform/xml/query/CompiledQueryCache.h"
#include "support/XmlDocument.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace veldra;
using veldra::xml::detail::CompiledQueryCache;

namespace {

// A distinct query of `length` characters or a few more: a union of a few name tests and a
// comparison with a long text, as a value of a file made into a literal gives.
QString longQuery(int number, qsizetype length)
{
    QString query = QStringLiteral("//q%1 | //r%1 | //s[@v='']").arg(number);
    query.insert(query.size() - 2, QString(std::max<qsizetype>(0, length - query.size()), QLatin1Char('x')));
    return query;
}

void expectWithinBounds(const CompiledQueryCache& cache)
{
    EXPECT_LE(cache.characters(), CompiledQueryCache::charactersKept);
    EXPECT_LE(cache.count(), CompiledQueryCache::queriesKept);
}

} // namespace

// However many distinct queries are asked, of whatever length, what the cache keeps stays
// under its bounds; short queries asked again are kept.
TEST(CompiledQueryCacheTest, ManyDistinctQueriesKeepTheCacheWithinItsBounds)
{
    const xml::Document doc = test::documentFrom(QStringLiteral("<r><q0/></r>"));
    const CompiledQueryCache& cache = CompiledQueryCache::ofThisThread();
    const struct {
        qsizetype length;
        int queries;
    } rows[] = {
        {20, 3 * int(CompiledQueryCache::queriesKept)},
        {CompiledQueryCache::longestKept - 40, 200},
        {CompiledQueryCache::longestKept + 1, 40},
        {72 * 1024, 20},
    };
    int number = 0;
    for (const auto& row : rows) {
        for (int i = 0; i < row.queries; ++i)
            doc.selectNodes(longQuery(++number, row.length));
        expectWithinBounds(cache);
    }
    const qsizetype before = cache.characters();
    doc.selectNodes(longQuery(++number, 72 * 1024));
    EXPECT_EQ(cache.characters(), before) << "a long query is compiled afresh, not kept";
    const QString shortQuery = longQuery(++number, 20);
    doc.selectNodes(shortQuery);
    EXPECT_GT(cache.characters(), before) << "a short query is kept";
}

// A union of thousands of names compiles, and its evaluation then fails.
TEST(CompiledQueryCacheTest, AQueryWhoseEvaluationFailsIsNotKept)
{
    const xml::Document doc = test::documentFrom(QStringLiteral("<r/>"));
    const CompiledQueryCache& cache = CompiledQueryCache::ofThisThread();
    for (int i = 0; i < 20; ++i) {
        const qsizetype before = cache.characters();
        const qsizetype count = cache.count();
        const QString query = QStringList(QList<QString>(6000, QStringLiteral("f%1").arg(i))).join(QStringLiteral(" | "));
        EXPECT_THROW(doc.selectNodes(query), VbError);
        EXPECT_EQ(cache.characters(), before);
        EXPECT_EQ(cache.count(), count);
    }
}
