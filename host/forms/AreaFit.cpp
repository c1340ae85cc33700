#include "AreaFit.h"

#include <algorithm>

namespace AreaFit {

QRect inside(const QRect &wanted, const QSize &least, const QSize &area)
{
    const QSize size = wanted.size().expandedTo(least).boundedTo(area);
    return {QPoint(std::clamp(wanted.x(), 0, area.width() - size.width()),
                   std::clamp(wanted.y(), 0, area.height() - size.height())),
            size};
}

} // namespace AreaFit
