#include "ExportCounts.h"

#include "RecordList.h"

#include <QMap>

const QString ExportCounts::noReason = QStringLiteral("(sem motivo)");
const QStringList ExportCounts::stateTitles{QStringLiteral("Situação"), QStringLiteral("Quantidade")};
const QStringList ExportCounts::reasonTitles{QStringLiteral("Motivo"), QStringLiteral("Descrição do motivo"),
                                             QStringLiteral("Quantidade")};

ExportCounts ExportCounts::of(const RecordList &list, const ExportRequest &request)
{
    const int state = list.fieldByName(request.stateField).index();
    const int reason = list.fieldByName(request.reasonField).index();
    QMap<QString, int> byState;
    QMap<QString, int> byReason;
    for (int row = 0; row < list.recordCount(); ++row) {
        ++byState[list.displayTextAt(row, state)];
        const QString code = list.valueAt(row, reason).toString();
        ++byReason[code.trimmed().isEmpty() ? noReason : code];
    }
    ExportCounts counts;
    for (auto it = byState.cbegin(); it != byState.cend(); ++it) {
        counts.byState << ByState{it.key(), it.value()};
    }
    for (auto it = byReason.cbegin(); it != byReason.cend(); ++it) {
        counts.byReason << ByReason{it.key(), request.reasonNames.value(it.key()), it.value()};
    }
    return counts;
}
