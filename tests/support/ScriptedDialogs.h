#pragma once

#include "HostDialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

// The host's dialogs answered from a script: each question takes the next
// queued answer of its kind, every message and question is recorded. A
// question with no answer queued throws std::logic_error, which fails the
// test instead of blocking on a modal window. Installs itself for its life.
class ScriptedDialogs final : public HostDialogs {
public:
    struct Shown {
        Icon icon;
        QString title;
        QString text;
        QStringList buttons; // empty for a plain message
        QString details;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answerAsk(int buttonIndex) { m_asks.enqueue(buttonIndex); }
    // Picks the record whose key field holds `key`; an empty key cancels.
    void answerPickOne(const QString &key) { m_pickOnes.enqueue(key); }
    // Confirms the given keys; std::nullopt-like cancel via answerPickManyCancel.
    void answerPickMany(const QStringList &keys) { m_pickManys.enqueue({true, keys}); }
    void answerPickManyCancel() { m_pickManys.enqueue({false, {}}); }
    // Finds the first record whose `field` text contains `text`.
    void answerFind(const QString &field, const QString &text) { m_finds.enqueue({field, text}); }
    void answerName(const QString &name) { m_names.enqueue(name); }
    // An empty password cancels.
    void answerPassword(const QString &password) { m_passwords.enqueue(password); }

    const QList<Shown> &shown() const { return m_shown; }
    QStringList shownTexts() const;
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    void clear() { m_shown.clear(); }
    // What the pickers were offered, for checking titles and lists.
    QStringList pickTitles() const { return m_pickTitles; }
    // The keys that were ticked when the last pickMany opened.
    QStringList lastPreselected() const { return m_lastPreselected; }
    bool allAnswersUsed() const;

    void showMessage(Icon icon, const QString &title, const QString &text) override;
    void showDetailedMessage(Icon icon, const QString &title, const QString &text, const QString &details) override;
    int ask(Icon icon, const QString &title, const QString &text, const QStringList &buttons) override;
    bool pickOne(RecordList &list, const QString &keyField, const QString &title) override;
    bool pickMany(RecordList &list, const QString &keyField, const QString &title,
                  QStringList &keys) override;
    bool find(RecordList &list) override;
    QString chooseName(const QString &title, const QStringList &existing, bool mayCreate) override;
    // Recorded as a question with the password window's buttons.
    QString askPassword(const QString &title, const QString &text) override;

private:
    struct ManyAnswer {
        bool confirm;
        QStringList keys;
    };
    struct FindAnswer {
        QString field;
        QString text;
    };
    HostDialogs *m_previous = nullptr;
    QList<Shown> m_shown;
    QQueue<int> m_asks;
    QQueue<QString> m_pickOnes;
    QQueue<ManyAnswer> m_pickManys;
    QQueue<FindAnswer> m_finds;
    QQueue<QString> m_names;
    QQueue<QString> m_passwords;
    QStringList m_pickTitles;
    QStringList m_lastPreselected;
};
