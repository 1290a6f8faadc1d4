#include "TreeDropDecision.h"

#include <QTreeWidgetItem>

TreeDrop decideTreeDrop(const QTreeWidgetItem* source, const QTreeWidgetItem* target, bool intoTarget)
{
    if (!source || !target)
        return TreeDrop::Refuse;
    const QTreeWidgetItem* sourceGroup = source->parent();
    const QTreeWidgetItem* targetGroup = target->parent();
    if (sourceGroup && targetGroup)
        return sourceGroup == targetGroup ? TreeDrop::MoveRow : TreeDrop::Refuse;
    if (!sourceGroup && !targetGroup)
        return intoTarget ? TreeDrop::Refuse : TreeDrop::MoveCategory;
    return TreeDrop::Refuse;
}
