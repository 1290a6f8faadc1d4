#pragma once

#include "RowProbe.h"

#include "contour/MeasurementTreeWidget.h"

#include <QHeaderView>
#include <QtTest>

#include <memory>
#include <vector>

inline QStringList topLevelTexts(const QTreeWidget& tree)
{
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        texts.append(tree.topLevelItem(i)->text(0));
    return texts;
}

inline QStringList rowNames(const QTreeWidgetItem* category)
{
    QStringList names;
    for (int i = 0; i < category->childCount(); ++i)
        names.append(category->child(i)->text(0));
    return names;
}

// A shown tree of a workspace's size, with rows that stand for measurements.
// Deleting a row works as the workspace does it: the receiver of
// deleteMeasurement takes the row out before it returns.
class TreeScene
{
public:
    TreeScene()
    {
        tree.resize(420, 520);
        tree.show();
        if (!QTest::qWaitForWindowExposed(&tree))
            qWarning("tree window not exposed");
    }

    QTreeWidgetItem* add(int code, double value = 0)
    {
        probes.push_back(std::make_unique<RowProbe>(code, value));
        QTreeWidgetItem* row = tree.addMeasurementItem(probes.back().get());
        rows.insert(probes.back()->id(), row);
        tree.collectDeviations();
        return row;
    }

    void removeRowsOnRequest()
    {
        QObject::connect(&tree, &MeasurementTreeWidget::deleteMeasurement, &tree, [this](int id) {
            delete rows.take(id);
            tree.collectDeviations();
        });
    }

    QTreeWidgetItem* category(MeasurementCategory c) const { return tree.categoryItem(c); }

    QPoint windowPos(const QTreeWidgetItem* item, int column = 0) const
    {
        const QRect rect = tree.visualItemRect(item);
        const int x = column == 0 ? rect.left() + 40 : tree.header()->sectionViewportPosition(1) + 20;
        return tree.viewport()->mapTo(&tree, QPoint(x, rect.center().y()));
    }

    // A right press and release, as the window system delivers them: the
    // press brings up the context menu.
    void rightClick(const QTreeWidgetItem* item)
    {
        const QPoint pos = windowPos(item);
        QTest::mousePress(tree.windowHandle(), Qt::RightButton, Qt::NoModifier, pos);
        QTest::mouseRelease(tree.windowHandle(), Qt::RightButton, Qt::NoModifier, pos);
    }

    MeasurementTreeWidget tree;
    std::vector<std::unique_ptr<RowProbe>> probes;
    QMap<int, QTreeWidgetItem*> rows;
};

