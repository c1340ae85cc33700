#pragma once

#include <QRect>

// Where a document window may lie: all of it inside the area, never larger
// than the area, never smaller than `least` where the area has room for it,
// moved in as far as it has to. A size kept on a larger display shrinks to
// fit; an invalid `least` asks for no least size.
namespace AreaFit {

QRect inside(const QRect &wanted, const QSize &least, const QSize &area);

} // namespace AreaFit
