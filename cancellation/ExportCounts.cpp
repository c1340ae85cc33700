#include "ExportCounts.h"

#include "ExportText.h"
#include "RecordList.h"

#include <QMap>

#include <string>
#include <unordered_map>

const QString ExportCounts::noReason = QStringLiteral("(sem motivo)");
const QStringList ExportCounts::stateTitles{QStringLiteral("Situação"), QStringLiteral("Quantidade")};
const QStringList ExportCounts::reasonTitles{QStringLiteral("Motivo"), QStringLiteral("Descrição do motivo"),
                                             QStringLiteral("Quantidade")};

ExportCounts ExportCounts::of(const RecordList &list, const ExportRequest &request)
{
    ExportText state(list, list.fieldByName(request.stateField).index());
    const int reason = list.fieldByName(request.reasonField).index();
    // One pass over the stored bytes, each distinct pair of state and reason
    // counted under one key; words and names are then found once a pair.
    struct Pair {
        int firstRow = 0;
        int quantity = 0;
    };
    std::unordered_map<std::string, Pair> pairs;
    std::string key;
    for (int row = 0; row < list.recordCount(); ++row) {
        const QByteArrayView stateBytes = list.storedTextAt(row, state.field());
        const QByteArrayView reasonBytes = list.storedTextAt(row, reason);
        key.assign(stateBytes.data(), size_t(stateBytes.size()));
        key.push_back('\0');
        key.append(reasonBytes.data(), size_t(reasonBytes.size()));
        Pair &pair = pairs[key];
        if (pair.quantity++ == 0) {
            pair.firstRow = row;
        }
    }
    QMap<QString, int> byState;
    QMap<QString, int> byReason;
    for (const auto &[bytes, pair] : pairs) {
        byState[QString::fromUtf8(state.utf8(pair.firstRow))] += pair.quantity;
        const QString code = list.valueAt(pair.firstRow, reason).toString();
        byReason[code.trimmed().isEmpty() ? noReason : code] += pair.quantity;
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
