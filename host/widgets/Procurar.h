#pragma once

class RecordList;

// The host's find command over a list.
namespace Procurar {

// Asks the operator for a field and a text and makes the first record whose
// text in that field contains it (case-insensitive) current. Returns true
// when a record was found; false when cancelled or when nothing matched (the
// operator was told "Registro não encontrado."). Throws std::logic_error when
// no host dialogs are installed; failures of the list's own events (moving
// to the record) go on to the caller.
bool Procura(RecordList &list);

// Goes on from the current record to the next one matching the field and
// text last searched in the list (F3), asking for them as Procura does when
// the list was never searched. Returns true when a record was found; false
// after "Registro não encontrado.", the list staying where it was. Throws as
// Procura does.
bool ProcuraProximo(RecordList &list);

} // namespace Procurar
