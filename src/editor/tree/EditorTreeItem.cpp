#include "editor/tree/EditorTreeItem.h"

#include "app/window/Captions.h"
#include "editor/tree/TreeView.h"

#include <QBrush>
#include <QFont>

namespace veldra {

namespace {

enum Member : unsigned {
    Caption = 1,
    Key = 2,
    Picture = 4,
    PictureKey = 8,
    Font = 16,
    Foreground = 32,
};

// The font of a bold node: the application's font, bold (as a fresh QFont made bold is).
// Made once for each application font, as the view asks for it on every paint of a row.
const QVariant& boldFont()
{
    static QFont applicationFont;
    static QVariant bold;
    const QFont current;
    if (!bold.isValid() || current != applicationFont) {
        applicationFont = current;
        QFont font = current;
        font.setBold(true);
        bold = font;
    }
    return bold;
}

const QVariant& blackBrush()
{
    static const QVariant black(QBrush(QColor(0, 0, 0)));
    return black;
}

} // namespace

EditorTreeItem::EditorTreeItem(const QString& key) : key_(key) {}

void EditorTreeItem::setPicture(const QIcon& picture, const QString& pictureKey)
{
    picture_ = picture;
    pictureKey_ = pictureKey;
}

unsigned EditorTreeItem::memberOf(int role)
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return Caption;
    case NodeKeyRole: return Key;
    case Qt::DecorationRole: return Picture;
    case TreeImageList::ImageKeyRole: return PictureKey;
    case Qt::FontRole: return Font;
    case Qt::ForegroundRole: return Foreground;
    default: return 0;
    }
}

QVariant EditorTreeItem::memberData(unsigned member) const
{
    switch (member) {
    case Caption: return caption_;
    case Key: return key_.isNull() ? QVariant() : QVariant(key_);
    case Picture: return pictureKey_.isNull() ? QVariant() : QVariant(picture_);
    case PictureKey: return pictureKey_.isNull() ? QVariant() : QVariant(pictureKey_);
    case Font: return emphasis_ == Emphasis::Bold ? boldFont() : QVariant();
    case Foreground: return emphasis_ == Emphasis::Black ? blackBrush() : QVariant();
    default: return {};
    }
}

QVariant EditorTreeItem::data(int column, int role) const
{
    if (column == 0) {
        const unsigned member = memberOf(role);
        if (member != 0 && (replaced_ & member) == 0)
            return memberData(member);
    }
    return QTreeWidgetItem::data(column, role);
}

void EditorTreeItem::setData(int column, int role, const QVariant& value)
{
    if (column == 0)
        replaced_ |= memberOf(role);
    QTreeWidgetItem::setData(column, role, value);
}

QTreeWidgetItem* EditorTreeItem::clone() const
{
    auto* copy = new EditorTreeItem(*this);
    for (int i = 0; i < childCount(); ++i)
        copy->addChild(child(i)->clone());
    return copy;
}

} // namespace veldra
