#pragma once

class QTreeWidgetItem;

// What the measurement tree does with a drop: a row moves only within its own
// group, a group row only between the other group rows (never into one), and
// everything else is refused.
enum class TreeDrop {
    Refuse,
    MoveRow,
    MoveCategory,
};

// source: the dragged row; target: the row under the drop position (null over
// empty space); intoTarget: the drop indicator is on the target itself rather
// than above or below it.
TreeDrop decideTreeDrop(const QTreeWidgetItem* source, const QTreeWidgetItem* target, bool intoTarget);
