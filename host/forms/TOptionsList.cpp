#include "TOptionsList.h"

namespace {
QString nameOf(const QString &line)
{
    const qsizetype bar = line.indexOf(QLatin1Char('='));
    return bar < 0 ? line : line.left(bar);
}
} // namespace

int TOptionsList::indexOfName(const QString &name) const
{
    for (int index = 0; index < m_lines.size(); ++index) {
        if (nameOf(m_lines.at(index)).compare(name, Qt::CaseInsensitive) == 0) {
            return index;
        }
    }
    return -1;
}

QString TOptionsList::Values(const QString &name) const
{
    const int index = indexOfName(name);
    if (index < 0) {
        return {};
    }
    const QString &line = m_lines.at(index);
    const qsizetype bar = line.indexOf(QLatin1Char('='));
    return bar < 0 ? QString() : line.mid(bar + 1);
}

void TOptionsList::SetValues(const QString &name, const QString &value)
{
    const int index = indexOfName(name);
    if (value.isEmpty()) {
        if (index >= 0) {
            m_lines.removeAt(index);
        }
        return;
    }
    const QString line = name + QLatin1Char('=') + value;
    if (index >= 0) {
        m_lines[index] = line;
    } else {
        m_lines.append(line);
    }
}
