#include "generation/CheckingTestSupport.h"
#include "generation/KitLabel.h"

#include "editor/tree/TreeView.h"
#include "generation/reverse/ImportDataFromSPLFile.h"
#include "generation/reverse/frmUserSelection.h"
#include "platform/xml/resources/SchemaValidator.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/XmlDocument.h"

#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

const QString Kit = QStringLiteral("Product 12345-678 (Injection Kit)");
const QString Lidocaine = Kit + QStringLiteral(", part 1 (Lidocaine Hydrochloride)");
const QString Swab = Kit + QStringLiteral(", part 2 (Povidone-Iodine Swab)");
const QString SwabPart = QStringLiteral("//part[partProduct/name='Povidone-Iodine Swab']");
const QString LidocainePart = QStringLiteral("//part[partProduct/name='Lidocaine Hydrochloride']");

QString marketingAct(const QString& status, const QString& low)
{
    return QStringLiteral(R"(<subjectOf><marketingAct><code code="C53292" codeSystem="2.16.840.1.113883.3.26.1.1"/>
<statusCode code="%1"/><effectiveTime><low value="%2"/></effectiveTime></marketingAct></subjectOf>)")
        .arg(status, low);
}

// Something a real kit label may hold beyond what the settings have a place for, put into the
// kit label after the node at `after`. Importing the node captioned `caption` names it in the
// log, as `named` with the product, part and package; an empty `named` says that this import
// reads none of it and names nothing.
struct NotHeld {
    const char* what;
    QString after;
    QString fragment;
    QString caption;
    QString named;
};

const QList<NotHeld> Cases = {
    {"a third outer package of a part", SwabPart + QStringLiteral("/partProduct/asContent/containerPackagedProduct/asContent/containerPackagedProduct/asContent/containerPackagedProduct/formCode"),
     QStringLiteral(R"(<asContent><quantity><numerator value="4" unit="1"/><denominator value="1"/></quantity><containerPackagedProduct>
<formCode code="C43184" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="CASE"/></containerPackagedProduct></asContent>)"),
     QStringLiteral("Product"), Swab + QStringLiteral(", package 1: outer package 3 (CASE)")},
    {"a characteristic of a part", SwabPart + QStringLiteral("/subjectOf[marketingAct]"),
     QStringLiteral(R"(<subjectOf><characteristic><code code="SPLCOLOR" codeSystem="2.16.840.1.113883.1.11.19255"/>
<value xsi:type="CE" code="C48328" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="BROWN"/></characteristic></subjectOf>)"),
     QStringLiteral("Kit Part"), Swab + QStringLiteral(": characteristic SPLCOLOR")},
    {"a second marketing act of a part", LidocainePart + QStringLiteral("/subjectOf[marketingAct]"),
     marketingAct(QStringLiteral("completed"), QStringLiteral("19800101")), QStringLiteral("Product"),
     Lidocaine + QStringLiteral(": marketing act 2")},
    {"a marketing act of a part's package", SwabPart + QStringLiteral("/partProduct/asContent/containerPackagedProduct"),
     marketingAct(QStringLiteral("active"), QStringLiteral("20050601")), QStringLiteral("Kit Part"),
     Swab + QStringLiteral(", package 1: marketing act")},
    {"a second marketing act of the kit's outer package",
     QStringLiteral("//subject/manufacturedProduct/manufacturedProduct/asContent/containerPackagedProduct/asContent/subjectOf[marketingAct]"),
     marketingAct(QStringLiteral("active"), QStringLiteral("20230101")), QStringLiteral("Package"),
     Kit + QStringLiteral(", package 1, outer package 1: marketing act 2")},
    {"a second approval of the kit", QStringLiteral("//subject/manufacturedProduct/subjectOf[approval]"),
     QStringLiteral(R"(<subjectOf><approval><id extension="ANDA088301" root="2.16.840.1.113883.3.150"/>
<code code="C73584" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="ANDA"/><author><territorialAuthority><territory>
<code code="USA" codeSystem="2.16.840.1.113883.5.28"/></territory></territorialAuthority></author></approval></subjectOf>)"),
     QStringLiteral("Product"), Kit + QStringLiteral(": approval 2")},
    {"the kit's approval, read by a part's import", QStringLiteral("//subject/manufacturedProduct/subjectOf[approval]"),
     QStringLiteral(R"(<subjectOf><approval><id extension="ANDA088301" root="2.16.840.1.113883.3.150"/>
<code code="C73584" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="ANDA"/></approval></subjectOf>)"),
     QStringLiteral("Kit Part"), QString()}};

class ProductDataNotHeldTest : public test::CheckingTest {
protected:
    ProductDataNotHeldTest()
    {
        program.useShippedDefinitions();
        setUserSelectionAnswerForTesting([](frmUserSelection& form) {
            form.cboUserSelection->setCurrentText(QStringLiteral("12345-678"));
            form.cmdOK->click();
        });
    }
    ~ProductDataNotHeldTest() override { setUserSelectionAnswerForTesting({}); }

    // The kit label with `fragment` (SPL markup) after the node at `after`, as a file.
    QString kitLabelWith(const QString& after, const QString& fragment)
    {
        const xml::Document label = test::documentFrom(test::kitLabel());
        const xml::Document addition = test::documentFrom(
            QStringLiteral(R"(<x xmlns="urn:hl7-org:v3" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">)") + fragment
            + QStringLiteral("</x>"));
        const xml::Node anchor = label.selectSingleNode(after);
        if (anchor.isNull())
            return QString();
        anchor.parentNode().insertBefore(addition.documentElement().firstChild(), anchor.nextSibling());
        const QString file = dir.file(QStringLiteral("kit-label.xml"));
        test::writeTextFile(file, label.xml());
        return file;
    }

    // The log's lines of one import that name something left out.
    static QStringList notImported()
    {
        QStringList lines;
        for (const QString& line : logText().split(QLatin1Char('\n')))
            if (line.contains(QStringLiteral(" is not imported")))
                lines << line;
        return lines;
    }
};

TEST_F(ProductDataNotHeldTest, WhatTheSettingsCannotHoldIsNamedWithItsProductPartAndPackage)
{
    for (const NotHeld& notHeld : Cases) {
        SCOPED_TRACE(notHeld.what);
        closeLog();
        const QString file = kitLabelWith(notHeld.after, notHeld.fragment);
        ASSERT_FALSE(file.isEmpty()) << "no node at " << notHeld.after.toStdString();
        const xml::SchemaCheck check = xml::SchemaValidator().validateFile(file);
        ASSERT_TRUE(check.isValid()) << check.reason.toStdString() << " line " << check.line;

        frmXMLEditor* editor = openEditor(test::readTextFile(program.file(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"))));
        ASSERT_NE(select(editor, notHeld.caption), nullptr);
        ui.openFiles.push_back(file);
        ImportDataFromSPLFile(editor, editor->TreeView);

        ASSERT_TRUE(logText().contains(QStringLiteral("Import from SPL File completed"))) << logText().toStdString();
        if (notHeld.named.isEmpty()) {
            EXPECT_EQ(notImported(), QStringList());
            continue;
        }
        EXPECT_EQ(notImported().size(), 1) << notImported().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(logHas(QStringLiteral("Warning"),
                           notHeld.named + QStringLiteral(" is not imported; the settings document has no place for it")))
            << logText().toStdString();
    }
}

} // namespace
