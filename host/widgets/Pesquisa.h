#pragma once

#include <QString>

class TDataSource;

// The host's single-pick lookup.
namespace Pesquisa {

// Offers the records of the list behind `source` for one pick; the key is
// the list's first field. `title` is the dialog's title, optionally followed
// by "|" and the message for a list without records (else "Não há registros
// para pesquisa." is used). Returns true when the operator picked a record,
// which is then the list's current record; false when cancelled, leaving the
// list as it was.
//
// A closed or empty list: with `allowEmptyPick` false no dialog opens; the
// empty-list message is shown (title as caption) when `showEmptyMessage` is
// true, else nothing is said; false is returned. With `allowEmptyPick` true
// the dialog opens anyway, showing no rows, and the operator can only close
// it (false).
//
// Throws std::logic_error when `source` has no list or no host dialogs are
// installed; failures of the list's own events (moving to the pick) go on
// to the caller.
bool Pesquisar(TDataSource &source, const QString &title, bool allowEmptyPick, bool showEmptyMessage);

} // namespace Pesquisa
