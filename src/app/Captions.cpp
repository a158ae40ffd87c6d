#include "app/Captions.h"

#include "platform/core/VbString.h"

#include <QTreeWidget>

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

void refreshCaptions(QTreeWidgetItem* node, const TreeImageList* images);

void refreshChild(QTreeWidgetItem* child, const TreeImageList* images)
{
    child->setText(0, SplitCamelCase(child->text(0)));
    if (images) {
        const QString key = imageKeyOf(GetNamePart(child->text(0)));
        setImage(child, images->contains(key) ? key : QStringLiteral("generalpropertyimage"), *images);
    }
    if (child->childCount() > 0) {
        QFont font = child->font(0);
        font.setBold(true);
        child->setFont(0, font);
        refreshCaptions(child, images);
    } else {
        child->setForeground(0, QColor(0, 0, 0));
    }
}

void refreshCaptions(QTreeWidgetItem* node, const TreeImageList* images)
{
    for (int i = 0; i < node->childCount(); ++i)
        refreshChild(node->child(i), images);

    if (!images)
        return;
    QTreeWidgetItem* root = rootOf(node);
    const QString key = imageKeyOf(root->text(0));
    if (images->contains(key)) {
        setImage(root, key, *images);
    } else {
        root->setIcon(0, QIcon());
        root->setData(0, TreeImageList::ImageKeyRole, QVariant());
    }
}

} // namespace

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

void RefreshTreeCaptions(QTreeWidgetItem* node, const TreeImageList* images)
{
    if (node)
        refreshCaptions(node, images);
}

} // namespace veldra
