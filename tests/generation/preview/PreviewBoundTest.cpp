// The stylesheet looks each footnote, link and picture up across the whole label: a label of
// thousands of them is refused before the transform, which would keep the program busy for
// minutes, and a label at the bound is rendered.
#include "generation/CheckingTestSupport.h"
#include "generation/SettingsFromSPL.h"

#include "generation/ProgramWindows.h"
#include "generation/preview/PreviewBound.h"
#include "generation/preview/PreviewSPLFile.h"
#include "generation/preview/PreviewSPLR4Document.h"
#include "generation/preview/frmPreview.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

using namespace veldra;

namespace {

// The cough label (354 elements, a link, a picture and 19 sections) with `count` more of one kind in its
// first text, each one element.
QString coughLabelWith(const char* snippet, int count)
{
    QString text = test::readTextFile(test::fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml")));
    const qsizetype at = text.indexOf(QStringLiteral("<text>")) + 6;
    text.insert(at, QStringLiteral("<paragraph>%1</paragraph>").arg(QString::fromLatin1(snippet).repeated(count)));
    return text;
}

// Each kind at the most the bound lets the cough label hold.
const struct {
    const char* kind;
    const char* snippet;
    int atBound;
    const char* counts; // as the refusal names them, one past the bound
} Kinds[] = {
    {"footnotes", "<footnote>x</footnote>", 4821, "4,822 footnotes, 1 links, 1 pictures and 19 sections among 5,177 elements"},
    {"footnote references", "<footnoteRef IDREF=\"f\"/>", 4821, "4,822 footnotes, 1 links, 1 pictures and 19 sections among 5,177 elements"},
    {"links", "<linkHtml href=\"#x\">y</linkHtml>", 3696, "0 footnotes, 3,698 links, 1 pictures and 19 sections among 4,052 elements"},
    {"pictures", "<renderMultiMedia referencedObject=\"MM1\"/>", 5942, "0 footnotes, 1 links, 5,944 pictures and 19 sections among 6,298 elements"},
    {"sections", "<section/>", 8471, "0 footnotes, 1 links, 1 pictures and 8,491 sections among 8,827 elements"},
};

xml::Document parsed(const QString& text)
{
    xml::Document spl;
    EXPECT_TRUE(spl.loadXml(text));
    return spl;
}

TEST(PreviewBoundTest, EachKindIsRenderedAtTheBoundAndRefusedOnePast)
{
    for (const auto& row : Kinds) {
        SCOPED_TRACE(row.kind);
        EXPECT_EQ(previewRefusal(parsed(coughLabelWith(row.snippet, row.atBound))), QString());
        const QString refusal = previewRefusal(parsed(coughLabelWith(row.snippet, row.atBound + 1)));
        EXPECT_TRUE(refusal.contains(QLatin1String(row.counts))) << refusal.toStdString();
    }
}

// Costs add: footnotes and links each well within the bound are past it together.
TEST(PreviewBoundTest, AMixOfKindsCountsTogether)
{
    QString text = coughLabelWith("<footnote>x</footnote>", 2800);
    text.insert(text.indexOf(QStringLiteral("<paragraph>")), QStringLiteral("<paragraph>%1</paragraph>")
                                                                  .arg(QStringLiteral("<linkHtml href=\"#x\">y</linkHtml>").repeated(2000)));
    EXPECT_FALSE(previewRefusal(parsed(text)).isEmpty());
}

class PreviewBoundRefusalTest : public test::CheckingTest {};

TEST_F(PreviewBoundRefusalTest, APreviewPastTheBoundIsRefusedWithItsCountsAndNoWindow)
{
    for (const auto& row : Kinds) {
        SCOPED_TRACE(row.kind);
        ui.messages.clear();
        ui.openFiles.push_back(writeFile(QStringLiteral("label.xml"), coughLabelWith(row.snippet, row.atBound + 1)));

        PreviewSPLFile();

        ASSERT_EQ(ui.messages.size(), 1);
        const QString text = ui.messages[0].text;
        EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
        for (const QString& part : {QString::fromLatin1(row.counts), QStringLiteral("more than the 75,000,000 a preview may take"),
                                    QStringLiteral("split the label into smaller documents")})
            EXPECT_TRUE(text.contains(part)) << text.toStdString();
        for (QWidget* window : programWindows())
            EXPECT_EQ(qobject_cast<frmPreview*>(window), nullptr);
    }
}

// The quick preview after a build or a Word import renders through the same page build.
TEST_F(PreviewBoundRefusalTest, TheQuickPreviewIsRefusedTheSameWay)
{
    program.useShippedDefinitions();
    const QString label = writeFile(QStringLiteral("label.xml"), coughLabelWith("<footnote>x</footnote>", 6000));
    frmXMLEditor* editor = openEditor(test::settingsFromSPL(label).xml(), QStringLiteral("Label.xml"));

    PreviewSPLR4Document(editor);

    EXPECT_TRUE(logText().contains(QStringLiteral("PreviewSPLQuick  - ")));
    EXPECT_TRUE(logText().contains(QStringLiteral("6,000 footnotes"))) << logText().toStdString();
    for (QWidget* window : programWindows())
        EXPECT_EQ(qobject_cast<frmPreview*>(window), nullptr);
}

} // namespace
