// Stopping a conversion at the user's cancel question.
#include "WordImportTestSupport.h"

using namespace veldra;
using namespace veldra::test;

namespace {

word::DocxWriter twoSections()
{
    word::DocxWriter w;
    w.addParagraph("Heading 1", "INDICATIONS AND USAGE");
    w.addParagraph("", "First.");
    w.addParagraph("Heading 1", "CONTRAINDICATIONS");
    w.addParagraph("", "Second.");
    return w;
}

} // namespace

class ConversionControlTest : public WordImportTest {};

TEST_F(ConversionControlTest, NoGoesOnAndYesStopsWithTheTitlesRemembered)
{
    const QString file = save(twoSections());
    clsWord word;
    word.DoEvents = [&] { word.Cancel = true; };
    ui.answers = {ui::Answer::No, ui::Answer::Yes};
    const std::optional<xml::Document> spl = convert(word, file);

    ASSERT_TRUE(spl) << "a cancelled conversion still returns what it has";
    EXPECT_TRUE(word.Cancel);
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages.at(0).text, "Are you sure you want to cancel Structured Product Labeling conversion?");
    // The question came during the index, on its second paragraph: the titles read so far
    // are remembered, the walk never starts.
    ASSERT_EQ(word.sectionHeaders().size(), 1u);
    EXPECT_EQ(word.sectionHeaders().front().Title, "INDICATIONS AND USAGE");
    EXPECT_FALSE(linesOf(logLines(), "Information").contains("Start Processing Label from Word"));
    EXPECT_FALSE(word.Document.isOpen());
}
