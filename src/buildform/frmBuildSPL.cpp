#include "buildform/frmBuildSPL.h"

#include "buildform/EntryDialog.h"
#include "buildform/HeaderBand.h"
#include "buildform/RowList.h"
#include "buildform/SelectAllOnFocus.h"
#include "platform/core/VbError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace veldra::buildform {

namespace {

const QString caption = QStringLiteral("SPL Settings and Structured Data Setup");

QPushButton* smallButton(QWidget* parent, const QString& name, const QString& tip, QStyle::StandardPixmap icon)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setFixedSize(25, 25);
    return button;
}

} // namespace

frmBuildSPL::frmBuildSPL(QWidget* parent) : QWidget(parent)
{
    setObjectName(formName);
    setWindowTitle(caption);
    selectAll_ = new SelectAllOnFocus(this);
    createControls();
    for (const ControlEntry& entry : controlOrder()) {
        if (!controls_.contains(entry.name) && !lists_.contains(entry.name))
            throw VbError(err::General, formName, QStringLiteral("No control %1").arg(entry.name));
        registered_.push_back(entry);
    }
    connectButtons();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { cmdCancel_Click(); });
    setFixedSize(sizeHint().expandedTo(QSize(695, 542)));
}

frmBuildSPL::~frmBuildSPL()
{
    for (const auto& rows : std::as_const(lists_))
        closeEntryDialogsOn(*rows);
}

void frmBuildSPL::createControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeHeaderBand(this, caption, lblInfo, picLogo));

    TabStrip = new QTabBar(this);
    TabStrip->setObjectName(QStringLiteral("TabStrip"));
    layout->addWidget(TabStrip);
    auto* pagesArea = new QWidget(this);
    auto* pagesLayout = new QVBoxLayout(pagesArea);
    pagesLayout->setContentsMargins(0, 0, 0, 0);
    QSize fullest;
    for (int page = 1; page <= static_cast<int>(pages().size()); ++page) {
        TabStrip->addTab(pages()[page - 1].tabCaption);
        QWidget* frame = createPage(page);
        pagesLayout->addWidget(frame);
        fullest = fullest.expandedTo(frame->sizeHint());
    }
    // The window has a fixed size, large enough for its fullest page.
    pagesArea->setMinimumSize(fullest);
    layout->addWidget(pagesArea, 1);
    layout->addWidget(createBottomRow());
    TabStrip_Click(1);
}

QWidget* frmBuildSPL::createPage(int page)
{
    const PageSpec& spec = pages()[page - 1];
    auto* frame = new QGroupBox(spec.frameCaption, this);
    frame->setObjectName(spec.frame);
    frames_.insert(spec.frame, frame);
    auto* layout = new QGridLayout(frame);
    int slot = 0;
    for (const GroupSpec& group : groups()) {
        if (group.page != page)
            continue;
        // Page 3's rows stand on the page frame itself.
        if (group.frame == spec.frame) {
            auto* rows = createGroup(group.frame, frame);
            layout->addWidget(rows, slot / 2, slot % 2, 1, 2);
            slot += 2;
        } else {
            auto* box = new QGroupBox(group.caption, frame);
            box->setObjectName(group.frame);
            frames_.insert(group.frame, box);
            auto* inner = new QVBoxLayout(box);
            inner->addWidget(createGroup(group.frame, box));
            const bool wide = page == 7 || group.frame == QLatin1String("frameProductData")
                || group.frame == QLatin1String("FrameInitialApproval");
            if (wide && slot % 2)
                ++slot;
            layout->addWidget(box, slot / 2, slot % 2, 1, wide ? 2 : 1);
            slot += wide ? 2 : 1;
        }
    }
    if (page == 2)
        layout->addWidget(createProductLists(frame), (slot + 1) / 2, 0, 1, 2);
    for (const ListSpec& list : lists()) {
        if (list.page == page && page != 2) {
            layout->addWidget(createListGroup(list, frame), (slot + 1) / 2, 0, 1, 2);
            slot += 2;
        }
    }
    layout->setRowStretch(layout->rowCount(), 1);
    return frame;
}

QWidget* frmBuildSPL::createGroup(const QString& group, QWidget* parent)
{
    auto* area = new QWidget(parent);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = -1;
    int column = 0;
    for (const FieldSpec& field : fields()) {
        if (field.group != group)
            continue;
        if (field.row != row) {
            row = field.row;
            column = 0;
        }
        if (!field.label.isEmpty() && field.kind != ControlKind::CheckBox)
            grid->addWidget(new QLabel(field.label, area), row * 2, column);
        grid->addWidget(createField(field, area), row * 2 + 1, column++);
        if (!field.button.isEmpty()) {
            auto* button = new QPushButton(field.buttonCaption, area);
            button->setObjectName(field.button);
            if (field.buttonCaption == QLatin1String("?")) {
                button->setToolTip(QStringLiteral("Search Code System"));
                button->setFixedWidth(28);
            } else if (field.buttonCaption == QLatin1String("...")) {
                QFont bold = button->font();
                bold.setBold(true);
                button->setFont(bold);
                button->setFixedWidth(32);
            }
            buttons_.insert(field.button, button);
            grid->addWidget(button, row * 2 + 1, column++);
        }
        if (field.name == QLatin1String("chkSPLOutputBoxedWarning")) {
            for (const auto& [name, text] : {std::pair{"cmdOpenWord", "Open Word Document"},
                                             std::pair{"cmdOpenSPL", "Open SPL File"}}) {
                auto* button = new QPushButton(QString::fromLatin1(text), area);
                button->setObjectName(QString::fromLatin1(name));
                buttons_.insert(button->objectName(), button);
                grid->addWidget(button, row * 2 + 1, column++);
            }
        }
    }
    return area;
}

QWidget* frmBuildSPL::createField(const FieldSpec& field, QWidget* parent)
{
    QWidget* widget = nullptr;
    switch (field.kind) {
    case ControlKind::TextBox: {
        auto* box = new QLineEdit(field.designText, parent);
        selectAll_->watch(box);
        widget = box;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(field.items);
        combo->setCurrentIndex(-1);
        widget = combo;
        break;
    }
    case ControlKind::CheckBox:
        widget = new QCheckBox(field.label, parent);
        break;
    case ControlKind::ListView:
        break;
    }
    widget->setObjectName(field.name);
    controls_.insert(field.name, widget);
    return widget;
}

QWidget* frmBuildSPL::createListGroup(const ListSpec& spec, QWidget* parent)
{
    auto* box = new QGroupBox(spec.groupCaption, parent);
    box->setObjectName(spec.group);
    frames_.insert(spec.group, box);
    auto* layout = new QVBoxLayout(box);
    auto* view = new QTreeWidget(box);
    view->setObjectName(spec.name);
    view->installEventFilter(this);
    auto rows = std::make_shared<RowList>(view);
    rows->setUp(spec.headers);
    lists_.insert(spec.name, rows);
    layout->addWidget(view);
    connect(view, &QTreeWidget::itemDoubleClicked, this, [this, name = spec.name] { editRow(name); });

    auto* buttons = new QHBoxLayout;
    const std::pair<QString, std::pair<QString, QStyle::StandardPixmap>> table[] = {
        {spec.addButton, {spec.addTip, QStyle::SP_FileDialogNewFolder}},
        {spec.upButton, {QStringLiteral("Move Up"), QStyle::SP_ArrowUp}},
        {spec.downButton, {QStringLiteral("Move Down"), QStyle::SP_ArrowDown}},
        {spec.removeButton, {spec.removeTip, QStyle::SP_DialogDiscardButton}},
        {spec.resetButton, {spec.resetTip, QStyle::SP_DialogResetButton}},
    };
    for (const auto& [name, look] : table) {
        if (name == spec.removeButton)
            buttons->addStretch();
        QPushButton* button = smallButton(box, name, look.first, look.second);
        buttons_.insert(name, button);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    return box;
}

QWidget* frmBuildSPL::createProductLists(QWidget* parent)
{
    auto* area = new QWidget(parent);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    TabStripProduct = new QTabBar(area);
    TabStripProduct->setObjectName(QStringLiteral("TabStripProduct"));
    TabStripProduct->addTab(QStringLiteral("Ingredients"));
    TabStripProduct->addTab(QStringLiteral("Packaging"));
    layout->addWidget(TabStripProduct);
    for (const ListSpec& list : lists())
        if (list.page == 2)
            layout->addWidget(createListGroup(list, area));
    TabStripProduct_Click(1);
    return area;
}

QWidget* frmBuildSPL::createBottomRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->addWidget(createField(fields().back(), row));
    layout->addStretch();
    cmdOK = new QPushButton(QStringLiteral("&Build"), row);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("&Close"), row);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(113);
        layout->addWidget(button);
    }
    return row;
}

QLineEdit* frmBuildSPL::textBox(const QString& name) const
{
    return qobject_cast<QLineEdit*>(controls_.value(name));
}

QComboBox* frmBuildSPL::comboBox(const QString& name) const
{
    return qobject_cast<QComboBox*>(controls_.value(name));
}

QCheckBox* frmBuildSPL::checkBox(const QString& name) const
{
    return qobject_cast<QCheckBox*>(controls_.value(name));
}

RowList& frmBuildSPL::list(const QString& name) const
{
    const auto found = lists_.find(name);
    if (found == lists_.end())
        throw VbError(err::General, formName, QStringLiteral("No list %1").arg(name));
    return **found;
}

QGroupBox* frmBuildSPL::frame(const QString& name) const
{
    return frames_.value(name);
}

QPushButton* frmBuildSPL::button(const QString& name) const
{
    return buttons_.value(name);
}

frmBuildSPL* buildForm()
{
    static QPointer<frmBuildSPL> form;
    if (!form)
        form = new frmBuildSPL;
    return form;
}

} // namespace veldra::buildform
