#pragma once

class RecordList;

// The fields of the screen's lists, in the order the server's packets bring
// them, with their labels, sizes and formats.
void declaraCamposOrcamento(RecordList &list);
void declaraCamposItens(RecordList &list);
void declaraCamposMotivo(RecordList &list);
void declaraCamposObs(RecordList &list);
// The local database's branches (qryFilial).
void declaraCamposFilial(RecordList &list);
