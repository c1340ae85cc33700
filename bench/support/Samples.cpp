#include "Samples.h"

#include <algorithm>
#include <cmath>

double Samples::percentile(double percent) const
{
    if (m_values.isEmpty()) {
        return 0;
    }
    QList<double> sorted = m_values;
    std::sort(sorted.begin(), sorted.end());
    if (percent == 50 && sorted.size() % 2 == 0) {
        const qsizetype upper = sorted.size() / 2;
        return (sorted.at(upper - 1) + sorted.at(upper)) / 2;
    }
    const auto rank = qsizetype(std::ceil(percent / 100.0 * double(sorted.size())));
    return sorted.at(std::clamp<qsizetype>(rank - 1, 0, sorted.size() - 1));
}
