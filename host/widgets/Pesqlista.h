#pragma once

#include <QString>

class TDataSource;

// The host's multi-select lookup.
namespace Pesqlista {

// Offers the records of the list behind `source` with a tick per record.
// `list` holds the current choice on entry: the chosen values of `keyField`
// joined by "_" (no leading or trailing "_"; codes never contain "_"); those
// records open ticked. On confirmation `list` receives the new choice in the
// list's record order, joined the same way (empty when nothing is ticked),
// and true is returned; on cancel `list` is unchanged and false is returned.
//
// `title` is the dialog's title, optionally followed by "|" and the message
// for a lookup without records. A closed or empty list opens no dialog: that
// message (or "Não há registros para pesquisa." without "|") is shown, `list`
// stays unchanged and false is returned.
//
// `flag` true: an empty `list` on entry opens with every record ticked, so
// the operator starts from "all" and removes; false: it opens with none.
//
// Throws std::logic_error when `source` has no list or no host dialogs are
// installed, std::runtime_error naming the field when the list has no
// `keyField`.
bool PesquisaLista(TDataSource &source, const QString &keyField, const QString &title, bool flag,
                   QString &list);

} // namespace Pesqlista
