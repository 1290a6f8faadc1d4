#include "EditableList.h"

#include "ItemNaming.h"

#include <QAction>
#include <QMenu>

namespace {

constexpr int kOpeningNameRole = Qt::UserRole + 1;

} // namespace

EditableList::EditableList(QWidget* parent) : QListWidget(parent)
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &EditableList::showContextMenu);
}

void EditableList::addContextAction(QAction* action)
{
    m_contextActions.append(action);
}

QListWidgetItem* EditableList::addEditableItem(const QString& text)
{
    auto* item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    addItem(item);
    editItem(item);
    return item;
}

QListWidgetItem* EditableList::addNamedItem(const QString& name)
{
    auto* item = new QListWidgetItem(name);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(kOpeningNameRole, name);
    addItem(item);
    return item;
}

QVector<EditedName> EditableList::editedNames() const
{
    QVector<EditedName> rows;
    for (int row = 0; row < count(); ++row) {
        const QListWidgetItem* listItem = item(row);
        EditedName edited{listItem->text(), std::nullopt};
        const QVariant opening = listItem->data(kOpeningNameRole);
        if (opening.isValid())
            edited.openingName = opening.toString();
        rows.append(edited);
    }
    return rows;
}

void EditableList::renameSelectedItems()
{
    const QList<QListWidgetItem*> selected = selectedItems();
    if (!selected.isEmpty())
        editItem(selected.first());
}

void EditableList::removeCurrentItem()
{
    const int row = currentRow();
    if (row < 0)
        return;
    QListWidgetItem* item = takeItem(row);
    if (item == m_editedItem) {
        m_editedItem = nullptr;
        m_textBeforeEdit.clear();
    }
    delete item;
}

// Every way of opening an editor passes here, so that each rename, whatever
// started it, is checked when its editor closes.
bool EditableList::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!QListWidget::edit(index, trigger, event))
        return false;
    beginRename(itemFromIndex(index));
    return true;
}

// The edited text is in the item by now. The rename is finished before the
// base closes the editor, since on Tab the base opens the next item's editor.
void EditableList::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    finishRename();
    QListWidget::closeEditor(editor, hint);
}

void EditableList::showContextMenu(const QPoint& position)
{
    if (!itemAt(position))
        return;
    QMenu menu;
    for (QAction* action : qAsConst(m_contextActions))
        menu.addAction(action);
    connect(menu.addAction(QStringLiteral("Переименовать")), &QAction::triggered, this,
            &EditableList::renameSelectedItems);
    connect(menu.addAction(QStringLiteral("Удалить")), &QAction::triggered, this, &EditableList::removeCurrentItem);
    menu.exec(viewport()->mapToGlobal(position));
}

void EditableList::beginRename(QListWidgetItem* item)
{
    m_editedItem = item;
    m_textBeforeEdit = item ? item->text() : QString();
}

void EditableList::finishRename()
{
    QListWidgetItem* item = m_editedItem;
    const QString textBeforeEdit = m_textBeforeEdit;
    m_editedItem = nullptr;
    m_textBeforeEdit.clear();
    if (!item)
        return;
    QStringList otherNames;
    for (int row = 0; row < count(); ++row) {
        if (this->item(row) != item)
            otherNames.append(this->item(row)->text());
    }
    item->setText(uniqueItemName(item->text(), textBeforeEdit, otherNames));
}
