#include "Showavi.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QScreen>

namespace {

constexpr int kindReading = 6;
constexpr int kindWriting = 1;

struct Indicator {
    QList<int> kinds; // one entry per active level, innermost last
    QPointer<QLabel> panel;
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
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    showPanel(kind);
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
}

bool IsActive()
{
    return !indicator().kinds.isEmpty();
}

int Depth()
{
    return static_cast<int>(indicator().kinds.size());
}

} // namespace Showavi
