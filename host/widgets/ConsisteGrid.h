#pragma once

#include <QString>

class TDBGrid;

// The grid half of the host's validation routines: it lives with the grid so
// that the core routines do not depend on the controls.
namespace Consiste {

// The index of the grid column that shows the field `fieldName`, -1 when no
// column of the grid shows it (or no list is bound).
int IndiceCol(const TDBGrid &grid, const QString &fieldName);

} // namespace Consiste
