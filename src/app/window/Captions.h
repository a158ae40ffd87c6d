#pragma once

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QString>
#include <QVariant>

class QTreeWidget;
class QTreeWidgetItem;

// Tree captions: element names shown as words, and back.
namespace veldra {

// Splits a camel-case element name into words ("SectionTitle" gives "Section Title",
// "HTMLFile" gives "HTML File"); a text that holds a blank comes back unchanged.
QString SplitCamelCase(const QString& text);

// The element name of a tree caption: the text before the first ":" and then
// before the first "[", trimmed ("Section Title: 1 X [a]" gives "Section Title").
QString GetNamePart(const QString& caption);

// The pictures of an editor tree, keyed by the lower-case element name without
// blanks; "generalpropertyimage" serves elements without a picture of their own.
// A tree has at most one; it lives as a child object of the tree.
class TreeImageList : public QObject {
    Q_OBJECT
public:
    explicit TreeImageList(QTreeWidget* tree);
    // The tree's image list, or nullptr when it has none.
    static TreeImageList* of(const QTreeWidget* tree);

    void add(const QString& key, const QIcon& icon) { images_.insert(key, icon); }
    bool contains(const QString& key) const { return images_.contains(key); }
    QIcon icon(const QString& key) const { return images_.value(key); }

    // The item data role under which a node keeps the key of its picture.
    static constexpr int ImageKeyRole = Qt::UserRole + 64;

private:
    QHash<QString, QIcon> images_;
};

// Gives the children of `node`, depth first, their captions as words, their
// pictures (from the tree's image list) and their emphasis: nodes with children
// bold, leaves black. The tree's root then gets the picture of its own caption.
void RefreshTreeCaptions(QTreeWidgetItem* node);

// The pictures of captions, found once per element name and shared: a tree repeats a
// handful of element names over thousands of nodes.
class CaptionPictures {
public:
    explicit CaptionPictures(const TreeImageList& images) : images_(images) {}

    // The picture key of a caption's element name, or "generalpropertyimage".
    QString forCaption(const QString& caption);
    void set(QTreeWidgetItem* item, const QString& key);
    // A tree's root shows the picture of its whole caption, or none.
    void setRoot(QTreeWidgetItem* root) const;

private:
    struct Picture {
        QVariant icon;
        QVariant key;
    };
    const TreeImageList& images_;
    QHash<QString, QString> keys_;
    QHash<QString, Picture> pictures_;
};

} // namespace veldra
