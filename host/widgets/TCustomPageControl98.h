#pragma once

#include <QAction>
#include <QHash>
#include <QPointer>
#include <QTabWidget>

#include <functional>

// The host's page control: tabbed pages that can each be enabled or disabled.
// A disabled page shows a greyed tab, its controls are disabled, and the
// operator cannot reach it by clicking its tab, with Ctrl+Tab or with the
// arrow keys on the tabs. Disabling the active page leaves it active (the
// toolkit would otherwise jump to a neighbour); the screen decides where to go.
// A change of page that hides the focused control moves the focus into the
// page shown (never to the first field of the screen), and a page chosen
// through its paired menu item or its keys takes the focus into its first
// control.
//
// Keys: Ctrl+Tab and Ctrl+PgDn show the next enabled page, Ctrl+Shift+Tab and
// Ctrl+PgUp the previous one, going round past the last and the first. They
// work while the focus is inside the page control, or anywhere inside the
// screen given to reachPagesFrom; there they win over the document area's
// own Ctrl+Tab. A disabled page control keeps its page.
class TCustomPageControl98 final : public QTabWidget {
    Q_OBJECT
public:
    explicit TCustomPageControl98(QWidget *parent = nullptr);

    // Each throws std::invalid_argument when `page` is not one of the pages.
    void setPageEnabled(QWidget *page, bool enabled);
    bool isPageEnabled(QWidget *page) const;
    // Makes `page` the active page from code, whether or not it is enabled:
    // the program may show a page the operator may not choose himself.
    void SetActivePage(QWidget *page);

    QWidget *activePage() const { return currentWidget(); }

    // Pairs a page with the menu item that shows it: the item is enabled
    // exactly when the page is, and checked exactly when it is the active
    // page, whatever changed them. Once the item has shown its page, the
    // focus goes into that page. The item is not owned.
    void pairPage(QWidget *page, QAction *item);

    // Shows the next enabled page (or the previous one), as the page keys do.
    void selectNextPage(bool forward);
    // The page keys work wherever the focus is inside `screen`, not only
    // inside the page control.
    void reachPagesFrom(QWidget *screen);

    // Runs after every change of the active page, whatever made it: a click,
    // the keyboard, or SetActivePage from code (not when the page asked for is
    // already active). Runs inside the host guard: an abort stops it silently,
    // another failure is shown in the error box; the page stays changed.
    std::function<void(TCustomPageControl98 &sender)> onChange;

protected:
    void tabInserted(int index) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int pageIndex(QWidget *page) const; // throws std::invalid_argument
    void pageChanged();
    void focusShownPage();
    void refreshItems();

    QHash<QWidget *, QPointer<QAction>> m_items;
    QList<QAction *> m_pageKeys;
};
