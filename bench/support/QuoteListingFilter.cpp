#include "QuoteListingFilter.h"

QList<TNetArg> QuoteListingFilter::args(const QString &branch)
{
    return {branch,
            TNetArg::textRef(nrDe), TNetArg::textRef(nrAte), TNetArg::textRef(nrTodos),
            TNetArg::dateTimeRef(dtOrcDe), TNetArg::dateTimeRef(dtOrcAte), TNetArg::textRef(dtOrcTodos),
            TNetArg::dateTimeRef(dtValDe), TNetArg::dateTimeRef(dtValAte), TNetArg::textRef(dtValTodos),
            TNetArg::dateTimeRef(dtEveDe), TNetArg::dateTimeRef(dtEveAte), TNetArg::textRef(dtEveTodos),
            TNetArg::textRef(vendLista), TNetArg::textRef(vendTodos),
            TNetArg::textRef(clieLista), TNetArg::textRef(clieTodos),
            TNetArg::textRef(tipoEvenLista), TNetArg::textRef(tipoEvenTodos),
            TNetArg::textRef(tipoServLista), TNetArg::textRef(tipoServTodos),
            TNetArg::textRef(idSitu), TNetArg::textRef(tIdSitu),
            TNetArg::textRef(titulo), TNetArg::textRef(tTitulo),
            TNetArg::textRef(novoClie), TNetArg::textRef(tNovoClie)};
}

QJsonArray QuoteListingFilter::params(const QString &branch)
{
    QJsonArray params;
    for (const TNetArg &arg : args(branch)) {
        params.append(arg.toJson());
    }
    return params;
}
