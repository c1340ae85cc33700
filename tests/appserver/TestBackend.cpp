#include "TestBackend.h"

#include "AppServerProcess.h"
#include "DatabaseLocation.h"
#include "Sql.h"

#include <QFile>

TestBackend::TestBackend(const QString &driver)
    : m_driver(driver)
{
}

bool TestBackend::prepare()
{
    if (!m_template.isEmpty()) {
        return true;
    }
    QString output;
    if (m_driver == QLatin1String("sqlite")) {
        const QString path = m_dir.path() + QStringLiteral("/template.db");
        if (!AppServerProcess::seed(path, seededQuotes, {}, &output)) {
            m_error = QStringLiteral("seeding failed: ") + output;
            return false;
        }
        m_template = path;
        return true;
    }
    if (!PostgresCluster::available(&m_skipReason)) {
        return false;
    }
    m_cluster = std::make_unique<PostgresCluster>();
    try {
        m_cluster->start();
        Sql::run(direct(m_cluster->url(QStringLiteral("postgres"))), QStringLiteral("CREATE DATABASE seeded"));
        closeDirect();
    } catch (const std::exception &failure) {
        m_error = QString::fromUtf8(failure.what());
        return false;
    }
    if (!AppServerProcess::seed(m_cluster->url(QStringLiteral("seeded")), seededQuotes, {}, &output)) {
        m_error = QStringLiteral("seeding failed: ") + output;
        return false;
    }
    m_template = QStringLiteral("seeded");
    return true;
}

QString TestBackend::freshDatabase()
{
    ++m_copies;
    if (m_driver == QLatin1String("sqlite")) {
        const QString copy = m_dir.path() + QStringLiteral("/copy%1.db").arg(m_copies);
        if (!QFile::copy(m_template, copy)) {
            m_error = QStringLiteral("cannot copy the seeded database");
            return {};
        }
        return copy;
    }
    const QString name = QStringLiteral("copy%1").arg(m_copies);
    try {
        Sql::run(direct(m_cluster->url(QStringLiteral("postgres"))), QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(name, m_template));
        closeDirect();
    } catch (const std::exception &failure) {
        m_error = QString::fromUtf8(failure.what());
        closeDirect();
        return {};
    }
    return m_cluster->url(name);
}

QString TestBackend::seededDatabase(int quotes)
{
    const QString name = QStringLiteral("seeded%1_%2").arg(quotes).arg(++m_copies);
    QString location = m_dir.path() + QLatin1Char('/') + name + QStringLiteral(".db");
    QString output;
    try {
        if (m_cluster) {
            m_cluster->createDatabase(name);
            location = m_cluster->url(name);
        }
    } catch (const std::exception &failure) {
        m_error = QString::fromUtf8(failure.what());
        return {};
    }
    if (!AppServerProcess::seed(location, quotes, {}, &output)) {
        m_error = QStringLiteral("seeding failed: ") + output;
        return {};
    }
    return location;
}

QSqlDatabase TestBackend::direct(const QString &location)
{
    const QString name = QStringLiteral("test-direct-%1").arg(m_directNames.size());
    m_directNames << name;
    return DatabaseLocation::parse(location).open(name);
}

void TestBackend::closeDirect()
{
    for (const QString &name : std::as_const(m_directNames)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    m_directNames.clear();
}
