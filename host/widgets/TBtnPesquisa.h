#pragma once

#include <QPointer>
#include <QToolButton>

#include <functional>

class QLineEdit;
class TDataSource;

// The lookup button beside a code edit: a flat 21 x 21 button with the hint
// "Pesquisar". Clicking it (or F9 in its associated edit, while the button
// is enabled; the button itself takes no focus) runs, inside the host guard:
//   1. onBeforePesq, which may clear `proceed` to stop here;
//   2. opens the data source's list when it is a closed local query;
//   3. a list without records shows the empty-list message ("Não há
//      registros para pesquisa." when none is set) and stops;
//   4. the single-pick lookup (Pesquisa::Pesquisar) with the title;
//   5. on a pick: the key (the list's first field) goes into the associated
//      edit, then onAfterPesq runs.
// A failure at any step is reported by the host guard and ends the lookup.
// A screen whose lookup is its own sets onClick: the click and F9 then run
// it, inside the host guard, instead of the five steps.
class TBtnPesquisa final : public QToolButton {
    Q_OBJECT
public:
    explicit TBtnPesquisa(QWidget *parent = nullptr);

    QLineEdit *associatedEdit() const { return m_edit; }
    void setAssociatedEdit(QLineEdit *edit);
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    TDataSource *dataSource() const;
    void setDataSource(TDataSource *source);
    QString emptyMessage() const { return m_emptyMessage; }
    void setEmptyMessage(const QString &message) { m_emptyMessage = message; }

    std::function<void(TBtnPesquisa &sender, bool &proceed)> onBeforePesq;
    std::function<void(TBtnPesquisa &sender)> onAfterPesq;
    std::function<void(TBtnPesquisa &sender)> onClick;

    // Runs the lookup as a click does; true when a record was picked (always
    // false with onClick, whose outcome is the screen's).
    bool execute();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool lookUp();

    QPointer<QLineEdit> m_edit;
    QPointer<TDataSource> m_source;
    QString m_title;
    QString m_emptyMessage;
};
