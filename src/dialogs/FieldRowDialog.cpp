#include "dialogs/FieldRowDialog.h"

#include "app/window/Captions.h"
#include "app/window/Twips.h"
#include "app/window/WindowHelpers.h"
#include "dialogs/ChoiceEntries.h"
#include "dialogs/DefinitionAttribute.h"
#include "dialogs/FieldRowLayout.h"
#include "dialogs/MultiLineText.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/Skip.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace veldra {

namespace layout = field_layout;

namespace {

const char* const LinkItem = "LinkItem";
const char* const Index = "Index";

void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips::toPixels(left, top, width, height));
}

// A text box shows its selection only while it has the focus, so that the text that every
// box keeps selected does not light up in all of them at once.
void showSelection(QLineEdit* box, bool shown)
{
    if (shown) {
        box->setPalette(QPalette());
        return;
    }
    QPalette hidden = box->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        hidden.setColor(group, QPalette::Highlight, hidden.color(group, QPalette::Base));
        hidden.setColor(group, QPalette::HighlightedText, hidden.color(group, QPalette::Text));
    }
    box->setPalette(hidden);
}

bool isEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

FieldRowDialog::FieldRowDialog(const Design& design, QWidget* parent)
    : QDialog(parent),
      frameHeight_(layout::frameInitialHeight),
      windowHeight_(layout::clientInitialHeight + layout::nonClientHeight)
{
    setWindowTitle(design.caption);
    // The window keeps itself above the others whenever it is active, for its whole life.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);

    cmdOK = new QPushButton(design.okCaption, this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    place(cmdOK, 2160, 2160, 1695, layout::commandHeight);
    cmdCancel = new QPushButton(design.cancelCaption, this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    place(cmdCancel, 3960, 2160, 1695, layout::commandHeight);
    // Enter is the window's own key (Form_KeyPress), never a button's.
    for (QPushButton* button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    buildHeader(design);
    buildFrame(design);
    setTabOrder(cmdOK, cmdCancel);
    setFixedSize(twips::toPixels(layout::clientWidth), twips::toPixels(layout::clientInitialHeight));
}

void FieldRowDialog::buildHeader(const Design& design)
{
    picHeader = new QWidget(this);
    picHeader->setObjectName(QStringLiteral("picHeader"));
    place(picHeader, 0, 0, 5775, 1095);
    picHeader->setAutoFillBackground(true);
    QPalette white = picHeader->palette();
    white.setColor(QPalette::Window, Qt::white);
    picHeader->setPalette(white);

    picLogo = new QLabel(picHeader);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    place(picLogo, design.logo.x(), design.logo.y(), design.logo.width(), design.logo.height());

    lblInfo = new QLabel(QStringLiteral("Info"), picHeader);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    place(lblInfo, 240, 360, design.infoWidth, 375);
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    lblInfo->setFont(font);
    QPalette grey = lblInfo->palette();
    grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
    lblInfo->setPalette(grey);
}

void FieldRowDialog::buildFrame(const Design& design)
{
    FrameData = new QGroupBox(this);
    FrameData->setObjectName(QStringLiteral("FrameData"));
    place(FrameData, layout::frameLeft, layout::frameTop, layout::frameWidth, layout::frameInitialHeight);

    QPlainTextEdit* templateBox = newMultiLineBox();
    templateBox->setProperty(Index, 0);
    place(templateBox, design.templateLeft, 360, 1455, 285);
    templateBox->hide();
    txtMultiLineText = {templateBox};
}

QPlainTextEdit* FieldRowDialog::newMultiLineBox()
{
    auto* box = new QPlainTextEdit(FrameData);
    box->setObjectName(QStringLiteral("txtMultiLineText"));
    box->setTabChangesFocus(true);
    return box;
}

const FieldRow* FieldRowDialog::row(const QString& name) const
{
    for (const FieldRow& r : rows_)
        if (r.name == name)
            return &r;
    return nullptr;
}

void FieldRowDialog::AddControl(const xml::Node& element, int rowNumber)
{
    if (element.isNull() || element.nodeType() != xml::NodeType::Element)
        return;
    FieldRow r;
    r.name = element.nodeName();
    // Control names are unique within a window: a second row of a name has no place.
    if (row(r.name))
        return;
    r.labelTop = layout::labelTop(rowNumber, ExtraRows);
    r.fieldTop = layout::fieldTop(r.labelTop);

    skip([&] {
        r.label = new QLabel(SplitCamelCase(r.name), FrameData);
        r.label->setObjectName(QStringLiteral("lbl") + r.name);
        place(r.label, layout::labelLeft, r.labelTop, layout::labelWidth, layout::labelHeight);
        r.label->show();
    });
    const QString values = definitionAttribute(element, "ConstraintValues");
    skip([&] {
        if (!values.isEmpty())
            addChoiceList(r, element, values);
        else if (definitionAttribute(element, "AllowMultiLineText") != QLatin1String("1"))
            addTextBox(r, element);
        else
            addMultiLineBox(r, element);
        frameHeight_ = layout::frameHeight(r.fieldTop, r.fieldHeight);
        FrameData->resize(FrameData->width(), twips::toPixels(frameHeight_));
    });
    if (r.field && r.kind != FieldKind::ChoiceList)
        skip([&] { addRowButtons(r, element); });
    skip([&] { addIcon(r); });
    if (r.field)
        rows_.push_back(r);
    skip([&] { growWindow(); });
}

void FieldRowDialog::addChoiceList(FieldRow& r, const xml::Node& element, const QString& values)
{
    auto* list = new QComboBox(FrameData);
    list->setObjectName(r.name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    list->addItems(choiceEntries(values));
    r.kind = FieldKind::ChoiceList;
    r.field = list;
    r.fieldWidth = layout::fieldWidth;
    r.fieldHeight = list->sizeHint().height() * twips::perPixel;
    place(list, layout::fieldLeft, r.fieldTop, r.fieldWidth, r.fieldHeight);
    list->setToolTip(definitionAttribute(element, "ConstraintExample"));
    showChoiceValue(list, element.text());
    list->lineEdit()->setCursorPosition(0);  // a long entry shows its beginning
    // Attached after the value is shown, so showing it starts no handler.
    attachChoiceList(list, r.name);
    watchKeys(list);
    list->show();
}

void FieldRowDialog::showChoiceValue(QComboBox* list, const QString& value)
{
    list->setCurrentIndex(-1);
    list->setEditText(value);
}

void FieldRowDialog::attachChoiceList(QComboBox*, const QString&) {}

QLineEdit* FieldRowDialog::newTextBox(const QString&)
{
    return new QLineEdit(FrameData);
}

void FieldRowDialog::addTextBox(FieldRow& r, const xml::Node& element)
{
    QLineEdit* box = newTextBox(r.name);
    box->setObjectName(r.name);
    r.kind = FieldKind::TextBox;
    r.field = box;
    r.fieldWidth = layout::fieldWidth;
    r.fieldHeight = layout::textBoxHeight;
    place(box, layout::fieldLeft, r.fieldTop, r.fieldWidth, r.fieldHeight);
    box->setText(element.text());
    box->setToolTip(definitionAttribute(element, "ConstraintExample"));
    box->selectAll();
    watchKeys(box);
    box->show();
}

void FieldRowDialog::addMultiLineBox(FieldRow& r, const xml::Node& element)
{
    MultiLineCount += 1;
    QPlainTextEdit* box = newMultiLineBox();
    box->setProperty(Index, MultiLineCount);
    box->setProperty(LinkItem, r.name);
    txtMultiLineText.append(box);
    r.kind = FieldKind::MultiLine;
    r.field = box;
    r.fieldWidth = layout::fieldWidth;
    r.fieldHeight = layout::multiLineHeight;
    place(box, layout::fieldLeft, r.fieldTop, r.fieldWidth, r.fieldHeight);
    box->setPlainText(multiLineDisplayText(element.text()));
    box->setToolTip(definitionAttribute(element, "ConstraintExample"));
    ExtraRows += layout::multiLineExtraRows;
    box->show();
}

QPixmap FieldRowDialog::rowPicture(const QString& name) const
{
    if (!SourceForm || !SourceForm->TreeView || !SourceForm->TreeView->ImageList)
        return {};
    const TreeImageList& images = *SourceForm->TreeView->ImageList;
    const QString key = name.toLower();
    const QString shown = images.contains(key) ? key : QStringLiteral("generalpropertyimage");
    if (!images.contains(shown))
        return {};
    const QIcon icon = images.icon(shown);
    const QList<QSize> sizes = icon.availableSizes();
    return icon.pixmap(sizes.isEmpty() ? QSize(16, 16) : sizes.first());
}

void FieldRowDialog::addIcon(FieldRow& r)
{
    r.icon = new QLabel(FrameData);
    r.icon->setObjectName(QStringLiteral("pic_") + r.name);
    const QPixmap picture = rowPicture(r.name);
    r.icon->setPixmap(picture);
    r.icon->setGeometry(QRect(QPoint(twips::toPixels(layout::iconLeft), twips::toPixels(r.fieldTop)), picture.size()));
    r.icon->show();
}

void FieldRowDialog::growWindow()
{
    windowHeight_ = layout::windowHeight(frameHeight_);
    setFixedSize(twips::toPixels(layout::clientWidth), twips::toPixels(windowHeight_ - layout::nonClientHeight));
    const int commandTop = twips::toPixels(layout::commandTop(windowHeight_));
    cmdOK->move(cmdOK->x(), commandTop);
    cmdCancel->move(cmdCancel->x(), commandTop);

    // Tab order: the fields in row order, then OK and Cancel.
    QWidget* previous = nullptr;
    for (const FieldRow& r : rows_) {
        if (previous)
            setTabOrder(previous, r.field);
        previous = r.field;
    }
    if (previous)
        setTabOrder(previous, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
}

void FieldRowDialog::watchKeys(QWidget* field)
{
    QLineEdit* box = qobject_cast<QLineEdit*>(field);
    field->installEventFilter(this);
    if (auto* list = qobject_cast<QComboBox*>(field); list && list->lineEdit()) {
        box = list->lineEdit();
        box->installEventFilter(this);
    }
    if (box)
        showSelection(box, box->hasFocus());
}

bool FieldRowDialog::isMultiLineBox(const QObject* object) const
{
    for (const QPlainTextEdit* box : txtMultiLineText)
        if (object == box || (object && box->isAncestorOf(qobject_cast<const QWidget*>(object))))
            return true;
    return false;
}

void FieldRowDialog::cmdOK_Click()
{
    OK();
}

void FieldRowDialog::cmdCancel_Click()
{
    closeWindow();
}

void FieldRowDialog::closeWindow()
{
    hide();
    deleteLater();
}

void FieldRowDialog::reject()
{
    cmdCancel_Click();
}

// The tab order starts at the first field, and so does the window: typed text goes into the
// first value (replacing it), never to OK, where a Space would store the value unchanged.
void FieldRowDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (!rows_.empty())
        selectField(rows_.front().field);
}

void FieldRowDialog::Form_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13 && !isMultiLineBox(focusWidget()))
        cmdOK->click();
}

void FieldRowDialog::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event)) {
        Form_KeyPress(13);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool FieldRowDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // An editable list has the focus for its text box, which never sees the focus events.
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (auto* list = qobject_cast<QComboBox*>(watched))
            box = list->lineEdit();
        if (box)
            showSelection(box, event->type() == QEvent::FocusIn);
    }
    if (isEnterKey(event) && !isMultiLineBox(watched)) {
        Form_KeyPress(13);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QString FieldRowDialog::fieldText(const QWidget* field)
{
    if (auto* line = qobject_cast<const QLineEdit*>(field))
        return line->text();
    if (auto* list = qobject_cast<const QComboBox*>(field))
        return list->currentText();
    if (auto* box = qobject_cast<const QPlainTextEdit*>(field))
        return box->toPlainText();
    return {};
}

QString FieldRowDialog::fieldValue(const FieldRow& row)
{
    const QString text = fieldText(row.field);
    return row.kind == FieldKind::MultiLine ? multiLineValue(text) : text;
}

void FieldRowDialog::setFieldText(QWidget* field, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        line->setText(text);
    } else if (auto* list = qobject_cast<QComboBox*>(field)) {
        const int entry = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        list->setCurrentIndex(entry);
        if (entry < 0)
            list->setEditText(text);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(field)) {
        box->setPlainText(multiLineDisplayText(text));
    }
}

void FieldRowDialog::selectField(QWidget* field)
{
    if (auto* list = qobject_cast<QComboBox*>(field))
        SelectAllText(list->lineEdit());
    else
        SelectAllText(field);
    field->setFocus();
}

} // namespace veldra
