#pragma once

class QMdiArea;
class THostForm;

// The host client's document area, where the screens live as windows. The
// client hands its area over once at start-up; screens are then shown with
// ShowChild. Activating a screen's window runs its FormActivate (inside the
// host guard) when the operator comes to it from another screen or opens it
// again: not when the same window is active again after the application was
// in the background, nor while the busy indicator is up. Closing the window
// runs the screen's close handling (THostForm::FormClose and, with caFree,
// FormDestroy and destruction). Maximising, restoring or minimising a
// screen's window, in any way, leaves its focus where it was and raises no
// enter or exit.
namespace HostMdi {

// Sets the area (nullptr forgets it). Screens already in an earlier area
// stay where they are but are no longer activated through it. While the area
// is set, a window neither maximized nor minimized is shrunk and moved to
// stay wholly inside it whenever the area gets smaller, and activating a
// window leaves the others maximized or not as they were.
void SetArea(QMdiArea *area);
QMdiArea *Area();

// Shows `form` in the area: puts it into a window the first time (and only
// then), filling the area or in the layout the operator left it in
// (ScreenLayout); later, shows that window again: in normal size when it was
// minimized, else as it was (maximized stays so). Brings it to the front as the
// active one. Throws std::logic_error when no area is set and
// std::invalid_argument for a null form.
void ShowChild(THostForm *form);

} // namespace HostMdi
