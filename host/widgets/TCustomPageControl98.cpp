#include "TCustomPageControl98.h"

#include "HostGuard.h"

#include <QApplication>
#include <QEvent>
#include <QSignalBlocker>
#include <QTabBar>

#include <stdexcept>

TCustomPageControl98::TCustomPageControl98(QWidget *parent)
    : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &TCustomPageControl98::pageChanged);
    // Shortcuts, not key handlers: a grid on a page would take Ctrl+Tab for
    // its own cells, and the document area for its windows, before the
    // page control ever saw it.
    for (const bool forward : {true, false}) {
        auto *keys = new QAction(this);
        keys->setShortcuts(forward ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Tab),
                                                         QKeySequence(Qt::CTRL | Qt::Key_PageDown)}
                                   : QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                                         QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
        keys->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(keys, &QAction::triggered, this, [this, forward] { selectNextPage(forward); });
        addAction(keys);
        m_pageKeys << keys;
    }
}

int TCustomPageControl98::pageIndex(QWidget *page) const
{
    const int index = page ? indexOf(page) : -1;
    if (index < 0) {
        throw std::invalid_argument("page control: the widget is not one of its pages");
    }
    return index;
}

void TCustomPageControl98::setPageEnabled(QWidget *page, bool enabled)
{
    const int index = pageIndex(page);
    const int active = currentIndex();
    // The tab bar moves away from a current tab that gets disabled; with its
    // signals held back the pages never switch and the old tab is put back.
    const QSignalBlocker holdTabs(tabBar());
    setTabEnabled(index, enabled);
    tabBar()->setCurrentIndex(active);
    refreshItems();
}

void TCustomPageControl98::pairPage(QWidget *page, QAction *item)
{
    pageIndex(page);
    item->setCheckable(true);
    m_items.insert(page, item);
    // Runs after the item's own handler has shown the page.
    connect(item, &QAction::triggered, this, [this, page] {
        if (currentWidget() == page) {
            focusShownPage();
        }
    });
    refreshItems();
}

void TCustomPageControl98::selectNextPage(bool forward)
{
    if (!isEnabled() || count() == 0) {
        return;
    }
    const int step = forward ? 1 : count() - 1;
    for (int index = (currentIndex() + step) % count(); index != currentIndex(); index = (index + step) % count()) {
        if (isTabEnabled(index)) {
            setCurrentIndex(index);
            focusShownPage();
            return;
        }
    }
}

void TCustomPageControl98::reachPagesFrom(QWidget *screen)
{
    screen->addActions(m_pageKeys);
}

void TCustomPageControl98::refreshItems()
{
    for (auto it = m_items.constBegin(); it != m_items.constEnd(); ++it) {
        if (QAction *item = it.value()) {
            item->setEnabled(isTabEnabled(indexOf(it.key())));
            item->setChecked(it.key() == currentWidget());
        }
    }
}

bool TCustomPageControl98::isPageEnabled(QWidget *page) const
{
    return isTabEnabled(pageIndex(page));
}

void TCustomPageControl98::SetActivePage(QWidget *page)
{
    setCurrentIndex(pageIndex(page));
}

void TCustomPageControl98::pageChanged()
{
    refreshItems();
    if (onChange) {
        HostGuard::run([this] { onChange(*this); });
    }
}

void TCustomPageControl98::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    widget(index)->installEventFilter(this);
}

bool TCustomPageControl98::eventFilter(QObject *watched, QEvent *event)
{
    auto *page = qobject_cast<QWidget *>(watched);
    if (event->type() == QEvent::Hide && page && isVisible() && page->isAncestorOf(QApplication::focusWidget())) {
        // Left to the toolkit, the focus of a page going away would go to
        // the screen's window, which hands it to the first field of the
        // screen (entering the branch panel, say). Held by the tabs for the
        // moment, it goes on into the page shown next.
        tabBar()->setFocus(Qt::OtherFocusReason);
    }
    return QTabWidget::eventFilter(watched, event);
}

void TCustomPageControl98::focusShownPage()
{
    QWidget *page = currentWidget();
    const QWidget *focused = QApplication::focusWidget();
    if (!page || (focused && page->isAncestorOf(focused))) {
        return;
    }
    for (QWidget *candidate = page->nextInFocusChain(); candidate != page; candidate = candidate->nextInFocusChain()) {
        if (page->isAncestorOf(candidate) && (candidate->focusPolicy() & Qt::TabFocus) && candidate->isVisible()
            && candidate->isEnabled()) {
            candidate->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
