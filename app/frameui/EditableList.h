#pragma once

#include "EditedConsoles.h"

#include <QListWidget>
#include <QString>
#include <QVector>

class QAction;

// A list of names that the user renames in place (double click, F2 or the
// context menu's "Переименовать") and removes ("Удалить"). When an editor
// closes, the edited item is named by uniqueItemName(): an emptied text falls
// back to the text before the edit, a name another item has gets a number.
// The context menu shows the owner's further actions first.
class EditableList : public QListWidget
{
    Q_OBJECT

public:
    explicit EditableList(QWidget* parent = nullptr);

    // Shown first in the context menu, in the order added; the caller keeps
    // the action alive as long as the list.
    void addContextAction(QAction* action);

    // Appends an editable item with the text and opens its editor at once;
    // the item is neither selected nor made current.
    QListWidgetItem* addEditableItem(const QString& text);

    // Appends an editable item that remembers `name` as its opening name.
    QListWidgetItem* addNamedItem(const QString& name);

    // The rows from top to bottom; items added by addNamedItem() carry their
    // opening name. The name stays on the item, so that a deleted item's
    // name never passes to an item created later.
    QVector<EditedName> editedNames() const;

    // Opens the editor of the selected item.
    void renameSelectedItems();

    // Takes the item of the current row out of the list and deletes it;
    // nothing without a current row.
    void removeCurrentItem();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void showContextMenu(const QPoint& position);
    void beginRename(QListWidgetItem* item);
    void finishRename();

    QVector<QAction*> m_contextActions;
    // The item whose editor is open, and its text when the editor opened.
    QListWidgetItem* m_editedItem = nullptr;
    QString m_textBeforeEdit;
};
