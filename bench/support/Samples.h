#pragma once

#include <QList>

// Measured durations (or any values) and their order statistics.
class Samples final {
public:
    void add(double value) { m_values.append(value); }
    void merge(const Samples &other) { m_values.append(other.m_values); }
    qsizetype count() const { return m_values.size(); }
    // The median; 0 for no samples.
    double median() const { return percentile(50); }
    // The nearest-rank percentile (0..100); 0 for no samples.
    double percentile(double percent) const;

private:
    QList<double> m_values;
};
