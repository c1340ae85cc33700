#pragma once

#include "ExportRequest.h"

#include <QList>
#include <QString>
#include <QStringList>

class RecordList;

// The section after the list in both file types: how many of the listed
// quotes are in each state and were cancelled or postponed for each reason.
struct ExportCounts {
    struct ByState {
        QString state; // as the grid shows it
        int quantity = 0;
    };
    struct ByReason {
        QString code; // noReason for the quotes without one
        QString name;
        int quantity = 0;
    };

    static const QString noReason;
    // The title lines of the two counts.
    static const QStringList stateTitles;
    static const QStringList reasonTitles;

    // States in the order of their words, reasons by code after the quotes
    // without one. Throws std::runtime_error when a field of `request` is
    // not in `list`.
    static ExportCounts of(const RecordList &list, const ExportRequest &request);

    QList<ByState> byState;
    QList<ByReason> byReason;
};
