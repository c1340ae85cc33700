#pragma once

#include "RecordList.h"

#include <QHash>
#include <QStringList>

// A read-only query on the host's local database (`dtmDBGeral`) whose rows
// are a record list, so grids, lookups and data-bound controls show them like
// any other list. The SQL is kept as lines (`SQL`, or sql()/setSql()) and run
// joined with newlines. Parameters are written ":NAME" in the SQL and are
// text; a name may appear several times and every place gets the value.
// Parameter names match without regard to case; a parameter never given a
// value is bound as null.
//
// Fields declared with addField before the first Open keep their labels,
// formats and hooks across every Open; otherwise the fields are made from the
// result's columns. Editing is refused: edit, insert, append and delete throw
// std::runtime_error("Consulta somente leitura.") (the list's beforeEdit,
// beforeInsert and beforeDelete hooks are taken for that and must not be
// replaced).
class TADOIBQuery final : public RecordList {
public:
    // A parameter of the query, as ParamByName hands it out; valid while the
    // query lives.
    class Param final {
    public:
        void setAsString(const QString &text);
        QString asString() const; // empty when never set

    private:
        friend class TADOIBQuery;
        Param(TADOIBQuery &query, const QString &name);
        TADOIBQuery &m_query;
        QString m_name;
    };

    explicit TADOIBQuery(const QString &name, QObject *parent = nullptr);

    QStringList SQL;
    QStringList sql() const { return SQL; }
    void setSql(const QStringList &lines) { SQL = lines; }

    // `name` with or without its leading colon.
    void setParam(const QString &name, const QString &text);
    Param ParamByName(const QString &name);

    // Runs the SQL with the current parameters and loads its rows, the first
    // one current; an open query is closed first, so Open also runs it again.
    // Throws std::runtime_error when the local database is not open, and
    // with the driver's text when the SQL fails; the query is then closed.
    void Open();
    void Close();
    bool Active() const { return isActive(); }

private:
    QHash<QString, QString> m_params; // by upper-case name
};
