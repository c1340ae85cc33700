#pragma once

class RecordList;

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
