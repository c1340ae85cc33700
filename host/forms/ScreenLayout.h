#pragma once

class THostForm;

// What each operator makes of a screen's layout, kept in the user's settings
// per operator and screen code: the place and size of its window when not
// maximised, whether it is maximised, and the widths of the columns of its
// grids (by field, so a column moved or added later keeps its own width).
namespace ScreenLayout {

// Lays out the screen's window, just put into the document area in its
// designed size, and says whether it is to fill the area, maximised (the
// caller maximises it). A screen seen for the first time (or opened with no
// operator logged in) is to fill it; restored, it takes its designed size
// widened to show its grids' columns. Otherwise it gets the geometry, the
// maximised state and the column widths saved for the logged operator.
// Either way the normal geometry lies wholly inside the area, and is no
// smaller than the designed size unless the area itself is.
bool Restore(THostForm &form);

// Saves them as they are now (for a maximised window, the geometry it goes
// back to). A screen outside the document area, or opened with no operator
// logged in, keeps nothing.
void Save(const THostForm &form);

} // namespace ScreenLayout
