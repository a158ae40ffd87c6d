#pragma once

#include <QIcon>
#include <QString>
#include <QTreeWidgetItem>

namespace veldra {

// A node of an editor tree. What a fill gives every node (its key, caption, picture and
// emphasis) is kept in plain members and turned into item data only when data() is asked
// for it: a document of tens of thousands of elements then fills its tree at about the cost
// of a plain one, where item data roles would cost a list entry and a value comparison each.
//
// Data set through setData (setText, setIcon, setFont, setBackground, ...) take the place of
// the member for that role from then on, so the node behaves exactly like one whose data
// were all set as item data. Copies (clone()) keep the members and copy the children alike.
class EditorTreeItem : public QTreeWidgetItem {
public:
    // How the fill emphasises a node below a settings document's root.
    enum class Emphasis : unsigned char { None, Bold, Black };

    // A node without key has a null `key` (the text nodes of a "View" window).
    explicit EditorTreeItem(const QString& key);

    const QString& key() const { return key_; }
    void setCaption(const QString& caption) { caption_ = caption; }
    // The picture and the key it has in the tree's image list.
    void setPicture(const QIcon& picture, const QString& pictureKey);
    void setEmphasis(Emphasis emphasis) { emphasis_ = emphasis; }

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;
    QTreeWidgetItem* clone() const override;

private:
    EditorTreeItem(const EditorTreeItem& other) = default;

    // The member behind `role` (one bit each), 0 for a role the item keeps as item data only.
    static unsigned memberOf(int role);
    QVariant memberData(unsigned member) const;

    QString key_;
    QString caption_;
    QIcon picture_;
    QString pictureKey_;  // null: the node has no picture of the fill
    Emphasis emphasis_ = Emphasis::None;
    unsigned replaced_ = 0;  // the members that data set through setData stand in for
};

} // namespace veldra
