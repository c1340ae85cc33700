#pragma once

#include "TDBGrid.h"

#include <QList>

class QWidget;
class RecordList;
class ServidorCancelamento;

// Writes the listed quotes to a file the operator names over `janela`
// (.xlsx or CSV, the type the name or the dialog gives), with the grid's
// `colunas` in their order and the counts by state and by reason; the
// reasons' names come in one call. An old file of that name stays as it was
// unless the new one is written whole.
void exportaOrcamentos(QWidget *janela, const RecordList &orcamentos, const QList<TDBGrid::Column> &colunas,
                       ServidorCancelamento &servidor);
