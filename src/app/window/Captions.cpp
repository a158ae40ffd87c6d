#include "app/window/Captions.h"

#include "platform/core/VbString.h"

#include <QHash>
#include <QTreeWidget>

#include <optional>

namespace veldra {

namespace {

bool isLowerCaseLetter(QChar c)
{
    return c.toUpper() != c;
}

QString imageKeyOf(const QString& text)
{
    return text.toLower().remove(QLatin1Char(' '));
}

void setImage(QTreeWidgetItem* item, const QString& key, const TreeImageList& images)
{
    item->setIcon(0, images.icon(key));
    item->setData(0, TreeImageList::ImageKeyRole, key);
}

QTreeWidgetItem* rootOf(QTreeWidgetItem* node)
{
    while (node->parent())
        node = node->parent();
    return node;
}

void refreshChildren(QTreeWidgetItem* node, CaptionPictures* pictures)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        const QString caption = SplitCamelCase(child->text(0));
        child->setText(0, caption);
        if (pictures)
            pictures->set(child, pictures->forCaption(caption));
        if (child->childCount() > 0) {
            QFont font = child->font(0);
            font.setBold(true);
            child->setFont(0, font);
            refreshChildren(child, pictures);
        } else {
            child->setForeground(0, QColor(0, 0, 0));
        }
    }
}

void refreshCaptions(QTreeWidgetItem* node, const TreeImageList* images)
{
    std::optional<CaptionPictures> pictures;
    if (images)
        pictures.emplace(*images);
    refreshChildren(node, pictures ? &*pictures : nullptr);

    if (pictures)
        pictures->setRoot(rootOf(node));
}

} // namespace

QString CaptionPictures::forCaption(const QString& caption)
{
    const QString name = GetNamePart(caption);
    auto known = keys_.constFind(name);
    if (known == keys_.cend()) {
        const QString key = imageKeyOf(name);
        known = keys_.insert(name, images_.contains(key) ? key : QStringLiteral("generalpropertyimage"));
    }
    return known.value();
}

// The icon and key of each picture are kept as item data once, so that thousands of nodes
// share them instead of each making its own.
void CaptionPictures::set(QTreeWidgetItem* item, const QString& key)
{
    auto picture = pictures_.constFind(key);
    if (picture == pictures_.cend())
        picture = pictures_.insert(key, {QVariant(images_.icon(key)), QVariant(key)});
    item->setData(0, Qt::DecorationRole, picture->icon);
    item->setData(0, TreeImageList::ImageKeyRole, picture->key);
}

void CaptionPictures::setRoot(QTreeWidgetItem* root) const
{
    const QString key = imageKeyOf(root->text(0));
    if (images_.contains(key)) {
        setImage(root, key, images_);
    } else {
        root->setIcon(0, QIcon());
        root->setData(0, TreeImageList::ImageKeyRole, QVariant());
    }
}

QString SplitCamelCase(const QString& text)
{
    if (text.contains(QLatin1Char(' ')))
        return text;
    QString words;
    words.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool beforeIsLower = i > 0 && isLowerCaseLetter(text.at(i - 1));
        const bool afterIsLower = i + 1 < text.size() && isLowerCaseLetter(text.at(i + 1));
        if (i > 0 && !isLowerCaseLetter(c) && (beforeIsLower || afterIsLower))
            words += QLatin1Char(' ');
        words += c;
    }
    return words;
}

QString GetNamePart(const QString& caption)
{
    QString name = caption;
    if (name.contains(QLatin1Char(':')))
        name = vbstr::trim(name.section(QLatin1Char(':'), 0, 0));
    if (name.contains(QLatin1Char('[')))
        name = vbstr::trim(name.section(QLatin1Char('['), 0, 0));
    return name;
}

TreeImageList::TreeImageList(QTreeWidget* tree) : QObject(tree)
{
    setObjectName(QStringLiteral("TreeImageList"));
}

TreeImageList* TreeImageList::of(const QTreeWidget* tree)
{
    return tree ? tree->findChild<TreeImageList*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void RefreshTreeCaptions(QTreeWidgetItem* node)
{
    if (node)
        refreshCaptions(node, TreeImageList::of(node->treeWidget()));
}

} // namespace veldra
