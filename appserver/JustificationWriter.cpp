#include "JustificationWriter.h"

#include "DayCount.h"
#include "DeltaRows.h"
#include "PacketLayouts.h"
#include "QuoteLines.h"
#include "QuoteStates.h"
#include "Refusal.h"
#include "Sql.h"
#include "SqlTransaction.h"
#include "StoredQuote.h"
#include "WriteOperator.h"

#include <QDateTime>

namespace {

const QStringList keyFields{QStringLiteral("CDFILIAL"), QStringLiteral("NRORCAEVENTO"), QStringLiteral("NRSEQORCAEVE")};
const QStringList dataFields{QStringLiteral("TXOBSJUSTORC"), QStringLiteral("DTHRHISTORCA"), QStringLiteral("CDOPERADOR")};
const QString operatorField = QStringLiteral("CDOPERADOR");

QString emptyOf(FieldType type)
{
    return type == FieldType::Float || type == FieldType::DateTime || type == FieldType::Integer ? QStringLiteral("0")
                                                                                                 : QStringLiteral("''");
}

QVariant storable(const DeltaRows &rows, const QVariantList &row, const QString &field)
{
    if (!rows.has(field) || rows.value(row, field).isNull()) {
        return {};
    }
    if (rows.type(field) == FieldType::Text || rows.type(field) == FieldType::Blob) {
        return rows.text(row, field);
    }
    return rows.value(row, field).toDouble();
}

FieldDef layoutField(const QString &name)
{
    const QList<FieldDef> layout = PacketLayouts::justificationFields();
    return layout.at(fieldIndex(layout, name));
}

// The quote stays locked until the transaction ends (StoredQuote::lock), so
// it cannot be re-enabled under a justification being written, and two
// writers of one quote's justification run one after the other.
void lockClosedQuote(const QSqlDatabase &db, const QuoteKey &key)
{
    const auto quote = StoredQuote::lock(db, key);
    if (!quote) {
        throw Refusal(QStringLiteral("O orçamento %1 não existe.").arg(key.display()));
    }
    if (!QuoteState::isWithdrawn(quote->state)) {
        throw Refusal(QStringLiteral("O orçamento %1 não está cancelado nem adiado; a justificativa não foi gravada.").arg(key.display()));
    }
}

// Keeps the justification stored now, before an update or a delete replaces
// it.
void keepCurrent(const QSqlDatabase &db, const QuoteKey &key)
{
    QSqlQuery current = Sql::run(db, QStringLiteral(
        "SELECT TXOBSJUSTORC, DTHRHISTORCA, CDOPERADOR, NRHISTSITU, DTHRGRAVOBS FROM OBSJUSTORCA "
        "WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"), {key.branch, key.number, key.sequence});
    if (!current.next()) {
        return;
    }
    const int next = QuoteLines::next(db, QStringLiteral("HISTOBSJUSTORCA"), QStringLiteral("NRHISTOBS"), key);
    Sql::run(db, QStringLiteral(
        "INSERT INTO HISTOBSJUSTORCA (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRHISTOBS, TXOBSJUSTORC, DTHRHISTORCA, "
        "CDOPERADOR, NRHISTSITU, DTHRGRAVOBS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {key.branch, key.number, key.sequence, next, current.value(0), current.value(1), current.value(2), current.value(3),
         current.value(4)});
}

// The server's clock at the write, the one the state history is dated by.
double now()
{
    return DayCount::fromDateTime(QDateTime::currentDateTime());
}

// The state history line a text written now follows.
int lastStateLine(const QSqlDatabase &db, const QuoteKey &key)
{
    return QuoteLines::next(db, QStringLiteral("HISTSITUORCA"), QStringLiteral("NRHISTSITU"), key) - 1;
}

QString conflict(const QuoteKey &key)
{
    return QStringLiteral("A justificativa do orçamento %1 foi alterada por outro usuário. Liste os orçamentos novamente.").arg(key.display());
}

} // namespace

JustificationWriter::JustificationWriter(const QSqlDatabase &db, const QString &authenticatedOperator, const NoticeSource &notices)
    : m_db(db), m_operator(authenticatedOperator), m_notices(notices)
{
}

int JustificationWriter::apply(const ChangeDelta &delta)
{
    const DeltaRows rows(delta, PacketLayouts::justificationFields(), QStringLiteral("justificativa"));
    SqlTransaction transaction(m_db, m_notices);
    for (const RowChange &change : delta.changes) {
        const QVariantList &current = change.op == RowChange::Op::Insert ? change.newValues : change.oldValues;
        const QuoteKey key = rows.key(current);
        if (change.op == RowChange::Op::Insert) {
            lockClosedQuote(m_db, key);
            const QString named = rows.has(operatorField) ? rows.text(change.newValues, operatorField) : QString();
            const QString recorded = WriteOperator::resolve(m_operator, named, layoutField(operatorField));
            QSqlQuery present = Sql::run(m_db, QStringLiteral(
                "SELECT COUNT(*) FROM OBSJUSTORCA WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
                {key.branch, key.number, key.sequence});
            if (present.next() && present.value(0).toInt() > 0) {
                throw Refusal(conflict(key));
            }
            Sql::run(m_db, QStringLiteral(
                "INSERT INTO OBSJUSTORCA (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, TXOBSJUSTORC, DTHRHISTORCA, CDOPERADOR, "
                "NRHISTSITU, DTHRGRAVOBS) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                {key.branch, key.number, key.sequence, storable(rows, change.newValues, dataFields.at(0)),
                 storable(rows, change.newValues, dataFields.at(1)),
                 m_operator.isEmpty() ? storable(rows, change.newValues, operatorField) : QVariant(recorded), lastStateLine(m_db, key), now()});
            transaction.announce(key, QStringLiteral("justification"), recorded);
            continue;
        }
        // An update is checked against the original values of the fields it
        // changes, a delete against all of them: what it removes must be
        // what the operator saw.
        QStringList checked = rows.changedFields(change);
        QStringList sets;
        QVariantList setValues;
        QString changedBy = m_operator;
        if (change.op == RowChange::Op::Update) {
            for (const QString &field : keyFields) {
                if (checked.contains(field)) {
                    throw Refusal(QStringLiteral("A justificativa não pode mudar de orçamento (%1).").arg(key.display()));
                }
            }
            if (checked.isEmpty()) {
                continue;
            }
            const QString named = checked.contains(operatorField) ? rows.text(change.newValues, operatorField) : QString();
            const QString recorded = WriteOperator::resolve(m_operator, named, layoutField(operatorField));
            changedBy = recorded;
            for (const QString &field : checked) {
                if (field != operatorField || m_operator.isEmpty()) {
                    sets << field + QStringLiteral(" = ?");
                    setValues << storable(rows, change.newValues, field);
                }
            }
            if (!m_operator.isEmpty()) {
                sets << operatorField + QStringLiteral(" = ?");
                setValues << recorded;
            }
            sets << QStringLiteral("NRHISTSITU = ?") << QStringLiteral("DTHRGRAVOBS = ?");
            setValues << lastStateLine(m_db, key) << now();
        } else {
            for (const QString &field : dataFields) {
                if (!rows.has(field)) {
                    throw Refusal(QStringLiteral("A exclusão da justificativa do orçamento %1 deve trazer o valor original de %2.")
                                      .arg(key.display(), field));
                }
            }
            checked = dataFields;
        }
        lockClosedQuote(m_db, key);
        QStringList checks;
        QVariantList checkValues{key.branch, key.number, key.sequence};
        for (const QString &field : checked) {
            checks << QStringLiteral(" AND COALESCE(%1, %2) = ?").arg(field, emptyOf(rows.type(field)));
            checkValues << rows.comparable(change.oldValues, field);
        }
        keepCurrent(m_db, key);
        const QString where = QStringLiteral(" WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?") + checks.join(QString());
        QSqlQuery write = change.op == RowChange::Op::Update
            ? Sql::run(m_db, QStringLiteral("UPDATE OBSJUSTORCA SET ") + sets.join(QStringLiteral(", ")) + where, setValues + checkValues)
            : Sql::run(m_db, QStringLiteral("DELETE FROM OBSJUSTORCA") + where, checkValues);
        if (write.numRowsAffected() != 1) {
            throw Refusal(conflict(key));
        }
        transaction.announce(key, QStringLiteral("justification"), changedBy);
    }
    transaction.commit();
    return int(delta.changes.size());
}

void JustificationWriter::retire(const QSqlDatabase &db, const QuoteKey &key)
{
    keepCurrent(db, key);
    Sql::run(db, QStringLiteral("DELETE FROM OBSJUSTORCA WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
             {key.branch, key.number, key.sequence});
}
