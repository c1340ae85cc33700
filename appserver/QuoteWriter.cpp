#include "QuoteWriter.h"

#include "DeltaRows.h"
#include "PacketLayouts.h"
#include "QuoteStates.h"
#include "Refusal.h"
#include "Sql.h"
#include "SqlTransaction.h"
#include "StateHistory.h"
#include "WriteOperator.h"

namespace {

const QString stateField = QStringLiteral("IDSITUORCEVE");
const QString reasonField = QStringLiteral("CDJUSTEXCHIS");
const QString operatorField = QStringLiteral("CDOPEJUSTORC");
// The screen's mark column travels with the row but is never stored.
const QString markField = QStringLiteral("IDCHECK");

void checkReason(const QSqlDatabase &db, const QString &reason)
{
    QSqlQuery query = Sql::run(db, QStringLiteral("SELECT COUNT(*) FROM JUSTEXCHIS WHERE CDJUSTEXCHIS = ?"), {reason});
    if (reason.trimmed().isEmpty() || !query.next() || query.value(0).toInt() == 0) {
        throw Refusal(QStringLiteral("Motivo \"%1\" não cadastrado.").arg(reason));
    }
}

bool exists(const QSqlDatabase &db, const QuoteKey &key)
{
    QSqlQuery query = Sql::run(db, QStringLiteral(
        "SELECT COUNT(*) FROM ORCAEVENTO WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
        {key.branch, key.number, key.sequence});
    return query.next() && query.value(0).toInt() > 0;
}

} // namespace

QuoteWriter::QuoteWriter(const QSqlDatabase &db, const QString &authenticatedOperator, const NoticeSource &notices)
    : m_db(db), m_operator(authenticatedOperator), m_notices(notices)
{
}

int QuoteWriter::apply(const ChangeDelta &delta)
{
    const QString what = QStringLiteral("orçamento");
    const DeltaRows rows(delta, PacketLayouts::quoteFields(), what);
    if (!rows.has(stateField)) {
        throw Refusal(QStringLiteral("Falta o campo %1 nas alterações de orçamento.").arg(stateField));
    }
    SqlTransaction transaction(m_db, m_notices);
    for (const RowChange &change : delta.changes) {
        if (change.op != RowChange::Op::Update) {
            throw Refusal(QStringLiteral("Esta operação não inclui nem exclui orçamentos."));
        }
        const QuoteKey key = rows.key(change.oldValues);
        QStringList changed = rows.changedFields(change);
        changed.removeAll(markField);
        if (changed.isEmpty()) {
            continue;
        }
        for (const QString &field : changed) {
            if (field != stateField && field != reasonField && field != operatorField) {
                throw Refusal(QStringLiteral("O campo %1 do orçamento %2 não pode ser alterado por esta operação.").arg(field, key.display()));
            }
        }
        const QString oldState = rows.text(change.oldValues, stateField);
        const QString newState = rows.text(change.newValues, stateField);
        if (!QuoteState::isOpen(oldState) || !QuoteState::isWithdrawn(newState)) {
            throw Refusal(QStringLiteral("O orçamento %1 só pode passar de Pendente ou Aprovado para Cancelado ou Adiado.").arg(key.display()));
        }
        const QString reason = rows.has(reasonField) ? rows.text(change.newValues, reasonField) : QString();
        const QString operatorCode = WriteOperator::resolve(
            m_operator, rows.has(operatorField) ? rows.text(change.newValues, operatorField) : QString(), StateHistory::operatorField());
        checkReason(m_db, reason);
        if (operatorCode.trimmed().isEmpty()) {
            throw Refusal(QStringLiteral("O operador que justificou o orçamento %1 deve ser informado.").arg(key.display()));
        }
        // The row must still hold what the operator saw in every field this
        // change touches; otherwise someone else got there first.
        QStringList checks;
        QVariantList values{newState, reason, operatorCode, oldState, key.branch, key.number, key.sequence};
        for (const QString &field : changed) {
            checks << QStringLiteral(" AND COALESCE(%1, '') = ?").arg(field);
            values << rows.text(change.oldValues, field);
        }
        QSqlQuery update = Sql::run(m_db, QStringLiteral(
            "UPDATE ORCAEVENTO SET IDSITUORCEVE = ?, CDJUSTEXCHIS = ?, CDOPEJUSTORC = ?, IDSITUANTORC = ? "
            "WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?") + checks.join(QString()), values);
        if (update.numRowsAffected() != 1) {
            if (!exists(m_db, key)) {
                throw Refusal(QStringLiteral("O orçamento %1 não existe mais.").arg(key.display()));
            }
            throw Refusal(QStringLiteral("O orçamento %1 foi alterado por outro usuário. Liste os orçamentos novamente.").arg(key.display()));
        }
        StateHistory::append(m_db, key, oldState, newState, reason, operatorCode);
        transaction.announce(key, QStringLiteral("state"), operatorCode);
    }
    transaction.commit();
    return int(delta.changes.size());
}
