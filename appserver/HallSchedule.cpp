#include "HallSchedule.h"

#include "PacketLayouts.h"
#include "QuoteStates.h"
#include "Refusal.h"
#include "Sql.h"
#include "SqlTransaction.h"

namespace {

const QString hallFree = QStringLiteral("OK");

QString blocked(const char *code, const QString &hall)
{
    return QString::fromLatin1(code) + QLatin1Char(':') + hall;
}

} // namespace

HallSchedule::HallSchedule(const QSqlDatabase &db)
    : m_db(db)
{
}

QString HallSchedule::verify(const StoredQuote &quote) const
{
    if (quote.hall.isEmpty() || quote.eventDay == 0) {
        return hallFree;
    }
    QSqlQuery limitQuery = Sql::run(m_db, QStringLiteral(
        "SELECT QTLIMAGENDIA FROM SALAOEVEN WHERE CDFILIAL = ? AND CDSALAOEVEN = ?"), {quote.key.branch, quote.hall});
    const int limit = limitQuery.next() ? limitQuery.value(0).toInt() : 0;
    if (limit <= 0) {
        return blocked("N_LIMITE_DEF", quote.hall);
    }
    QSqlQuery taken = Sql::run(m_db, QStringLiteral(
        "SELECT COUNT(*), COALESCE(SUM(CASE WHEN A.HREVENTO = ? THEN 1 ELSE 0 END), 0) "
        "FROM AGENDASALAO A JOIN ORCAEVENTO O ON O.CDFILIAL = A.CDFILIAL "
        "AND O.NRORCAEVENTO = A.NRORCAEVENTO AND O.NRSEQORCAEVE = A.NRSEQORCAEVE "
        "WHERE A.CDFILIAL = ? AND A.CDSALAOEVEN = ? AND A.DTEVENTO = ? AND A.IDSITAGENSAL <> ? "
        "AND NOT (A.NRORCAEVENTO = ? AND A.NRSEQORCAEVE = ?)"),
        {quote.eventHour, quote.key.branch, quote.hall, quote.eventDay, HallBooking::Released, quote.key.number, quote.key.sequence});
    taken.next();
    const int sameDay = taken.value(0).toInt();
    const int sameHour = taken.value(1).toInt();
    if (sameHour > 0) {
        return blocked("DTA_HRA_MARC", quote.hall);
    }
    if (sameDay >= limit) {
        return blocked("ACIMA_LIMITE", quote.hall);
    }
    return hallFree;
}

DataPacket HallSchedule::blockers(const StoredQuote &quote) const
{
    const QString answer = verify(quote);
    const bool sameHour = answer.startsWith(QLatin1String("DTA_HRA_MARC"));
    if (!sameHour && !answer.startsWith(QLatin1String("ACIMA_LIMITE"))) {
        DataPacket none;
        none.fields = PacketLayouts::hallBlockerFields();
        return none;
    }
    QSqlQuery query = Sql::run(m_db, QStringLiteral(
        "SELECT O.NRORCAEVENTO, O.NRSEQORCAEVE, O.NMFANTCLIE, O.IDSITUORCEVE, A.HREVENTO "
        "FROM AGENDASALAO A JOIN ORCAEVENTO O ON O.CDFILIAL = A.CDFILIAL "
        "AND O.NRORCAEVENTO = A.NRORCAEVENTO AND O.NRSEQORCAEVE = A.NRSEQORCAEVE "
        "WHERE A.CDFILIAL = ? AND A.CDSALAOEVEN = ? AND A.DTEVENTO = ? AND A.IDSITAGENSAL <> ? "
        "AND NOT (A.NRORCAEVENTO = ? AND A.NRSEQORCAEVE = ?) "
        "AND (? = 0 OR A.HREVENTO = ?) "
        "ORDER BY A.HREVENTO, O.NRORCAEVENTO, O.NRSEQORCAEVE"),
        {quote.key.branch, quote.hall, quote.eventDay, HallBooking::Released, quote.key.number, quote.key.sequence,
         sameHour ? 1 : 0, quote.eventHour});
    return PacketLayouts::read(query, PacketLayouts::hallBlockerFields());
}

void HallSchedule::book(const StoredQuote &quote, const QString &scheduleState)
{
    if (quote.hall.isEmpty() || quote.eventDay == 0) {
        return;
    }
    // Touching the hall row queues every other booking of this hall behind
    // ours, so two re-enabled quotes cannot both take its last place.
    Sql::run(m_db, QStringLiteral("UPDATE SALAOEVEN SET QTLIMAGENDIA = QTLIMAGENDIA WHERE CDFILIAL = ? AND CDSALAOEVEN = ?"),
             {quote.key.branch, quote.hall});
    const QString answer = verify(quote);
    if (answer != hallFree) {
        throw Refusal(messageFor(answer));
    }
    QSqlQuery update = Sql::run(m_db, QStringLiteral(
        "UPDATE AGENDASALAO SET CDSALAOEVEN = ?, DTEVENTO = ?, HREVENTO = ?, IDSITAGENSAL = ? "
        "WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
        {quote.hall, quote.eventDay, quote.eventHour, scheduleState, quote.key.branch, quote.key.number, quote.key.sequence});
    if (update.numRowsAffected() == 0) {
        Sql::run(m_db, QStringLiteral(
            "INSERT INTO AGENDASALAO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDSALAOEVEN, DTEVENTO, HREVENTO, IDSITAGENSAL) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {quote.key.branch, quote.key.number, quote.key.sequence, quote.hall, quote.eventDay, quote.eventHour, scheduleState});
    }
}

void HallSchedule::release(const QuoteKey &key)
{
    Sql::run(m_db, QStringLiteral(
        "UPDATE AGENDASALAO SET IDSITAGENSAL = ? WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
        {HallBooking::Released, key.branch, key.number, key.sequence});
}

void HallSchedule::tell(const QuoteKey &key, const QString &letter, const NoticeSource &notices, const QString &operatorCode)
{
    SqlTransaction transaction(m_db, notices);
    // Locked: a re-enable running meanwhile must not find its fresh booking
    // released by a "C" that read the quote while it was still cancelled.
    const auto quote = StoredQuote::lock(m_db, key);
    if (!quote) {
        throw Refusal(QStringLiteral("O orçamento %1 não existe.").arg(key.display()));
    }
    if (!HallBooking::fits(letter, quote->state)) {
        throw Refusal(QStringLiteral("A agenda do salão não aceita \"%1\" para o orçamento %2, que está na situação %3.")
                          .arg(letter, key.display(), quote->state));
    }
    if (letter == HallBooking::Released) {
        release(key);
    } else {
        book(*quote, letter);
    }
    transaction.announce(key, QStringLiteral("hall"), operatorCode);
    transaction.commit();
}

QString HallSchedule::messageFor(const QString &answer)
{
    const QString hall = answer.mid(13);
    if (answer.startsWith(QLatin1String("ACIMA_LIMITE"))) {
        return QStringLiteral("Limite de agendamentos para o salão %1 foi atingido. Operação bloqueada.").arg(hall);
    }
    if (answer.startsWith(QLatin1String("N_LIMITE_DEF"))) {
        return QStringLiteral("Não há limite de agendamento parametrizado para o salão %1. Operação bloqueada.").arg(hall);
    }
    if (answer.startsWith(QLatin1String("DTA_HRA_MARC"))) {
        return QStringLiteral("O salão %1 já possui evento(s) marcado(s) para a data e hora selecionada no orçamento. Operação bloqueada.").arg(hall);
    }
    return answer;
}
