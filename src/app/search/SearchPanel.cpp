#include "app/search/SearchPanel.h"

#include "app/Hooks.h"
#include "app/log/Log.h"
#include "app/window/Twips.h"
#include "app/window/WindowHelpers.h"
#include "platform/core/Skip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veldra {

namespace {

constexpr int panelHeightTwips = 1095;
constexpr int enterKey = 13;

// Runs one lookup of the code-system library; a missing library or a failing
// lookup leaves the others running.
void runSearch(const std::function<void(const QString&)>& search, const QLineEdit* term)
{
    if (search)
        skip([&] { search(term->text()); });
}

} // namespace

SearchPanel::SearchPanel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PicContainer"));
    setFixedHeight(twips::toPixels(panelHeightTwips));
    // The designed sizes fit 8-point captions.
    QFont captions = font();
    captions.setPointSize(8);
    setFont(captions);
    createControls();
    connect(cmdSearchCodeSystem, &QPushButton::clicked, this, [this] { cmdSearchCodeSystem_Click(); });
    connect(cmdClearSearchResult, &QPushButton::clicked, this, [this] { cmdClearSearchResult_Click(); });
    connect(txtSearchCodeOrName, &QLineEdit::returnPressed, this, [this] { txtSearchCodeOrName_KeyPress(enterKey); });
}

void SearchPanel::createControls()
{
    auto place = [this](QWidget* control, const char* name, int left, int top, int width, int height) {
        control->setObjectName(QLatin1String(name));
        control->setGeometry(twips::toPixels(left, top, width, height));
    };
    Label1 = new QLabel(QStringLiteral("Search Code System by Code or Name"), this);
    place(Label1, "Label1", 120, 240, 3375, 255);
    txtSearchCodeOrName = new QLineEdit(this);
    place(txtSearchCodeOrName, "txtSearchCodeOrName", 120, 480, 3375, 285);
    chkCodeSystemWholeWord = new QCheckBox(QStringLiteral("Find whole Word/Code only"), this);
    place(chkCodeSystemWholeWord, "chkCodeSystemWholeWord", 120, 840, 3735, 195);
    Label2 = new QLabel(QStringLiteral("Select Code System"), this);
    place(Label2, "Label2", 3600, 240, 2775, 255);
    cboCodeSystem = new QComboBox(this);
    cboCodeSystem->setEditable(true);  // a text that is no entry searches all code systems
    cboCodeSystem->setInsertPolicy(QComboBox::NoInsert);
    place(cboCodeSystem, "cboCodeSystem", 3600, 480, 2895, 315);
    cmdSearchCodeSystem = new QPushButton(QStringLiteral("Search"), this);
    place(cmdSearchCodeSystem, "cmdSearchCodeSystem", 6600, 480, 1215, 285);
    cmdClearSearchResult = new QPushButton(QStringLiteral("Clear"), this);
    place(cmdClearSearchResult, "cmdClearSearchResult", 7920, 480, 735, 285);
    picLogo = new QLabel(this);
    place(picLogo, "picLogo", 9000, 200, 2550, 750);

    setTabOrder(txtSearchCodeOrName, chkCodeSystemWholeWord);
    setTabOrder(chkCodeSystemWholeWord, cboCodeSystem);
    setTabOrder(cboCodeSystem, cmdSearchCodeSystem);
    setTabOrder(cmdSearchCodeSystem, cmdClearSearchResult);
}

void SearchPanel::cmdSearchCodeSystem_Click()
{
    if (!saidLogIsSwitchedOff(QStringLiteral("The search results")))
        searchChosenCodeSystems();
    skip([this] { txtSearchCodeOrName->setFocus(); });
    skip([this] { SelectAllText(txtSearchCodeOrName); });
}

void SearchPanel::searchChosenCodeSystems()
{
    const Hooks& h = hooks();
    const QString codeSystem = cboCodeSystem->currentText();
    if (codeSystem == QLatin1String("LOINC")) {
        runSearch(h.SearchLOINCCodes, txtSearchCodeOrName);
    } else if (codeSystem == QLatin1String("NCI Thesaurus")) {
        runSearch(h.SearchNCIThesaurusCodes, txtSearchCodeOrName);
    } else if (codeSystem == QLatin1String("UNII Codes")) {
        runSearch(h.SearchUNIICodes, txtSearchCodeOrName);
    } else {
        runSearch(h.SearchLOINCCodes, txtSearchCodeOrName);
        runSearch(h.SearchNCIThesaurusCodes, txtSearchCodeOrName);
        runSearch(h.SearchUNIICodes, txtSearchCodeOrName);
    }
}

void SearchPanel::txtSearchCodeOrName_KeyPress(int keyAscii)
{
    if (keyAscii == enterKey)
        cmdSearchCodeSystem->click();
}

void SearchPanel::cmdClearSearchResult_Click()
{
    skip([] { ShowLogWindow(true); });
}

void FillCodeSystemCombo(QComboBox* combo)
{
    combo->clear();
    combo->addItems({QStringLiteral("All Code Systems"), QStringLiteral("LOINC"), QStringLiteral("NCI Thesaurus"),
                     QStringLiteral("UNII Codes")});
    combo->setCurrentText(QStringLiteral("All Code Systems"));
}

} // namespace veldra
