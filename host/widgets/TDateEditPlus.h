#pragma once

#include <QColor>
#include <QDate>
#include <QLineEdit>
#include <QStringList>

// The host's date edit: a line edit for dd/mm/yyyy that may stay empty, which
// is how an open range bound is written. An empty edit has an empty text(), so
// a blank check (Consiste::EmptyString) sees it as empty; the date-time 0
// shows as an empty edit.
//
// The operator types the date freely: "7/3/2026", "07032026" and "07/03/26"
// become "07/03/2026" when he leaves the edit (a two-digit year is taken in
// 1950..2049). In the edit "+" and "-" move the date one day (an empty edit
// starts from today), and Alt+Down opens a calendar to pick from.
class TDateEditPlus final : public QLineEdit {
    Q_OBJECT
public:
    explicit TDateEditPlus(QWidget *parent = nullptr);

    // The date as a day count (days since 1899-12-30), 0 when the edit is
    // empty. Throws std::runtime_error, with a message for the operator, when
    // the text is not a date (e.g. "31/02/2026").
    double GetDate() const;
    // Shows the date of `dayCount`; 0 (or a value that is no date) empties
    // the edit.
    void SetDate(double dayCount);
    // Refuses a text that is not a date: puts the focus back in the edit and
    // shows "Data inválida." through Consiste::MensErro, which throws Abort.
    // An empty edit is valid and passes.
    void CheckValidDate();

    // The colour a valid date is drawn in; the default text colour when not set.
    QColor ValidColor() const { return m_validColor; }
    void SetValidColor(const QColor &colour);

    // The seven weekday names, Sunday first. The weekday of a valid date is
    // shown as the edit's tooltip and in small letters at its right end.
    // Throws std::invalid_argument unless there are seven names (or none, to
    // show no weekday).
    QStringList NomeSemana() const { return m_weekdayNames; }
    void SetNomeSemana(const QStringList &names);
    // The weekday name of the date in the edit; empty when there is none.
    QString weekdayName() const;

    // With SaveTime false the edit keeps dates only; with true the time of day
    // given to SetDate is kept and handed back by GetDate.
    bool SaveTime() const { return m_saveTime; }
    void SetSaveTime(bool saveTime) { m_saveTime = saveTime; }

    // The date the text stands for; an invalid QDate when the text is empty
    // or not a date. Accepts the typed forms listed above.
    static QDate parseDate(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void textWasChanged();
    void normalizeText();
    void moveDays(int days);
    void openCalendar();

    QColor m_validColor;
    QStringList m_weekdayNames;
    bool m_saveTime = false;
    double m_timeOfDay = 0;
};
