#include "LugarNaLista.h"

#include "RecordList.h"

#include <QHash>

namespace {

// The "number-sequence" of each row from `primeira` to the end.
QStringList chavesDesde(const RecordList &lista, int primeira)
{
    const int numero = lista.fieldByName(QStringLiteral("NRORCAEVENTO")).index();
    const int sequencia = lista.fieldByName(QStringLiteral("NRSEQORCAEVE")).index();
    QStringList chaves;
    chaves.reserve(lista.recordCount() - primeira);
    for (int linha = primeira; linha < lista.recordCount(); ++linha) {
        chaves << lista.valueAt(linha, numero).toString() + QLatin1Char('-') + lista.valueAt(linha, sequencia).toString();
    }
    return chaves;
}

} // namespace

std::optional<LugarNaLista> LugarNaLista::de(const RecordList &lista, int linhaNoTopo)
{
    if (!lista.isActive() || lista.isEmpty()) {
        return std::nullopt;
    }
    return LugarNaLista{chavesDesde(lista, lista.recNo()), lista.recNo() - linhaNoTopo};
}

int LugarNaLista::linhaEm(const RecordList &lista) const
{
    // Whatever the order shown (the list's own or a column's).
    const QStringList listadas = chavesDesde(lista, 0);
    QHash<QString, int> linhas;
    linhas.reserve(listadas.size());
    for (int linha = 0; linha < listadas.size(); ++linha) {
        linhas.insert(listadas.at(linha), linha);
    }
    for (const QString &chave : daquiEmDiante) {
        if (const auto achada = linhas.constFind(chave); achada != linhas.cend()) {
            return *achada;
        }
    }
    return lista.recordCount() - 1;
}
