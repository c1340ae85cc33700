#pragma once

#include "TDBGrid.h"

#include <QList>

class QWidget;
class RecordList;
class QuoteServer;

// Writes the listed quotes to a file the operator names over `window`
// (.xlsx or CSV, the type the name or the dialog gives), with the grid's
// `columns` in their order and the counts by state and by reason; the
// reasons' names come in one call. An old file of that name stays as it was
// unless the new one is written whole.
void exportQuotes(QWidget *window, const RecordList &quotes, const QList<TDBGrid::Column> &columns,
                       QuoteServer &server);
