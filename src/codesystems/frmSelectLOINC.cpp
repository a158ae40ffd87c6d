#include "codesystems/frmSelectLOINC.h"

#include "app/window/frmMain.h"
#include "codesystems/SearchPattern.h"
#include "codesystems/clsLOINC.h"
#include "platform/ui/Ui.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

namespace veldra {

namespace {

const QString caption = QStringLiteral("Select or Search LOINC Code");

QPointer<frmSelectLOINC>& openPicker()
{
    static QPointer<frmSelectLOINC> form;
    return form;
}

QPushButton* plainButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // No default button: Enter searches in the text box and does nothing elsewhere.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

frmSelectLOINC* frmSelectLOINC::load()
{
    if (!openPicker())
        openPicker() = new frmSelectLOINC(mainForm());
    return openPicker();
}

frmSelectLOINC* frmSelectLOINC::instance()
{
    return openPicker();
}

void frmSelectLOINC::forgetLookup(const clsLOINC* lookup)
{
    if (openPicker() && openPicker()->lookup_ == lookup)
        openPicker()->lookup_ = nullptr;
}

frmSelectLOINC::frmSelectLOINC(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(caption);
    setModal(false);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    buildHeader();
    buildFrame();
    layout->addWidget(picHeader);
    layout->addWidget(Frame1, 1);
    buildButtons();
    resize(620, 480);
}

void frmSelectLOINC::buildHeader()
{
    picHeader = new QWidget(this);
    picHeader->setObjectName(QStringLiteral("picHeader"));
    picHeader->setAutoFillBackground(true);
    QPalette white = picHeader->palette();
    white.setColor(QPalette::Window, Qt::white);
    picHeader->setPalette(white);

    lblInfo = new QLabel(caption, picHeader);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    lblInfo->setFont(font);
    lblInfo->setStyleSheet(QStringLiteral("color: rgb(128, 128, 128);"));

    picLogo = new QLabel(picHeader);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setFixedSize(170, 50);
    picLogo->setScaledContents(true);

    auto* band = new QHBoxLayout(picHeader);
    band->addWidget(lblInfo);
    band->addStretch(1);
    band->addWidget(picLogo);
}

void frmSelectLOINC::buildFrame()
{
    Frame1 = new QGroupBox(caption, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    txtLOINCName = new QLineEdit(Frame1);
    txtLOINCName->setObjectName(QStringLiteral("txtLOINCName"));
    cmdSearchLoinc = plainButton(QStringLiteral("Search"), Frame1);
    cmdSearchLoinc->setObjectName(QStringLiteral("cmdSearchLoinc"));

    LOINCList = new QTreeWidget(Frame1);
    LOINCList->setObjectName(QStringLiteral("LOINCList"));
    LOINCList->setHeaderLabels({QStringLiteral("LOINC Code"), QStringLiteral("Name")});
    LOINCList->setRootIsDecorated(false);
    LOINCList->setSelectionMode(QAbstractItemView::SingleSelection);
    LOINCList->setColumnWidth(0, 110);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(txtLOINCName, 1);
    searchRow->addWidget(cmdSearchLoinc);
    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addLayout(searchRow);
    frameLayout->addWidget(LOINCList, 1);

    connect(cmdSearchLoinc, &QPushButton::clicked, this, [this] { cmdSearchLoinc_Click(); });
    connect(txtLOINCName, &QLineEdit::returnPressed, this, [this] { txtLOINCName_KeyPress(13); });
    connect(LOINCList, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { LOINCList_DblClick(item); });
}

void frmSelectLOINC::buildButtons()
{
    cmdOK = plainButton(QStringLiteral("&OK"), this);
    cmdUnclassified = plainButton(QStringLiteral("&Unclassified"), this);
    cmdAbort = plainButton(QStringLiteral("&Abort"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdUnclassified->setObjectName(QStringLiteral("cmdUnclassified"));
    cmdAbort->setObjectName(QStringLiteral("cmdAbort"));

    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 8, 0);
    row->addWidget(cmdOK);
    row->addStretch(1);
    row->addWidget(cmdUnclassified);
    row->addStretch(1);
    row->addWidget(cmdAbort);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdUnclassified, &QPushButton::clicked, this, [this] { cmdUnclassified_Click(); });
    connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbort_Click(); });
}

void frmSelectLOINC::setLookup(clsLOINC* lookup)
{
    lookup_ = lookup;
}

clsLOINC* frmSelectLOINC::lookup() const
{
    if (lookup_)
        return lookup_;
    const frmMain* main = mainForm();
    return main ? dynamic_cast<clsLOINC*>(main->TargetLOINC.get()) : nullptr;
}

void frmSelectLOINC::OK()
{
    if (clsLOINC* target = lookup()) {
        target->SelectStatus = QStringLiteral("LOINCSelectOK");
        const QList<QTreeWidgetItem*> selected = LOINCList->selectedItems();
        if (!selected.isEmpty()) {
            target->SelectedLOINCCode = selected.first()->text(0);
            target->SelectedLOINCName = selected.first()->text(1);
        }
    }
    unload();
}

void frmSelectLOINC::SearchLOINC()
{
    try {
        // Without a lookup to answer, a lookup of its own serves this one search.
        std::unique_ptr<clsLOINC> ownLookup;
        clsLOINC* searcher = lookup();
        if (!searcher) {
            ownLookup = std::make_unique<clsLOINC>();
            ownLookup->Initialize();
            searcher = ownLookup.get();
        }
        LOINCList->clear();
        searcher->RenderCodeAndName(codesystems::pickerSearchPattern(txtLOINCName->text()), LOINCList);
        if (LOINCList->topLevelItemCount() == 0)
            ui::msgBox(QStringLiteral("The requested LOINC code could not be found."), ui::Buttons::OK, ui::Icon::Warning);
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("SearchLOINC")));
    }
}

void frmSelectLOINC::cmdOK_Click()
{
    OK();
}

void frmSelectLOINC::LOINCList_DblClick(QTreeWidgetItem* item)
{
    if (item)
        LOINCList->setCurrentItem(item);
    OK();
}

void frmSelectLOINC::cmdSearchLoinc_Click()
{
    SearchLOINC();
}

void frmSelectLOINC::txtLOINCName_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        SearchLOINC();
}

void frmSelectLOINC::cmdUnclassified_Click()
{
    answer(QStringLiteral("LOINCSelectUnclassified"));
}

void frmSelectLOINC::cmdAbort_Click()
{
    if (confirmAbort())
        answer(QStringLiteral("LOINCSelectAbort"));
}

void frmSelectLOINC::reject()
{
    cmdUnclassified_Click();
}

void frmSelectLOINC::closeEvent(QCloseEvent* event)
{
    if (answered_ || confirmAbort()) {
        if (!answered_)
            answer(QStringLiteral("LOINCSelectAbort"));
        event->accept();
    } else {
        event->ignore();
    }
}

bool frmSelectLOINC::confirmAbort()
{
    return ui::msgBox(QStringLiteral("Are you sure you want to abort LOINC code loading?"), ui::Buttons::YesNo,
                      ui::Icon::Warning) == ui::Answer::Yes;
}

void frmSelectLOINC::answer(const QString& status)
{
    if (clsLOINC* target = lookup())
        target->SelectStatus = status;
    unload();
}

void frmSelectLOINC::unload()
{
    answered_ = true;
    hide();
    if (openPicker() == this)
        openPicker() = nullptr;
    emit answered();
    deleteLater();
}

} // namespace veldra
