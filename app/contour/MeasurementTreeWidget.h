#pragma once

#include "MeasurementCategory.h"
#include "TreeGroupRecord.h"

#include "measurements/MeasurementKind.h"

#include <QHash>
#include <QTreeWidget>

#include <vector>

class Measurement;

// The list of a contour tab's measurements: one row per listed measurement
// (name and value text) under six fixed group rows, each group row showing the
// mean of its rows' values (values that were not computed left out). Rows move
// by drag and drop within their group, group rows among themselves. The tree
// only shows and asks: deleting rows and building parallel lines are requests
// by signal, which the workspace and the measurements manager carry out.
class MeasurementTreeWidget : public QTreeWidget
{
    Q_OBJECT
public:
    explicit MeasurementTreeWidget(QWidget* parent = nullptr);

    // A new last row of the measurement's group; the caller keeps it to
    // refresh or delete it.
    QTreeWidgetItem* addMeasurementItem(const Measurement* measurement);
    // Refreshes the row's value; its name and group stay.
    void updateMeasurementItem(QTreeWidgetItem* row, const Measurement* measurement);
    // Refreshes the groups' means (not in the extended layout).
    void collectDeviations();
    // The calibration screen's layout: headers "ИЗМЕРЕНИЕ" and "ЗНАЧЕНИЕ",
    // no editors and no group means.
    void setExtendedColumns(bool extended);
    // The groups that have rows, in the tree's current order.
    std::vector<TreeGroupRecord> collectItems() const;

    QTreeWidgetItem* categoryItem(MeasurementCategory category) const;

signals:
    // The user asked to delete the measurement of this id. The receiver
    // removes the row before it returns.
    void deleteMeasurement(int index);
    // The user asked for a line parallel to the line of this id and kind, at
    // the given distance in the display unit.
    void equidistant(int index, E_MEASUREMENTS type, double distance);

protected:
    void dropEvent(QDropEvent* event) override;

private:
    void setupContextMenu();
    void createCategories();
    void fitColumnsToWidth();
    void onContextMenuRequested(const QPoint& p);
    void showMeasurementMenu(const QTreeWidgetItem* row, const QPoint& globalPos);
    void showCategoryMenu(const QTreeWidgetItem* category, const QPoint& globalPos);
    void askForEquidistant(int id, E_MEASUREMENTS kind);
    bool isCategory(const QTreeWidgetItem* item) const;

    QTreeWidgetItem* m_categories[kMeasurementCategoryCount] = {};
    bool m_extended = false;
    // The construction lines by display name.
    QHash<QString, E_MEASUREMENTS> m_lineKinds;
};
