#include "DemoSeeder.h"

#include "BulkInserter.h"
#include "DayCount.h"
#include "QuoteStates.h"
#include "SchemaMigrator.h"
#include "Sql.h"
#include "SqlTransaction.h"

#include <QDate>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>

#include <cmath>

namespace {

const QStringList businessTables{
    QStringLiteral("HISTSITUORCA"), QStringLiteral("HISTOBSJUSTORCA"), QStringLiteral("AGENDASALAO"),
    QStringLiteral("OBSJUSTORCA"), QStringLiteral("ITEMORCAEVEN"), QStringLiteral("ORCAEVENTO"),
    QStringLiteral("SALAOEVEN"), QStringLiteral("PARAMORCA"), QStringLiteral("JUSTEXCHIS"), QStringLiteral("PRECOBASE")};

const QStringList lookupTables{
    QStringLiteral("ENDECLIE"), QStringLiteral("CLIENTE"), QStringLiteral("MUNICIPIO"), QStringLiteral("PAIS"),
    QStringLiteral("PRODUTO"), QStringLiteral("TIPOEVENTO"), QStringLiteral("TIPOSERVEVEN"), QStringLiteral("VENDEDOR"),
    QStringLiteral("FILIAL")};

const char *const hours[] = {"12:00", "13:00", "18:00", "19:00", "19:30", "20:00", "21:00"};
const char *const operators[] = {"ADMIN", "MSOUZA", "JSILVA", "APEREIRA", "RCOSTA", "FLIMA"};
const char *const firstNames[] = {"Ana", "Maria", "Juliana", "Camila", "Beatriz", "Larissa", "João", "Pedro", "Lucas",
                                  "Rafael", "Carlos", "Felipe", "Helena", "Luíza", "Otávio", "Sebastião"};
const char *const lastNames[] = {"Silva", "Santos", "Oliveira", "Souza", "Ferreira", "Almeida", "Ribeiro", "Carvalho",
                                 "Gomes", "Araújo", "Magalhães", "Nascimento"};
const char *const courses[] = {"Direito", "Medicina", "Engenharia Civil", "Administração", "Odontologia", "Pedagogia"};
const char *const justifications[] = {
    "Cliente informou a desistência por telefone.",
    "Evento remarcado para o próximo semestre; aguardar nova data.",
    "Cliente fechou com outro buffet pelo preço.",
    "Noivos pediram adiamento por motivo de saúde na família.",
    "Empresa cancelou a confraternização por corte de orçamento.",
    "Orçamento refeito com outra quantidade de convidados.",
};

template<typename T, std::size_t N>
const T &pick(QRandomGenerator &random, const T (&values)[N])
{
    return values[random.bounded(quint32(N))];
}

QString code(qint64 number, int width)
{
    return QString::number(number).rightJustified(width, QLatin1Char('0'));
}

QString title(QRandomGenerator &random, const QString &eventType, int year)
{
    const QString first = QString::fromUtf8(pick(random, firstNames));
    const QString second = QString::fromUtf8(pick(random, firstNames));
    const QString family = QString::fromUtf8(pick(random, lastNames));
    switch (random.bounded(4)) {
    case 0:
        return QStringLiteral("%1 de %2 e %3").arg(eventType, first, second);
    case 1:
        return QStringLiteral("%1 - família %2").arg(eventType, family);
    case 2:
        return QStringLiteral("%1 turma %2 %3").arg(eventType, QString::fromUtf8(pick(random, courses))).arg(year);
    default:
        return QStringLiteral("%1 de %2 %3").arg(eventType, first, family);
    }
}

double money(double value)
{
    return std::round(value * 100.0) / 100.0;
}

} // namespace

DemoSeeder::DemoSeeder(quint32 seedValue)
    : m_seedValue(seedValue), m_reference(seedValue)
{
}

void DemoSeeder::replaceTables(const QSqlDatabase &db, const QList<DemoReference::Table> &tables)
{
    for (const DemoReference::Table &table : tables) {
        BulkInserter insert(db, table.name, table.columns);
        for (const QVariantList &row : table.rows) {
            insert.add(row);
        }
        insert.finish();
    }
}

void DemoSeeder::fillLocal(const QSqlDatabase &db)
{
    if (!db.tables().contains(QStringLiteral("FILIAL"), Qt::CaseInsensitive)) {
        SchemaMigrator(db).runFile(SchemaMigrator::migrationFiles().constFirst());
    }
    SqlTransaction transaction(db);
    for (const QString &table : lookupTables) {
        Sql::run(db, QStringLiteral("DELETE FROM ") + table);
    }
    replaceTables(db, m_reference.lookupTables());
    transaction.commit();
}

void DemoSeeder::fillServer(const QSqlDatabase &db, int quoteCount)
{
    const bool sqlite = !Sql::isPostgres(db);
    if (sqlite) {
        // A seed is a fresh start: trade durability of the load for speed.
        Sql::run(db, QStringLiteral("PRAGMA synchronous = OFF"));
        Sql::run(db, QStringLiteral("PRAGMA cache_size = -262144"));
        Sql::run(db, QStringLiteral("PRAGMA temp_store = MEMORY"));
    }
    {
        SqlTransaction transaction(db);
        // Items and justifications reach the database in their own batches,
        // possibly before the batch holding their quote.
        Sql::run(db, sqlite ? QStringLiteral("PRAGMA defer_foreign_keys = ON") : QStringLiteral("SET CONSTRAINTS ALL DEFERRED"));
        for (const QString &table : businessTables + lookupTables) {
            Sql::run(db, QStringLiteral("DELETE FROM ") + table);
        }
        replaceTables(db, m_reference.lookupTables());
        replaceTables(db, m_reference.serverTables());
        fillQuotes(db, quoteCount);
        transaction.commit();
    }
    Sql::run(db, QStringLiteral("ANALYZE"));
    if (sqlite) {
        Sql::run(db, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        Sql::run(db, QStringLiteral("PRAGMA synchronous = NORMAL"));
    }
}

void DemoSeeder::fillQuotes(const QSqlDatabase &db, int quoteCount)
{
    const DemoReference &ref = m_reference;
    QRandomGenerator random(m_seedValue ^ 0x5eed5eedU);
    BulkInserter quotes(db, QStringLiteral("ORCAEVENTO"),
                        {QStringLiteral("CDFILIAL"), QStringLiteral("NRORCAEVENTO"), QStringLiteral("NRSEQORCAEVE"), QStringLiteral("NMCLIEORCEVE"),
                         QStringLiteral("NMFANTCLIE"), QStringLiteral("IDSITUORCEVE"), QStringLiteral("CDTPSERVEVEN"), QStringLiteral("NMTPSERVEVEN"),
                         QStringLiteral("CDTIPOEVENTO"), QStringLiteral("NMTIPOEVENTO"), QStringLiteral("QTCONVORCEVE"), QStringLiteral("DSPRECOBASE"),
                         QStringLiteral("CDPRECOBASE"), QStringLiteral("CDVENDEDOR"), QStringLiteral("CDCLIENTE"), QStringLiteral("DSTITUORCEVE"),
                         QStringLiteral("CDJUSTEXCHIS"), QStringLiteral("DTEVENTO"), QStringLiteral("DTVALIORCEVE"), QStringLiteral("DTINCLORCEVE"),
                         QStringLiteral("CDOPEJUSTORC"), QStringLiteral("CDSALAOEVEN"), QStringLiteral("HREVENTO"), QStringLiteral("IDSITUANTORC")});
    BulkInserter items(db, QStringLiteral("ITEMORCAEVEN"),
                       {QStringLiteral("CDFILIAL"), QStringLiteral("NRORCAEVENTO"), QStringLiteral("NRSEQORCAEVE"), QStringLiteral("NRITEMORCEVE"),
                        QStringLiteral("CDPRODUTO"), QStringLiteral("IDITOREVPROD"), QStringLiteral("NROPCAITOREV"), QStringLiteral("CDGRTOTAPROD"),
                        QStringLiteral("QTITEMORCEVE"), QStringLiteral("SGUNIDADE"), QStringLiteral("VRITEMORCEVE"), QStringLiteral("VRACREITOREV"),
                        QStringLiteral("VRDESCITOREV")});
    BulkInserter bookings(db, QStringLiteral("AGENDASALAO"),
                          {QStringLiteral("CDFILIAL"), QStringLiteral("NRORCAEVENTO"), QStringLiteral("NRSEQORCAEVE"), QStringLiteral("CDSALAOEVEN"),
                           QStringLiteral("DTEVENTO"), QStringLiteral("HREVENTO"), QStringLiteral("IDSITAGENSAL")});
    BulkInserter history(db, QStringLiteral("HISTSITUORCA"),
                         {QStringLiteral("CDFILIAL"), QStringLiteral("NRORCAEVENTO"), QStringLiteral("NRSEQORCAEVE"), QStringLiteral("NRHISTSITU"),
                          QStringLiteral("DTHRHISTSITU"), QStringLiteral("IDSITUANTORC"), QStringLiteral("IDSITUORCEVE"), QStringLiteral("CDJUSTEXCHIS"),
                          QStringLiteral("CDOPERADOR")});
    BulkInserter notes(db, QStringLiteral("OBSJUSTORCA"),
                       {QStringLiteral("CDFILIAL"), QStringLiteral("NRORCAEVENTO"), QStringLiteral("NRSEQORCAEVE"), QStringLiteral("TXOBSJUSTORC"),
                        QStringLiteral("DTHRHISTORCA"), QStringLiteral("CDOPERADOR")});

    const double firstDay = DayCount::fromDate(QDate(2026, 1, 5));
    QHash<QString, int> bookedPerDay;
    QSet<QString> bookedHours;
    const int branchCount = int(ref.branches.size());
    for (int b = 0; b < branchCount; ++b) {
        const QString branch = ref.branches.at(b);
        QList<const DemoReference::Hall *> halls;
        for (const DemoReference::Hall &hall : ref.halls) {
            if (hall.branch == branch) {
                halls << &hall;
            }
        }
        const int perBranch = quoteCount / branchCount + (b < quoteCount % branchCount ? 1 : 0);
        for (int k = 0; k < perBranch; ++k) {
            // Every fifth row is a second version ("02") of the quote before it.
            const QString number = code(k - (k + 1) / 5 + 1, 10);
            const QString sequence = k % 5 == 4 ? QStringLiteral("02") : QStringLiteral("01");
            const int roll = int(random.bounded(100));
            const QString state = roll < 40   ? QuoteState::Pending
                                  : roll < 75 ? QuoteState::Approved
                                  : roll < 90 ? QuoteState::Cancelled
                                              : QuoteState::Postponed;
            const bool closed = QuoteState::isWithdrawn(state);
            const auto &eventType = ref.eventTypes.at(int(random.bounded(quint32(ref.eventTypes.size()))));
            const auto &serviceType = ref.serviceTypes.at(int(random.bounded(quint32(ref.serviceTypes.size()))));
            const auto &priceBase = ref.priceBases.at(int(random.bounded(quint32(ref.priceBases.size()))));
            const QString seller = ref.sellers.at(int(random.bounded(quint32(ref.sellers.size()))));
            QVariant clientCode;
            QVariant newClientName;
            QString tradeName;
            if (random.bounded(5) == 0) {
                tradeName = QStringLiteral("%1 %2").arg(QString::fromUtf8(pick(random, firstNames)), QString::fromUtf8(pick(random, lastNames)));
                newClientName = tradeName;
            } else {
                const DemoReference::Client &client = ref.clients.at(int(random.bounded(quint32(ref.clients.size()))));
                clientCode = client.code;
                tradeName = client.tradeName;
            }
            const int guests = int(random.bounded(20, 401));
            const double created = firstDay + random.bounded(540) + (9 + random.bounded(9)) / 24.0;
            const QString hour = QString::fromLatin1(pick(random, hours));
            const double eventDay = std::floor(created) + 20 + random.bounded(300);
            const double eventAt = eventDay + (hour.left(2).toInt() * 60 + hour.mid(3).toInt()) / 1440.0;
            const QString eventTitle = title(random, eventType.second, QDate(1899, 12, 30).addDays(qint64(eventDay)).year());

            QString hall;
            QString bookingState;
            if (closed) {
                if (random.bounded(10) < 7) {
                    hall = halls.at(int(random.bounded(quint32(halls.size()))))->code;
                    bookingState = HallBooking::Released;
                }
            } else if (random.bounded(10) < 8) {
                const DemoReference::Hall *wanted = halls.at(int(random.bounded(quint32(halls.size()))));
                const QString dayKey = QStringLiteral("%1|%2|%3").arg(branch, wanted->code).arg(qint64(eventDay));
                const QString hourKey = dayKey + QLatin1Char('|') + hour;
                if (wanted->dailyLimit > 0 && bookedPerDay.value(dayKey) < wanted->dailyLimit && !bookedHours.contains(hourKey)) {
                    hall = wanted->code;
                    bookingState = HallBooking::forState(state);
                    bookedPerDay[dayKey] += 1;
                    bookedHours.insert(hourKey);
                }
            }
            QVariant reason;
            QVariant operatorCode;
            QVariant previous;
            if (closed) {
                reason = ref.reasons.at(int(random.bounded(quint32(ref.reasons.size()))));
                operatorCode = QString::fromLatin1(pick(random, operators));
                previous = random.bounded(2) == 0 ? QuoteState::Pending : QuoteState::Approved;
            }
            quotes.add({branch, number, sequence, newClientName, tradeName, state, serviceType.first, serviceType.second,
                        eventType.first, eventType.second, double(guests), priceBase.second, priceBase.first, seller, clientCode,
                        eventTitle, reason, eventAt, std::floor(created) + 30, created, operatorCode,
                        hall.isEmpty() ? QVariant() : QVariant(hall), hour, previous});

            const int itemCount = 1 + int(random.bounded(3));
            for (int i = 0; i < itemCount; ++i) {
                const int productIndex = int(random.bounded(quint32(ref.products.size())));
                const DemoReference::Product &product = ref.products.at(productIndex);
                const double quantity = product.perGuest ? guests : double(random.bounded(1, 20));
                const double discount = random.bounded(4) == 0 ? money(product.price * quantity * 0.05) : 0.0;
                const double surcharge = random.bounded(10) == 0 ? money(product.price * 0.10) : 0.0;
                items.add({branch, number, sequence, code(i + 1, 3), product.code, QStringLiteral("P"), QStringLiteral("01"),
                           code(productIndex / 8 + 1, 3), quantity, product.unit, product.price, surcharge, discount});
            }
            if (!hall.isEmpty()) {
                bookings.add({branch, number, sequence, hall, eventDay, hour, bookingState});
            }
            if (closed) {
                const double changedAt = std::floor(created) + 1 + random.bounded(15) + 0.5;
                history.add({branch, number, sequence, 1, changedAt, previous, state, reason, operatorCode});
                if (random.bounded(2) == 0) {
                    notes.add({branch, number, sequence, QString::fromUtf8(pick(random, justifications)), std::floor(changedAt), operatorCode});
                }
            }
        }
    }
    quotes.finish();
    items.finish();
    bookings.finish();
    history.finish();
    notes.finish();
}
