#include "Lib00210.h"

#include "TADOIBQuery.h"

namespace {
bool matches(const QString &value, const QString &text, bool fromStart)
{
    return fromStart ? value.startsWith(text, Qt::CaseInsensitive) : value.contains(text, Qt::CaseInsensitive);
}
} // namespace

QString Lib00210::SQL_Pesquisa_Produto(const QString &branch, const QString &text, TADOIBQuery &query, bool flag)
{
    Q_UNUSED(branch);
    if (!query.isActive()) {
        query.Open();
    }
    const QString wanted = text.trimmed();
    if (!wanted.isEmpty()) {
        DataPacket products = query.packet();
        const int code = products.indexOf(query.fieldByName(QStringLiteral("CDARVPROD")).name());
        const int name = products.indexOf(query.fieldByName(QStringLiteral("NMPRODUTO")).name());
        QList<QVariantList> kept;
        for (const QVariantList &row : std::as_const(products.rows)) {
            if (matches(row.value(code).toString(), wanted, flag) || matches(row.value(name).toString(), wanted, flag)) {
                kept << row;
            }
        }
        products.rows = kept;
        query.loadPacket(products);
    }
    return QStringLiteral("Não há produto cadastrado.");
}
