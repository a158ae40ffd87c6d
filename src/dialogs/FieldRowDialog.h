#pragma once

#include "platform/ui/CommonDialog.h"
#include "platform/xml/tree/Node.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <vector>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPixmap;
class QPlainTextEdit;
class QPushButton;

namespace veldra {

class frmXMLEditor;

enum class FieldKind { TextBox, ChoiceList, MultiLine };

// One generated row of a field dialog. Positions are in twips inside FrameData.
struct FieldRow {
    QString name;  // the element's name; a multi-line box also keeps it in its LinkItem property
    FieldKind kind = FieldKind::TextBox;
    QWidget* field = nullptr;  // QLineEdit, QComboBox or QPlainTextEdit
    QLabel* label = nullptr;
    QLabel* icon = nullptr;
    int labelTop = 0;
    int fieldTop = 0;
    int fieldHeight = 0;
    int fieldWidth = 0;
};

// The window both generated dialogs share (the field dialog frmXMLDataEdit and the wizard
// frmWizard): a header with the logo and lblInfo, the frame FrameData that AddControl fills
// with one row per element, each row's help buttons, and OK and Cancel below the frame.
//
// A row is a label "lbl" + name, a field named after the element (a text box, an editable
// choice list, or a multi-line box, a member of txtMultiLineText whose LinkItem holds the
// name), at most one button of each help kind at the field's right end, and the element's
// picture "pic_" + name. The window opens with the focus in the first field, its text
// selected, so that typing replaces the value. Enter presses OK unless the focus is in a
// multi-line box; Esc presses Cancel. The window stays above other windows. It deletes itself when closed.
class FieldRowDialog : public QDialog {
    Q_OBJECT
public:
    // What differs between the two windows' designs.
    struct Design {
        QString caption;
        QString okCaption;
        QString cancelCaption;
        QRect logo;        // twips, in picHeader
        int infoWidth;     // twips
        int templateLeft;  // twips, of txtMultiLineText(0)
    };

    // The editor window written into; its tree's pictures give the row icons.
    QPointer<frmXMLEditor> SourceForm;

    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QWidget* picHeader = nullptr;
    QLabel* picLogo = nullptr;
    QLabel* lblInfo = nullptr;
    QGroupBox* FrameData = nullptr;
    // Member 0 is the hidden template of the multi-line boxes, never a field.
    QList<QPlainTextEdit*> txtMultiLineText;
    // The file dialog that the file and folder buttons of all rows share.
    ui::CommonDialog Dialog;

    // Adds row number `row` (from 1) for `element`: its text is the value, its definition
    // attributes choose the field and the buttons. A second row of the same name, and a node
    // that is no element, add nothing. Never fails: a step that cannot be done is left out.
    void AddControl(const xml::Node& element, int row);

    // The rows in the order they were built.
    const std::vector<FieldRow>& rows() const { return rows_; }
    const FieldRow* row(const QString& name) const;
    int frameHeightTwips() const { return frameHeight_; }
    // The window's outer height (title bar and borders included).
    int windowHeightTwips() const { return windowHeight_; }

    // The row buttons (FieldRowButtons.cpp) find their field by its top position, which
    // equals theirs.
    QWidget* GetControlFromCommandPosition(QAbstractButton* SourceCommand) const;
    // The field's text becomes a new generated id.
    void CreateGUID(QAbstractButton* SourceCommand);
    // The field's text becomes a file chosen in an open-file box that starts at the field's
    // file and shows the row's file filter; Cancel changes nothing.
    void BrowseFile(QAbstractButton* SourceCommand);
    // The field's text becomes the folder chosen in the desktop's folder chooser, which starts
    // at the field's folder when it exists, else at the home folder; Cancel changes nothing.
    void BrowseFolder(QAbstractButton* SourceCommand);
    // Searches the field's text in a code system ("LOINC", "NCI Thesaurus", "UNII Codes")
    // through the main window's search panel, whose hits go to the log.
    void SearchFDACode(QAbstractButton* SourceCommand, const QString& CodeSystem);

    // OK of the field dialog, Apply of the wizard.
    virtual void OK() = 0;
    void cmdOK_Click();
    // Closes the window without writing anything.
    void cmdCancel_Click();
    // Character 13 (Enter) presses OK unless the focus is in a multi-line box.
    void Form_KeyPress(int KeyAscii);

    // A field's text as it shows it.
    static QString fieldText(const QWidget* field);
    // A field's text as OK reads it: the whole text, a multi-line box's with CR LF line breaks.
    static QString fieldValue(const FieldRow& row);
    static void setFieldText(QWidget* field, const QString& text);
    // Selects the field's whole text and gives it the focus.
    static void selectField(QWidget* field);

protected:
    explicit FieldRowDialog(const Design& design, QWidget* parent = nullptr);

    // The field dialog's own blocks; the wizard keeps the defaults.
    // Shows a stored value in a new choice list; by default as typed text, nothing selected.
    virtual void showChoiceValue(QComboBox* list, const QString& value);
    // Connects a choice list of that name to handlers of the window's own.
    virtual void attachChoiceList(QComboBox* list, const QString& name);
    // A new single-line text box for an element of that name.
    virtual QLineEdit* newTextBox(const QString& name);

    // Closes the window (hidden at once, deleted once control returns to the event loop).
    void closeWindow();

    void reject() override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class ButtonKind { CreateGUID, BrowseFile, BrowseFolder, SearchUNIICode, SearchNCICode, SearchLOINCCode };

    void buildHeader(const Design& design);
    void buildFrame(const Design& design);
    QPlainTextEdit* newMultiLineBox();

    void addChoiceList(FieldRow& row, const xml::Node& element, const QString& values);
    void addTextBox(FieldRow& row, const xml::Node& element);
    void addMultiLineBox(FieldRow& row, const xml::Node& element);
    void addRowButtons(FieldRow& row, const xml::Node& element);
    void addRowButton(FieldRow& row, ButtonKind kind, int& count, const QString& fileFilter = {});
    void addIcon(FieldRow& row);
    QPixmap rowPicture(const QString& name) const;
    void growWindow();
    void watchKeys(QWidget* field);
    bool isMultiLineBox(const QObject* object) const;

    std::vector<FieldRow> rows_;
    bool shownOnce_ = false;
    int frameHeight_;
    int windowHeight_;

    // Row-building state; only grows while rows are added.
    int ExtraRows = 0;
    int MultiLineCount = 0;
    int GUIDButtonCount = 0;
    int FileButtonCount = 0;
    int FolderButtonCount = 0;
    int UNIIButtonCount = 0;
    int NCIButtonCount = 0;
    int LOINCButtonCount = 0;
};

} // namespace veldra
