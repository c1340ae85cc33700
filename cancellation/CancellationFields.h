#pragma once

class QString;
class RecordList;
struct QuoteKey;

// The fields of the screen's lists, in the order the server's packets bring
// them, with their labels, sizes and formats.
void declareQuoteFields(RecordList &list);
void declareItemFields(RecordList &list);
void declareReasonFields(RecordList &list);
void declareJustificationFields(RecordList &list);
// The local database's branches (qryFilial).
void declareBranchFields(RecordList &list);
// The current item's total (VRTOTALITEM), from its quantity, price, discount
// and surcharge.
void computeItemTotal(RecordList &items);
// The justification record of the quote `key`: its text, its operator, dated
// today.
void fillJustification(RecordList &justification, const QuoteKey &key, const QString &text, const QString &operatorCode);
