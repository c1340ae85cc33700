#pragma once

#include "TNetArg.h"

#include <QJsonArray>
#include <QList>
#include <QString>

// The 26 filter values GetOrcamento takes after the branch, with the values
// a new cancellation screen starts with: every criterion off except the
// states, which list the pending and approved quotes ("1_2_").
// The values travel by reference, so the object must outlive the call.
class QuoteListingFilter final {
public:
    // The 27 arguments of GetOrcamento for `branch`, in the server's order.
    QList<TNetArg> args(const QString &branch);
    // The same arguments as they go on the wire.
    QJsonArray params(const QString &branch);

    QString nrDe, nrAte, nrTodos = QStringLiteral("T");
    double dtOrcDe = 0, dtOrcAte = 0;
    QString dtOrcTodos = QStringLiteral("T");
    double dtValDe = 0, dtValAte = 0;
    QString dtValTodos = QStringLiteral("T");
    double dtEveDe = 0, dtEveAte = 0;
    QString dtEveTodos = QStringLiteral("T");
    QString vendLista, vendTodos = QStringLiteral("T");
    QString clieLista, clieTodos = QStringLiteral("T");
    QString tipoEvenLista, tipoEvenTodos = QStringLiteral("T");
    QString tipoServLista, tipoServTodos = QStringLiteral("T");
    QString idSitu = QStringLiteral("1_2_"), tIdSitu;
    QString titulo, tTitulo = QStringLiteral("T");
    QString novoClie, tNovoClie = QStringLiteral("T");
};
