#include "TCustomPageControl98.h"

#include "HostGuard.h"

#include <QSignalBlocker>
#include <QTabBar>

#include <stdexcept>

TCustomPageControl98::TCustomPageControl98(QWidget *parent)
    : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &TCustomPageControl98::pageChanged);
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
    refreshItems();
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
