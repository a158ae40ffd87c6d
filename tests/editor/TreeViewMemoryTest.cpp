// Running out of memory while the editor builds a tree: each build runs in a child process
// under an address-space cap a little above what the process already holds, for a series of
// caps that crosses the whole cost of reading the file and building its tree.

#include "TreeViewFixture.h"

#include <QFile>
#include <QTextStream>

#include <csignal>
#include <functional>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace veldra;
using namespace veldra::test;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool UnderAddressSanitizer = true;
#else
constexpr bool UnderAddressSanitizer = false;
#endif

// What one build under a cap left in the window.
enum Outcome : int {
    WholeDocument = 0,  // the new tree, whole, and no message
    Refused = 1,        // one message, and the window as it was before or empty
    PartOfDocument = 2, // anything else: a tree that is not the document's
    Hung = 3,
};

constexpr int Products = 4000;
constexpr int ElementsPerProduct = 4;  // Product, ProductName, Ingredient, IngredientName
constexpr int TextsPerProduct = 2;
constexpr int AllElements = 2 + Products * ElementsPerProduct;

// A settings document whose elements carry no ids, so the open also writes one into each.
QString writeManyProducts(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QTextStream out(&file);
    out << "<SPLR4><Products>";
    for (int i = 0; i < Products; ++i)
        out << "<Product><ProductName>Product " << i
            << "</ProductName><Ingredient><IngredientName>ASPIRIN</IngredientName></Ingredient></Product>";
    out << "</Products></SPLR4>";
    return path;
}

// The address space the process has mapped, which is what RLIMIT_AS bounds.
rlim_t mappedBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return rlim_t(statm.readAll().split(' ').value(0).toULongLong()) * rlim_t(::sysconf(_SC_PAGESIZE));
}

struct Window {
    bool hasDocument = false;
    int nodes = 0;
    QString fileName;

    bool operator==(const Window&) const = default;
};

Window windowOf(const frmXMLEditor* editor)
{
    return {editor->XMLDoc != nullptr, editor->TreeView->nodeCount(), editor->XMLFileName};
}

// `act` in a child process whose address space may grow by `headroom` bytes: its outcome, or
// the signal that ended the child as a negative number.
int underCap(rlim_t headroom, const std::function<int()>& act)
{
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGALRM, [](int) { ::_exit(Hung); });
        ::alarm(60);
        const rlim_t cap = mappedBytes() + headroom;
        const rlimit limit{cap, cap};
        ::_exit(::setrlimit(RLIMIT_AS, &limit) == 0 ? act() : PartOfDocument);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return PartOfDocument;
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

struct Build {
    const char* name;
    const char* mode;
    bool refresh;         // rebuild the tree of the open document instead of opening the file
    int expectedNodes;    // of the whole tree
    bool keepsDocument;   // the window holds the document it shows
};

void PrintTo(const Build& build, std::ostream* out)
{
    *out << build.name;
}

class TreeViewMemoryTest : public TreeViewFixture, public ::testing::WithParamInterface<Build> {
protected:
    // The build of `file` in `editor`, as the row says, judged by what it left.
    int buildOnce(frmXMLEditor* editor, const QString& file)
    {
        const Build& build = GetParam();
        const Window before = windowOf(editor);
        const qsizetype messagesBefore = ui.messages.size();
        if (build.refresh)
            editor->RefreshXML(true);
        else
            editor->XMLOnTreeView(editor->TreeView, file, QStringLiteral("Edit SPLR4"), false);
        const Window after = windowOf(editor);
        const qsizetype messages = ui.messages.size() - messagesBefore;
        const Window whole{build.keepsDocument, build.expectedNodes, file};
        if (after == whole && messages == 0)
            return WholeDocument;
        if (messages == 1 && (after == before || after == Window{false, 0, after.fileName}))
            return Refused;
        return PartOfDocument;
    }
};

} // namespace

TEST_P(TreeViewMemoryTest, ABuildThatRunsOutOfMemoryShowsTheWholeDocumentOrRefusesIt)
{
    if (UnderAddressSanitizer)
        GTEST_SKIP() << "AddressSanitizer reserves the address space a cap would bound";
    const Build& build = GetParam();
    const QString file = writeManyProducts(dir.file(QStringLiteral("Products.xml")));
    ASSERT_FALSE(file.isEmpty());
    frmXMLEditor* editor = build.refresh ? openFile(file, QString::fromLatin1(build.mode))
                                         : openFile(writeFile("Former.xml", sampleSettings()), build.mode);
    ASSERT_GT(editor->TreeView->nodeCount(), 0);
    ::malloc_trim(0);

    constexpr rlim_t Step = 256 * 1024;
    constexpr rlim_t MaxHeadroom = 256u << 20;
    int refused = 0;
    int wholeInARow = 0;
    for (rlim_t headroom = Step; headroom <= MaxHeadroom && wholeInARow < 8; headroom += Step) {
        const int outcome = underCap(headroom, [&] { return buildOnce(editor, file); });
        refused += outcome == Refused;
        wholeInARow = outcome == WholeDocument ? wholeInARow + 1 : 0;
        if (outcome < 0)
            ADD_FAILURE() << "under " << headroom / 1024 << " KB of room the program ended with signal " << -outcome;
        else if (outcome == PartOfDocument || outcome == Hung)
            ADD_FAILURE() << "under " << headroom / 1024 << " KB of room the window was left with "
                          << (outcome == Hung ? "no answer" : "part of the document");
    }
    // The caps crossed the whole cost of the build: some too small for it, the last ones enough.
    EXPECT_GT(refused, 0);
    EXPECT_EQ(wholeInARow, 8);
}

INSTANTIATE_TEST_SUITE_P(
    Builds, TreeViewMemoryTest,
    ::testing::Values(Build{"OpenSettings", "SPLR4", false, AllElements, true},
                      Build{"OpenForReview", "View", false, AllElements + Products * TextsPerProduct, false},
                      Build{"Refresh", "SPLR4", true, AllElements, true}),
    [](const ::testing::TestParamInfo<Build>& info) { return std::string(info.param.name); });
