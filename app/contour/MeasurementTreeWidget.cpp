#include "MeasurementTreeWidget.h"

#include "NoEditDelegate.h"
#include "TreeDropDecision.h"

#include "DrawingConstants.h"
#include "NumberFields.h"
#include "measurements/Measurement.h"

#include <QDebug>
#include <QDropEvent>
#include <QHeaderView>
#include <QMenu>

#include <algorithm>

namespace {

constexpr Qt::ItemFlags kCategoryFlags =
    Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled | Qt::ItemIsEnabled;
constexpr Qt::ItemFlags kRowFlags = Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsEnabled;

constexpr int kNameColumn = 0;
constexpr int kValueColumn = 1;
constexpr int kNotComputedRole = Qt::UserRole + 1;

void alignColumns(QTreeWidgetItem* item)
{
    item->setData(kNameColumn, Qt::TextAlignmentRole, int(Qt::AlignLeft));
    item->setData(kValueColumn, Qt::TextAlignmentRole, int(Qt::AlignRight));
}

// The name column may be too narrow for a name: the tooltip shows it whole.
void setName(QTreeWidgetItem* item, const QString& name)
{
    item->setText(kNameColumn, name);
    item->setToolTip(kNameColumn, name);
}

int idOf(const QTreeWidgetItem* row)
{
    return row->data(kNameColumn, Qt::UserRole).toInt();
}

// A row that shows no number (a construction, the drawing comparison) and a
// value that was not computed are held as no value, so that no mean counts them.
QVariant valueOf(const Measurement* measurement)
{
    if (!measurement->yieldsValue() || measurement->isValueNotComputed() || measurement->valueText().isEmpty())
        return QVariant();
    return measurement->value();
}

void setValueColumn(QTreeWidgetItem* row, const Measurement* measurement)
{
    row->setText(kValueColumn, measurement->valueText());
    row->setData(kValueColumn, Qt::UserRole, valueOf(measurement));
    row->setData(kValueColumn, kNotComputedRole, measurement->yieldsValue() && measurement->isValueNotComputed());
}

// The mean of the rows that have a value; the not-computed mark when only
// rows whose value was not computed could have given one, and no text for a
// category of rows without numbers.
QString categoryMeanText(const QTreeWidgetItem* category)
{
    double sum = 0;
    int counted = 0;
    bool notComputed = false;
    for (int row = 0; row < category->childCount(); ++row) {
        const QTreeWidgetItem* item = category->child(row);
        const QVariant value = item->data(kValueColumn, Qt::UserRole);
        if (value.isValid()) {
            sum += value.toDouble();
            ++counted;
        }
        notComputed = notComputed || item->data(kValueColumn, kNotComputedRole).toBool();
    }
    if (counted > 0)
        return QString::number(sum / counted, 'f', 4);
    return notComputed ? kNotComputedText : QString();
}

} // namespace

MeasurementTreeWidget::MeasurementTreeWidget(QWidget* parent)
    : QTreeWidget(parent)
{
    qRegisterMetaType<E_MEASUREMENTS>("E_MEASUREMENTS");
    setColumnCount(2);
    setupContextMenu();
    createCategories();
}

void MeasurementTreeWidget::setupContextMenu()
{
    for (E_MEASUREMENTS kind : {HORIZONTAL_LINE, VERTICAL_LINE, TWO_POINT_LINE})
        m_lineKinds.insert(measurementKind(kind)->name, kind);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &MeasurementTreeWidget::onContextMenuRequested);
}

void MeasurementTreeWidget::createCategories()
{
    for (int i = 0; i < kMeasurementCategoryCount; ++i) {
        const auto category = MeasurementCategory(i);
        auto* item = new QTreeWidgetItem(this);
        item->setFlags(kCategoryFlags);
        alignColumns(item);
        setName(item, categoryTitle(category));
        item->setIcon(kNameColumn, QIcon(categoryIcon(category)));
        m_categories[i] = item;
    }
    fitColumnsToWidth();

    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);

    setFont(kMonospaceFont);
    expandAll();
    invisibleRootItem()->setFlags(invisibleRootItem()->flags() | Qt::ItemIsDropEnabled);
}

// The values keep the width of their texts and stay in sight at any width of
// the tree; the names take the rest, a long one shortened.
void MeasurementTreeWidget::fitColumnsToWidth()
{
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(kValueColumn, QHeaderView::ResizeToContents);
}

QTreeWidgetItem* MeasurementTreeWidget::categoryItem(MeasurementCategory category) const
{
    return m_categories[int(category)];
}

bool MeasurementTreeWidget::isCategory(const QTreeWidgetItem* item) const
{
    return std::find(std::begin(m_categories), std::end(m_categories), item) != std::end(m_categories);
}

QTreeWidgetItem* MeasurementTreeWidget::addMeasurementItem(const Measurement* measurement)
{
    auto* row = new QTreeWidgetItem();
    setName(row, measurement->name());
    row->setFlags(kRowFlags);
    row->setData(kNameColumn, Qt::UserRole, measurement->id());
    setValueColumn(row, measurement);
    alignColumns(row);

    bool known = true;
    const MeasurementCategory category = categoryOfType(measurement->type(), &known);
    if (!known)
        qDebug() << "error: do not know which measurement list to put item, use distances list";
    categoryItem(category)->addChild(row);
    return row;
}

void MeasurementTreeWidget::updateMeasurementItem(QTreeWidgetItem* row, const Measurement* measurement)
{
    setValueColumn(row, measurement);
}

void MeasurementTreeWidget::collectDeviations()
{
    if (m_extended)
        return;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* category = topLevelItem(i);
        category->setText(kValueColumn, categoryMeanText(category));
    }
}

void MeasurementTreeWidget::setExtendedColumns(bool extended)
{
    m_extended = extended;
    if (extended) {
        setHeader(new QHeaderView(Qt::Horizontal, this));
        setColumnCount(2);
        fitColumnsToWidth();
        setHeaderLabels({QStringLiteral("ИЗМЕРЕНИЕ"), QStringLiteral("ЗНАЧЕНИЕ")});
        setItemDelegateForColumn(kNameColumn, new NoEditDelegate(this));
        setItemDelegateForColumn(kValueColumn, new NoEditDelegate(this));
    } else {
        setColumnCount(2);
    }
}

std::vector<TreeGroupRecord> MeasurementTreeWidget::collectItems() const
{
    std::vector<TreeGroupRecord> groups;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* category = topLevelItem(i);
        if (category->childCount() == 0)
            continue;
        TreeGroupRecord group{category->text(kNameColumn).toStdString(), category->text(kValueColumn).toStdString(),
                              {}};
        for (int row = 0; row < category->childCount(); ++row) {
            QTreeWidgetItem* item = category->child(row);
            group.items.push_back({item->text(kNameColumn).toStdString(), item->text(kValueColumn).toStdString(), item,
                                   idOf(item)});
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

void MeasurementTreeWidget::onContextMenuRequested(const QPoint& p)
{
    const QTreeWidgetItem* item = itemAt(p);
    if (!item)
        return;
    const QPoint globalPos = viewport()->mapToGlobal(p);
    if (isCategory(item))
        showCategoryMenu(item, globalPos);
    else
        showMeasurementMenu(item, globalPos);
}

void MeasurementTreeWidget::showMeasurementMenu(const QTreeWidgetItem* row, const QPoint& globalPos)
{
    const int id = idOf(row);
    const auto line = m_lineKinds.constFind(row->text(kNameColumn));
    QMenu menu(this);
    QAction* remove = menu.addAction(QStringLiteral("Удалить"));
    QAction* parallel = line != m_lineKinds.cend() ? menu.addAction(QStringLiteral("Эквидистанта")) : nullptr;
    QAction* chosen = menu.exec(globalPos);
    if (!chosen)
        return;
    if (chosen == remove)
        emit deleteMeasurement(id);
    else if (chosen == parallel)
        askForEquidistant(id, *line);
}

void MeasurementTreeWidget::askForEquidistant(int id, E_MEASUREMENTS kind)
{
    bool accepted = false;
    const double distance = NumberFields::askForDouble(this, QStringLiteral("Эквидистанта"),
                                                       QStringLiteral("Длина эквидистанты:"), 0, -10000, 10000, 2,
                                                       &accepted);
    if (accepted)
        emit equidistant(id, kind, distance);
}

// The ids are collected first: a receiver that does not remove the rows, or
// does not know an id, must not keep the loop going.
void MeasurementTreeWidget::showCategoryMenu(const QTreeWidgetItem* category, const QPoint& globalPos)
{
    if (category->childCount() == 0)
        return;
    QMenu menu(this);
    QAction* clear = menu.addAction(QStringLiteral("Очистить"));
    if (menu.exec(globalPos) != clear)
        return;
    QVector<int> ids;
    for (int row = 0; row < category->childCount(); ++row)
        ids.append(idOf(category->child(row)));
    for (int id : qAsConst(ids))
        emit deleteMeasurement(id);
}

void MeasurementTreeWidget::dropEvent(QDropEvent* event)
{
    const QTreeWidgetItem* target = itemFromIndex(indexAt(event->pos()));
    switch (decideTreeDrop(currentItem(), target, dropIndicatorPosition() == OnItem)) {
    case TreeDrop::MoveRow:
        QTreeWidget::dropEvent(event);
        collectDeviations();
        break;
    case TreeDrop::MoveCategory:
        QTreeWidget::dropEvent(event);
        break;
    case TreeDrop::Refuse:
        event->ignore();
        viewport()->update();
        break;
    }
}
