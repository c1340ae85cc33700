#pragma once

#include <QString>

class TADOIBQuery;

// The host's product routines.
namespace Lib00210 {

// Prepares the product lookup query `query` (fields CDARVPROD, NMPRODUTO)
// for the branch `branch` and returns the message for a lookup without
// products, "Não há produto cadastrado.", for the caller to put after "|" in
// the lookup's title.
//
// The query is opened when closed. Products are shared by every branch in
// the local database, so `branch` narrows nothing. An empty (or blank)
// `text` keeps every product; otherwise only the products whose code or name
// holds `text` (case-insensitive) stay: with `flag` true the code or name
// must START with it, with `flag` false it may stand anywhere. The narrowing
// loads the kept rows back into the query (no parameters involved); opening
// the query again brings back every product.
//
// Throws what TADOIBQuery::Open throws (no local database, failing SQL), and
// std::runtime_error naming the field when the query lacks CDARVPROD or
// NMPRODUTO while `text` is not empty.
QString SQL_Pesquisa_Produto(const QString &branch, const QString &text, TADOIBQuery &query, bool flag);

} // namespace Lib00210
