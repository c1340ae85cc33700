#include "QuoteReader.h"

#include "PacketLayouts.h"
#include "PostgresPacketJson.h"
#include "PostgresRows.h"
#include "Sql.h"
#include "SqlitePacketJson.h"
#include "SqliteStatement.h"

QuoteReader::QuoteReader(const QSqlDatabase &db)
    : m_db(db)
{
}

QuoteReader::Statement QuoteReader::quotesStatement(const QString &branch, const QuoteListing &filter) const
{
    QStringList conditions{QStringLiteral("CDFILIAL = ?")};
    QVariantList values{branch};
    QuoteFilter::appendConditions(filter, m_db, conditions, values);
    const QString text = QStringLiteral(
        "SELECT NRORCAEVENTO, NRSEQORCAEVE, NMCLIEORCEVE, NMFANTCLIE, IDSITUORCEVE, "
        "CDTPSERVEVEN, NMTPSERVEVEN, CDTIPOEVENTO, NMTIPOEVENTO, CDFILIAL, QTCONVORCEVE, "
        "DSPRECOBASE, CDPRECOBASE, CDVENDEDOR, CDCLIENTE, DSTITUORCEVE, CDJUSTEXCHIS, "
        "DTEVENTO, DTVALIORCEVE, DTINCLORCEVE, CDOPEJUSTORC "
        "FROM ORCAEVENTO WHERE %1 ORDER BY NRORCAEVENTO, NRSEQORCAEVE").arg(conditions.join(QStringLiteral(" AND ")));
    return {text, values};
}

DataPacket QuoteReader::quotes(const QString &branch, const QuoteListing &filter) const
{
    const Statement listing = quotesStatement(branch, filter);
    QSqlQuery query = Sql::run(m_db, listing.text, listing.values);
    return PacketLayouts::read(query, PacketLayouts::quoteFields(), 1);
}

qsizetype QuoteReader::writeQuotes(const QString &branch, const QuoteListing &filter, AnswerStream &out) const
{
    const Statement listing = quotesStatement(branch, filter);
    if (Sql::isPostgres(m_db)) {
        PostgresRows rows(m_db, listing.text, listing.values, out.deadline());
        return PostgresPacketJson::write(rows, PacketLayouts::quoteFields(), 1, out);
    }
    SqliteStatement statement(m_db, listing.text, listing.values);
    return SqlitePacketJson::write(statement, PacketLayouts::quoteFields(), 1, out);
}

DataPacket QuoteReader::items(const QuoteKey &key) const
{
    QSqlQuery query = Sql::run(m_db, QStringLiteral(
        "SELECT I.CDFILIAL, I.NRORCAEVENTO, I.NRITEMORCEVE, I.CDPRODUTO, I.IDITOREVPROD, "
        "I.NROPCAITOREV, I.CDGRTOTAPROD, P.CDARVPROD, P.NMPRODUTO, I.QTITEMORCEVE, I.SGUNIDADE, "
        "I.VRITEMORCEVE, I.VRACREITOREV, I.VRDESCITOREV "
        "FROM ITEMORCAEVEN I JOIN PRODUTO P ON P.CDPRODUTO = I.CDPRODUTO "
        "WHERE I.CDFILIAL = ? AND I.NRORCAEVENTO = ? AND I.NRSEQORCAEVE = ? "
        "ORDER BY I.NRITEMORCEVE"), {key.branch, key.number, key.sequence});
    return PacketLayouts::read(query, PacketLayouts::itemFields());
}

DataPacket QuoteReader::justification(const QuoteKey &key) const
{
    QSqlQuery query = Sql::run(m_db, QStringLiteral(
        "SELECT TXOBSJUSTORC, CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, DTHRHISTORCA, CDOPERADOR "
        "FROM OBSJUSTORCA WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
        {key.branch, key.number, key.sequence});
    return PacketLayouts::read(query, PacketLayouts::justificationFields());
}

DataPacket QuoteReader::reasons(const QString &code, const QString &all) const
{
    QSqlQuery query = all == QLatin1String("T")
        ? Sql::run(m_db, QStringLiteral("SELECT CDJUSTEXCHIS, DSJUSTEXCHIS FROM JUSTEXCHIS ORDER BY CDJUSTEXCHIS"))
        : Sql::run(m_db, QStringLiteral("SELECT CDJUSTEXCHIS, DSJUSTEXCHIS FROM JUSTEXCHIS WHERE CDJUSTEXCHIS = ?"), {code});
    return PacketLayouts::read(query, PacketLayouts::reasonFields());
}

DataPacket QuoteReader::parameters() const
{
    QSqlQuery query = Sql::run(m_db, QStringLiteral("SELECT IDORIGPRUNITORE FROM PARAMORCA ORDER BY IDPARAMORCA"));
    DataPacket packet = PacketLayouts::read(query, PacketLayouts::parameterFields());
    while (packet.rows.size() > 1) {
        packet.rows.removeLast();
    }
    return packet;
}
