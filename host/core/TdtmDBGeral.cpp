#include "TdtmDBGeral.h"

#include <QFileInfo>
#include <QSqlError>

#include <stdexcept>

TdtmDBGeral *dtmDBGeral = nullptr;

TdtmDBGeral::TdtmDBGeral(QObject *parent)
    : QObject(parent)
{
    setObjectName(QString::fromLatin1(connectionName));
}

TdtmDBGeral::~TdtmDBGeral()
{
    close();
    if (dtmDBGeral == this) {
        dtmDBGeral = nullptr;
    }
}

void TdtmDBGeral::open(const QString &path)
{
    close();
    if (path != QLatin1String(":memory:") && !QFileInfo(path).isFile()) {
        throw std::runtime_error(
            QStringLiteral("Banco de dados local não encontrado: %1").arg(path).toStdString());
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                QString::fromLatin1(connectionName));
    db.setDatabaseName(path);
    if (!db.open()) {
        const QString reason = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QString::fromLatin1(connectionName));
        throw std::runtime_error(QStringLiteral("Não foi possível abrir o banco de dados local %1: %2")
                                     .arg(path, reason)
                                     .toStdString());
    }
    m_path = path;
}

void TdtmDBGeral::close()
{
    const QString name = QString::fromLatin1(connectionName);
    if (!QSqlDatabase::contains(name)) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    m_path.clear();
}

bool TdtmDBGeral::isOpen() const
{
    const QString name = QString::fromLatin1(connectionName);
    return QSqlDatabase::contains(name) && QSqlDatabase::database(name, false).isOpen();
}

QSqlDatabase TdtmDBGeral::database() const
{
    return QSqlDatabase::database(QString::fromLatin1(connectionName), false);
}
