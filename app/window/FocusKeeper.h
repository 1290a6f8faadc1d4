#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QTabWidget;
class QWidget;

// Keeps a window's keyboard focus where the user put it, so that it never
// lands in a field the user did not choose (where the jog keys would turn
// into typed or stepped values):
// - when the widget holding the focus is disabled (a recording locks the
//   button just clicked), the focus goes nowhere instead of falling to the
//   next widget of the tab chain; it comes back when that widget is enabled
//   again, unless the focus has been put elsewhere meanwhile;
// - when a tab page is shown again, the focus is where it was on the page
//   when the page was left, or nowhere.
// A click or Tab still puts the focus wherever the user likes.
//
// GUI thread only.
class FocusKeeper : public QObject
{
    Q_OBJECT

public:
    explicit FocusKeeper(QWidget* window);

    // For the window's focusNextPrevChild: true when the focus widget has
    // just been disabled; its focus is kept for it, and the window is to
    // move the focus nowhere.
    bool keepFocusOfDisabledWidget();

    // Follows the pages of the tab widget, from its current page on.
    void watchPages(QTabWidget* tabs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onPageShown(QWidget* page);
    void rememberFocusOf(QWidget* page);
    void returnKeptFocus();
    void forgetKeptFocus();

    QWidget* m_window;
    // The disabled widget that had the focus.
    QPointer<QWidget> m_keptFor;
    QPointer<QWidget> m_shownPage;
    // Where the focus was on each page when it was left; null: nowhere.
    QHash<QWidget*, QPointer<QWidget>> m_focusOnLeaving;
};
