#pragma once

#include <QString>
#include <QStringList>

class RecordList;

// The one seam through which the host asks the operator anything modal:
// message boxes, questions, lookups, the saved-options chooser and the
// operator's password. The client installs the Qt implementation; tests
// install a fake whose answers are queued in advance, so no test ever blocks
// on a modal window.
class HostDialogs {
public:
    enum class Icon { Information, Warning, Error, Question };

    virtual ~HostDialogs() = default;

    virtual void showMessage(Icon icon, const QString &title, const QString &text) = 0;
    // The same message with details the operator may open from it (say, the
    // records behind a refusal); empty details make it a plain message.
    virtual void showDetailedMessage(Icon icon, const QString &title, const QString &text,
                                     const QString &details) = 0;

    // Asks with the given buttons (first = default); returns the index of
    // the button chosen, or -1 when the box was closed without a choice.
    virtual int ask(Icon icon, const QString &title, const QString &text,
                    const QStringList &buttons) = 0;

    // Single pick over the records of `list`: true when the operator picked a
    // record, which is then the current one; false leaves the list as it was.
    virtual bool pickOne(RecordList &list, const QString &keyField, const QString &title) = 0;

    // Multiple choice over the records of `list`: `keys` holds the chosen
    // key values on entry (pre-ticked) and on a confirmed exit; false when
    // the operator cancelled, leaving `keys` unchanged.
    virtual bool pickMany(RecordList &list, const QString &keyField, const QString &title,
                          QStringList &keys) = 0;

    // Find in a list: asks for a field and a text and makes the first
    // matching record current; false when cancelled or nothing matched.
    virtual bool find(RecordList &list) = 0;

    // Asks for the name of a saved set of options. `existing` lists the
    // names already saved; with `mayCreate` the operator may type a new name.
    // Returns the empty text when cancelled.
    virtual QString chooseName(const QString &title, const QStringList &existing,
                               bool mayCreate) = 0;

    // Asks for a password without showing what is typed; `text` says whose
    // (and why it is asked again). Returns the empty text when cancelled.
    virtual QString askPassword(const QString &title, const QString &text) = 0;

    static HostDialogs &current(); // throws std::logic_error when none is installed
    static void install(HostDialogs *dialogs); // not owned; nullptr uninstalls
};
