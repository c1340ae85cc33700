#include "Showavi.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QScreen>
#include <QWindow>

namespace {

constexpr int kindReading = 6;
constexpr int kindWriting = 1;

// A wait shorter than this shows only the wait cursor.
constexpr int blink = 150; // ms

struct Indicator {
    QList<int> kinds; // one entry per active level, innermost last
    QPointer<QLabel> panel;
    QElapsedTimer since; // started by the outermost level
    void (*outermostHook)(bool busy) = nullptr;
};

Indicator &indicator()
{
    static Indicator state;
    return state;
}

QString textOf(int kind)
{
    if (kind == kindReading) {
        return QStringLiteral("Lendo dados...");
    }
    if (kind == kindWriting) {
        return QStringLiteral("Gravando dados...");
    }
    return QStringLiteral("Processando...");
}

bool hasWidgets()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

QLabel *createPanel()
{
    auto *panel = new QLabel;
    panel->setObjectName(QStringLiteral("Showavi"));
    panel->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    panel->setAttribute(Qt::WA_ShowWithoutActivating);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setMargin(16);
    panel->setAutoFillBackground(true);
    QFont font = panel->font();
    font.setBold(true);
    panel->setFont(font);
    return panel;
}

void centre(QLabel *panel)
{
    panel->adjustSize();
    QRect area;
    if (const QWidget *active = QApplication::activeWindow()) {
        area = active->frameGeometry();
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    QRect frame = panel->frameGeometry();
    frame.moveCenter(area.center());
    panel->move(frame.topLeft());
}

void showPanel(int kind)
{
    Indicator &state = indicator();
    if (!state.panel) {
        state.panel = createPanel();
    }
    state.panel->setText(textOf(kind));
    centre(state.panel);
    state.panel->show();
    state.panel->repaint();
}

} // namespace

namespace Showavi {

void ActiveShowAvi(int kind)
{
    Indicator &state = indicator();
    state.kinds.append(kind);
    if (!hasWidgets()) {
        return;
    }
    if (state.kinds.size() == 1) {
        if (state.outermostHook) {
            state.outermostHook(true);
        }
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        state.since.start();
    }
    showPanel(kind);
}

void StillBusy()
{
    Indicator &state = indicator();
    if (state.kinds.isEmpty() || !state.panel || state.since.elapsed() < blink) {
        return;
    }
    // The window system's work and posted events only: the operator's keys
    // and clicks, and the timers, wait for the call to end.
    const auto windowSystemOnly =
        QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers;
    const bool wasOnScreen = state.panel->windowHandle() && state.panel->windowHandle()->isExposed();
    QCoreApplication::processEvents(windowSystemOnly);
    if (!wasOnScreen && state.panel && state.panel->windowHandle() && state.panel->windowHandle()->isExposed()) {
        state.panel->repaint();
        QCoreApplication::processEvents(windowSystemOnly);
    }
}

void DeactiveShowAvi()
{
    Indicator &state = indicator();
    if (state.kinds.isEmpty()) {
        return;
    }
    state.kinds.removeLast();
    if (!hasWidgets()) {
        return;
    }
    if (!state.kinds.isEmpty()) {
        showPanel(state.kinds.last());
        return;
    }
    if (state.panel) {
        state.panel->hide();
    }
    QApplication::restoreOverrideCursor();
    if (state.outermostHook) {
        state.outermostHook(false);
    }
}

bool IsActive()
{
    return !indicator().kinds.isEmpty();
}

int Depth()
{
    return static_cast<int>(indicator().kinds.size());
}

void SetOutermostHook(void (*hook)(bool busy))
{
    indicator().outermostHook = hook;
}

} // namespace Showavi
