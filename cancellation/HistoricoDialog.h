#pragma once

#include <QDialog>

#include <functional>

class QJsonValue;
class QLabel;
class QPlainTextEdit;
class RecordList;
class TDBGrid;
class TDataSource;

// The history of one quote, read only: a grid of its creation, state
// changes and justification texts (GetHistorico's packet, oldest first),
// and under it the justification of the selected row: its own text, or for
// a state change the texts written after it. Esc closes.
class HistoricoDialog final : public QDialog {
    Q_OBJECT
public:
    // `stateName` turns a state code into its word ("8" is "Cancelado").
    HistoricoDialog(const QJsonValue &packet, const std::function<QString(const QString &)> &stateName, const QString &title,
                    QWidget *parent = nullptr);
    ~HistoricoDialog() override;

private:
    void declareFields(const std::function<QString(const QString &)> &stateName);
    void showJustification();

    RecordList *m_history;
    TDataSource *m_source;
    TDBGrid *m_grid;
    QLabel *m_changes;
    QPlainTextEdit *m_text;
};
