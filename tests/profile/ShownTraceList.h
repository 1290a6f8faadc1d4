#pragma once

#include "TraceList.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>
#include <QtTest>

// The list shown and active, so that its Delete key reaches it.
struct ShownList
{
    ShownList()
    {
        list.resize(700, 320);
        list.show();
        QApplication::setActiveWindow(&list);
        if (!QTest::qWaitForWindowActive(&list))
            qWarning("trace list not active");
    }

    QTreeWidget* tree() const { return list.findChild<QTreeWidget*>("tracesListTreeWidget"); }
    QTreeWidget* parameters() const { return list.findChild<QTreeWidget*>("paramsListTreeWidget"); }
    QComboBox* filter() const { return list.findChild<QComboBox*>("filterComboBox"); }

    QTreeWidgetItem* row(int traceId) const
    {
        QTreeWidgetItemIterator it(tree());
        for (; *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toInt() == traceId)
                return *it;
        return nullptr;
    }

    // On the row's text, near its left end: selecting a profile trace shows
    // its details, which narrows the tree. The rows are expanded first, as
    // the user does to reach an additional trace.
    QPoint pointOn(int traceId) const
    {
        tree()->expandAll();
        const QRect rect = tree()->visualItemRect(row(traceId));
        return QPoint(rect.left() + 40, rect.center().y());
    }

    void click(int traceId) { QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, pointOn(traceId)); }

    void clickCheckBox(int traceId)
    {
        QStyleOptionViewItem option;
        option.initFrom(tree());
        option.rect = QRect(pointOn(traceId), QSize()).united(tree()->visualItemRect(row(traceId)));
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        const QRect box = tree()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree());
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, box.center());
    }

    // A right click through the window system, which turns it into a context menu request.
    void rightClick(int traceId)
    {
        const QPoint pos = tree()->viewport()->mapTo(&list, pointOn(traceId));
        QTest::mousePress(list.windowHandle(), Qt::RightButton, {}, pos);
        QTest::mouseRelease(list.windowHandle(), Qt::RightButton, {}, pos);
    }

    TraceList list;
};

// A click on the radio button's circle: a wide button is hit only on its
// circle and label.
inline void choose(QRadioButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}
