#include "FocusKeeper.h"

#include <QEvent>
#include <QTabWidget>
#include <QWidget>

FocusKeeper::FocusKeeper(QWidget* window) : QObject(window), m_window(window) {}

bool FocusKeeper::keepFocusOfDisabledWidget()
{
    QWidget* focus = m_window->focusWidget();
    if (!focus || focus->isEnabled())
        return false;
    forgetKeptFocus();
    m_keptFor = focus;
    focus->installEventFilter(this);
    return true;
}

bool FocusKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && watched == m_keptFor && m_keptFor->isEnabled())
        returnKeptFocus();
    return QObject::eventFilter(watched, event);
}

void FocusKeeper::returnKeptFocus()
{
    QWidget* widget = m_keptFor;
    forgetKeptFocus();
    if (!m_window->focusWidget() && widget->isVisible())
        widget->setFocus(Qt::OtherFocusReason);
}

void FocusKeeper::forgetKeptFocus()
{
    if (m_keptFor)
        m_keptFor->removeEventFilter(this);
    m_keptFor = nullptr;
}

void FocusKeeper::watchPages(QTabWidget* tabs)
{
    m_shownPage = tabs->currentWidget();
    connect(tabs, &QTabWidget::currentChanged, this, [this, tabs] { onPageShown(tabs->currentWidget()); });
}

// The tab widget gives a page shown again the focus widget it had when it
// was left, and when it had none, the page's first widget that takes the
// focus, which is no choice of the user's.
void FocusKeeper::onPageShown(QWidget* page)
{
    if (m_shownPage && m_shownPage != page)
        rememberFocusOf(m_shownPage);
    m_shownPage = page;
    QWidget* focus = m_window->focusWidget();
    if (page && focus && page->isAncestorOf(focus) && focus != m_focusOnLeaving.value(page))
        focus->clearFocus();
}

void FocusKeeper::rememberFocusOf(QWidget* page)
{
    if (!m_focusOnLeaving.contains(page))
        connect(page, &QObject::destroyed, this, [this, page] { m_focusOnLeaving.remove(page); });
    m_focusOnLeaving.insert(page, page->focusWidget());
}
