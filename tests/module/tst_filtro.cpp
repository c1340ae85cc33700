// The filter a new screen starts from: pending and approved quotes, every
// other criterion open.
#include "TFiltro.h"

#include <QtTest>

class tst_Filtro final : public QObject {
    Q_OBJECT
private slots:
    void shouldOpenEveryCriterionButTheStates_data();
    void shouldOpenEveryCriterionButTheStates();
    void shouldResetEveryFieldChangedBefore();
};

void tst_Filtro::shouldOpenEveryCriterionButTheStates_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    const TFiltro f = FiltroPadrao();
    QTest::newRow("NrOrcaEven.De") << f.NrOrcaEven.De << QString();
    QTest::newRow("NrOrcaEven.Ate") << f.NrOrcaEven.Ate << QString();
    QTest::newRow("NrOrcaEven.Todos") << f.NrOrcaEven.Todos << "T";
    QTest::newRow("DtEvento.Todos") << f.DtEvento.Todos << "T";
    QTest::newRow("DtValidade.Todos") << f.DtValidade.Todos << "T";
    QTest::newRow("DtOrcamento.Todos") << f.DtOrcamento.Todos << "T";
    QTest::newRow("Vendedor.Lista") << f.Vendedor.Lista << QString();
    QTest::newRow("Vendedor.Todos") << f.Vendedor.Todos << "T";
    QTest::newRow("Cliente.Todos") << f.Cliente.Todos << "T";
    QTest::newRow("TipoServ.Todos") << f.TipoServ.Todos << "T";
    QTest::newRow("TipoEven.Todos") << f.TipoEven.Todos << "T";
    QTest::newRow("IdSitu") << f.IdSitu << "1_2_";
    QTest::newRow("TIdSitu") << f.TIdSitu << QString();
    QTest::newRow("Titulo") << f.Titulo << QString();
    QTest::newRow("TTitulo") << f.TTitulo << "T";
    QTest::newRow("NovoClie") << f.NovoClie << QString();
    QTest::newRow("TNovoClie") << f.TNovoClie << "T";
}

void tst_Filtro::shouldOpenEveryCriterionButTheStates()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(value, expected);
}

void tst_Filtro::shouldResetEveryFieldChangedBefore()
{
    TFiltro f = FiltroPadrao();
    f.NrOrcaEven = {QStringLiteral("0000000010"), QStringLiteral("0000000020"), QString()};
    f.DtEvento.De = 46000;
    f.DtEvento.Ate = 46010;
    f.DtEvento.Todos.clear();
    f.DtOrcamento.Ate = 45000;
    f.Cliente.Lista = QStringLiteral("1_2");
    f.Cliente.Todos.clear();
    f.IdSitu = QStringLiteral("_1_2_8_9_");
    f.Titulo = QStringLiteral(" Bodas ");
    f.TTitulo.clear();

    ResetFiltro(f);

    QVERIFY(f.NrOrcaEven.De.isEmpty());
    QCOMPARE(f.DtEvento.De, 0.0);
    QCOMPARE(f.DtEvento.Ate, 0.0);
    QCOMPARE(f.DtEvento.Todos, QStringLiteral("T"));
    QCOMPARE(f.DtOrcamento.Ate, 0.0);
    QVERIFY(f.Cliente.Lista.isEmpty());
    QCOMPARE(f.IdSitu, QStringLiteral("1_2_"));
    QVERIFY(f.Titulo.isEmpty());
    QCOMPARE(f.TTitulo, QStringLiteral("T"));
}

QTEST_MAIN(tst_Filtro)
#include "tst_filtro.moc"
