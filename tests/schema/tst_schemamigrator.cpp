#include "DatabaseLocation.h"
#include "SchemaMigrator.h"
#include "Sql.h"

#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

class tst_SchemaMigrator final : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QSqlDatabase::removeDatabase("migrator"); }

    // Each row: the versions forgotten after a full migration (-1: a
    // database never migrated), then what is pending and what migrate()
    // applies, which is the same; nothing is pending afterwards.
    void appliesExactlyWhatIsPending_data()
    {
        const QStringList all = SchemaMigrator::migrationFiles();
        QTest::addColumn<QList<int>>("forgotten");
        QTest::addColumn<QStringList>("pending");
        QTest::newRow("never migrated") << QList<int>{-1} << all;
        QTest::newRow("current") << QList<int>{} << QStringList{};
        QTest::newRow("the last one new") << QList<int>{6} << QStringList{all.last()};
    }
    void appliesExactlyWhatIsPending()
    {
        QFETCH(QList<int>, forgotten);
        QFETCH(QStringList, pending);
        QTemporaryDir dir;
        QSqlDatabase db = DatabaseLocation::parse(dir.filePath("server.db")).open("migrator");
        SchemaMigrator migrator(db);
        if (forgotten != QList<int>{-1}) {
            migrator.migrate();
            for (const int version : forgotten) {
                Sql::run(db, "DELETE FROM SCHEMAVERSION WHERE NRVERSAO = ?", {version});
            }
        }
        QCOMPARE(migrator.pending(), pending);
        QCOMPARE(migrator.migrate(), pending);
        QCOMPARE(migrator.pending(), QStringList{});
    }

    // 005 adds columns that are there already: it fails, is rolled back,
    // and stays pending for the next --migrate.
    void aFailedFileStaysPending()
    {
        QTemporaryDir dir;
        QSqlDatabase db = DatabaseLocation::parse(dir.filePath("server.db")).open("migrator");
        SchemaMigrator migrator(db);
        migrator.migrate();
        Sql::run(db, "DELETE FROM SCHEMAVERSION WHERE NRVERSAO = 5");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, migrator.migrate());
        QCOMPARE(migrator.pending(), QStringList{"005_justification_place.sql"});
    }
};

QTEST_GUILESS_MAIN(tst_SchemaMigrator)
#include "tst_schemamigrator.moc"
