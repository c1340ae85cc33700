#include "ScriptedDialogs.h"

#include "FindInList.h"
#include "RecordList.h"

#include <stdexcept>

namespace {
template <typename T>
T takeAnswer(QQueue<T> &queue, const char *kind, const QString &about)
{
    if (queue.isEmpty()) {
        throw std::logic_error(QStringLiteral("no %1 answer queued for: %2")
                                   .arg(QLatin1String(kind), about)
                                   .toStdString());
    }
    return queue.dequeue();
}

int rowWithKey(const RecordList &list, const QString &keyField, const QString &key)
{
    const int column = list.fieldByName(keyField).index();
    for (int row = 0; row < list.recordCount(); ++row) {
        if (list.valueAt(row, column).toString() == key) {
            return row;
        }
    }
    return -1;
}
} // namespace

ScriptedDialogs::ScriptedDialogs()
{
    try {
        m_previous = &HostDialogs::current();
    } catch (const std::logic_error &) {
        m_previous = nullptr;
    }
    HostDialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    HostDialogs::install(m_previous);
}

QStringList ScriptedDialogs::shownTexts() const
{
    QStringList texts;
    for (const Shown &shown : m_shown) {
        texts << shown.text;
    }
    return texts;
}

bool ScriptedDialogs::allAnswersUsed() const
{
    return m_asks.isEmpty() && m_pickOnes.isEmpty() && m_pickManys.isEmpty() && m_finds.isEmpty()
           && m_names.isEmpty() && m_passwords.isEmpty();
}

void ScriptedDialogs::showMessage(Icon icon, const QString &title, const QString &text)
{
    m_shown.append({icon, title, text, {}, {}});
}

void ScriptedDialogs::showDetailedMessage(Icon icon, const QString &title, const QString &text, const QString &details)
{
    m_shown.append({icon, title, text, {}, details});
}

int ScriptedDialogs::ask(Icon icon, const QString &title, const QString &text, const QStringList &buttons)
{
    m_shown.append({icon, title, text, buttons, {}});
    return takeAnswer(m_asks, "question", text);
}

bool ScriptedDialogs::pickOne(RecordList &list, const QString &keyField, const QString &title)
{
    m_pickTitles << title;
    const QString key = takeAnswer(m_pickOnes, "single pick", title);
    if (key.isEmpty()) {
        return false;
    }
    const int row = rowWithKey(list, keyField, key);
    if (row < 0) {
        throw std::logic_error(("scripted pick of a key not in the list: " + key).toStdString());
    }
    list.moveTo(row);
    return true;
}

bool ScriptedDialogs::pickMany(RecordList &list, const QString &keyField, const QString &title,
                               QStringList &keys)
{
    Q_UNUSED(list);
    Q_UNUSED(keyField);
    m_pickTitles << title;
    m_lastPreselected = keys;
    const ManyAnswer answer = takeAnswer(m_pickManys, "multiple pick", title);
    if (answer.confirm) {
        keys = answer.keys;
    }
    return answer.confirm;
}

bool ScriptedDialogs::find(RecordList &list)
{
    const FindAnswer answer = takeAnswer(m_finds, "find", list.name());
    return FindInList::From(list, {answer.field, answer.text}, 0);
}

QString ScriptedDialogs::chooseName(const QString &title, const QStringList &existing, bool mayCreate)
{
    Q_UNUSED(existing);
    Q_UNUSED(mayCreate);
    return takeAnswer(m_names, "name", title);
}

QString ScriptedDialogs::askPassword(const QString &title, const QString &text)
{
    m_shown.append({Icon::Question, title, text, {QStringLiteral("OK"), QStringLiteral("Cancelar")}, {}});
    return takeAnswer(m_passwords, "password", text);
}
