#pragma once

class THostForm;

// What each operator makes of a screen's layout, kept in the user's settings
// per operator and screen code: the size of its window, whether it is
// maximised, and the widths of the columns of its grids (by field, so a
// column moved or added later keeps its own width).
namespace ScreenLayout {

// Gives the screen's window (already in the document area) the size, the
// maximised state and the column widths saved for the logged operator.
// When nothing was saved the window keeps its designed height and is widened
// to show its grids' columns, as far as the document area allows.
void Restore(THostForm &form);

// Saves them as they are now. A screen outside the document area, or opened
// with no operator logged in, keeps nothing.
void Save(const THostForm &form);

} // namespace ScreenLayout
