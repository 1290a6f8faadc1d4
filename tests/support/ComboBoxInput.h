#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QtTest>

// Chooses an item of the selector with the mouse, as the operator does: a
// click opens the list, a click on the item chooses it. False when the list
// did not open or did not close on the choice.
inline bool chooseItem(QComboBox* box, int index)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView* list = box->view();
    if (!QTest::qWaitForWindowExposed(list->window()))
        return false;
    // The list takes no release as a choice within a double-click time of opening.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const int row = list->visualRect(box->model()->index(index, box->modelColumn())).center().y();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(list->viewport()->width() / 2, row));
    return QTest::qWaitFor([list] { return !list->window()->isVisible(); }, 2000);
}
