// The filter dialog over a real cancellation screen: confirming lists the
// quotes once, with the new criteria, from the real application server; a
// refused confirmation lists nothing; the operator can do it all by keyboard.
#include "CancelamentoFixture.h"
#include "Cli_cxl04100.h"
#include "Cli_cxl04101.h"
#include "FiltroDialogo.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "ScreenParts.h"
#include "TButtonFlat.h"
#include "TDateEditPlus.h"
#include "TfrmCancelamento.h"
#include "TfrmFiltroCancelamento.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <cmath>

namespace {

QString chave(const QString &number, const QString &sequence)
{
    return number + QLatin1Char('/') + sequence;
}

// Sends keys to whatever control has the cursor, as the operator types.
void tecla(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    QTest::keyClick(focused, key, modifiers);
}

void digita(const QString &text)
{
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    QTest::keyClicks(focused, text);
}

} // namespace

class TestFiltroListagem final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void confirmationListsOnceWithTheNewCriteria();
    void refusedConfirmationListsNothing();
    void cancellingListsNothing();
    void keyboardOnlyFilterListsWhatItAsks();
    void failedListingStillEndsAsConfirmed();

private:
    int listagens();
    // The server logs a call after answering it: a listing asked now
    // must be the only one since `before`.
    void listaDeNovo(int before);
    // The quotes of branch 0001 the server database holds under `conditions`,
    // as "number/sequence", in listing order.
    QStringList noBanco(const QString &conditions, const QVariantList &values);
    QStringList naTela() const;
    // Criteria that hold some of the branch's quotes and leave others out:
    // the `count` sellers with the most quotes of the branch, and the event
    // days from the branch's first up to the day before their last.
    struct Escolha {
        QStringList sellers;
        QDate from;
        QDate to;
    };
    Escolha escolhaDoBanco(int count);

    CancelamentoFixture fixture;
    TfrmCancelamento *screen = nullptr;
};

void TestFiltroListagem::initTestCase()
{
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
}

void TestFiltroListagem::init()
{
    // A screen activated again after a dialog has its filter due; a new
    // screen here lists at once with the default filter.
    boFiltro = false;
    fixture.login(true);
    screen = fixture.openScreen();
    QVERIFY(screen);
    QVERIFY(part<RecordList>(screen, "cdsOrcamento")->recordCount() > 0);
}

void TestFiltroListagem::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    fixture.closeScreen();
    fixture.dialogs.clear();
}

int TestFiltroListagem::listagens()
{
    return int(fixture.serverLog().count(QStringLiteral(" GetOrcamento ")));
}

void TestFiltroListagem::listaDeNovo(int before)
{
    QTest::mouseClick(screen->sbtVerificar, Qt::LeftButton);
    QTRY_COMPARE(listagens(), before + 1);
    QTest::qWait(100);
    QCOMPARE(listagens(), before + 1);
}

QStringList TestFiltroListagem::noBanco(const QString &conditions, const QVariantList &values)
{
    QStringList keys;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("conferencia"));
        database.setDatabaseName(fixture.serverDatabase());
        if (!database.open()) {
            qWarning() << database.lastError().text();
        }
        QSqlQuery query(database);
        query.prepare(QStringLiteral("SELECT NRORCAEVENTO, NRSEQORCAEVE FROM ORCAEVENTO WHERE CDFILIAL = '0001' AND ")
                      + conditions + QStringLiteral(" ORDER BY NRORCAEVENTO, NRSEQORCAEVE"));
        for (const QVariant &value : values) {
            query.addBindValue(value);
        }
        if (!query.exec()) {
            qWarning() << query.lastError().text();
        }
        while (query.next()) {
            keys << chave(query.value(0).toString(), query.value(1).toString());
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("conferencia"));
    return keys;
}

QStringList TestFiltroListagem::naTela() const
{
    RecordList &list = *part<RecordList>(frmCancelamento, "cdsOrcamento");
    QStringList keys;
    for (int row = 0; row < list.recordCount(); ++row) {
        list.moveTo(row);
        keys << chave(list.fieldByName(QStringLiteral("NRORCAEVENTO")).asString(),
                      list.fieldByName(QStringLiteral("NRSEQORCAEVE")).asString());
    }
    return keys;
}

TestFiltroListagem::Escolha TestFiltroListagem::escolhaDoBanco(int count)
{
    Escolha escolha;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("escolha"));
        database.setDatabaseName(fixture.serverDatabase());
        database.open();
        QSqlQuery query(database);
        query.exec(QStringLiteral("SELECT CDVENDEDOR FROM ORCAEVENTO WHERE CDFILIAL = '0001' GROUP BY CDVENDEDOR"
                                  " ORDER BY COUNT(*) DESC, CDVENDEDOR LIMIT %1").arg(count));
        while (query.next()) {
            escolha.sellers << query.value(0).toString();
        }
        escolha.sellers.sort();
        query.exec(QStringLiteral("SELECT MIN(DTEVENTO) FROM ORCAEVENTO WHERE CDFILIAL = '0001'"));
        query.next();
        const double first = query.value(0).toDouble();
        query.exec(QStringLiteral("SELECT MAX(DTEVENTO) FROM ORCAEVENTO WHERE CDFILIAL = '0001' AND CDVENDEDOR IN ('%1')")
                       .arg(escolha.sellers.join(QStringLiteral("','"))));
        query.next();
        const double last = query.value(0).toDouble();
        const QDate base(1899, 12, 30);
        escolha.from = base.addDays(qint64(std::floor(first)));
        escolha.to = base.addDays(qint64(std::floor(last)) - 1);
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("escolha"));
    return escolha;
}

void TestFiltroListagem::confirmationListsOnceWithTheNewCriteria()
{
    const auto [sellers, from, to] = escolhaDoBanco(3);
    QCOMPARE(sellers.size(), 3);
    fixture.dialogs.answerPickMany(sellers);
    const int before = listagens();
    int listedWhileOpen = -1;

    QObject guard;
    whenShown(guard, [&](TfrmFiltroCancelamento &d) {
        d.depDeEvento->setText(from.toString(QStringLiteral("dd/MM/yyyy")));
        d.depAteEvento->setText(to.toString(QStringLiteral("dd/MM/yyyy")));
        d.chbCancelado->setChecked(true);
        d.rbtLVendedor->setChecked(true);
        d.sbtVendedor->click();
        // The listing runs while the dialog still shows.
        connect(part<RecordList>(frmCancelamento, "cdsOrcamento"), &RecordList::reset, &d,
                [&d, &listedWhileOpen] { listedWhileOpen = d.isVisible() ? 1 : 0; });
        QTest::keyClick(&d, Qt::Key_F10);
    });
    QTest::mouseClick(part<TButtonFlat>(screen, "sbtFiltro"), Qt::LeftButton);

    QCOMPARE(FiltroModalResult(), 1);
    QTRY_COMPARE(listagens(), before + 1);
    QCOMPARE(listedWhileOpen, 1);
    QCOMPARE(Filtro.IdSitu, QLatin1Char('_') + QuoteState::Pending + QLatin1Char('_') + QuoteState::Approved
                                + QLatin1Char('_') + QuoteState::Cancelled + QLatin1Char('_'));
    QCOMPARE(Filtro.Vendedor.Lista, sellers.join(QLatin1Char('_')));

    const QStringList expected = noBanco(
        QStringLiteral("IDSITUORCEVE IN ('1','2','8') AND CDVENDEDOR IN (?,?,?) AND DTEVENTO >= ? AND DTEVENTO < ?"),
        {sellers.at(0), sellers.at(1), sellers.at(2), Filtro.DtEvento.De, Filtro.DtEvento.Ate + 1});
    QVERIFY(!expected.isEmpty());
    QVERIFY(expected.size() < noBanco(QStringLiteral("IDSITUORCEVE IN ('1','2','8') AND CDVENDEDOR IN (?,?,?)"),
                                      {sellers.at(0), sellers.at(1), sellers.at(2)})
                                  .size());
    QCOMPARE(naTela(), expected);
}

void TestFiltroListagem::refusedConfirmationListsNothing()
{
    const QStringList listed = naTela();
    const QStringList filtro = campos(Filtro);
    const int before = listagens();
    QString shown;
    QObject guard;
    whenShown(guard, [&](TfrmFiltroCancelamento &d) {
        d.medOrcaDe->setText(QStringLiteral("0000000020"));
        d.medOrcaAte->setText(QStringLiteral("0000000010"));
        d.sbtConfirma->click();
        shown = fixture.dialogs.lastText();
        d.sbtCancel->click();
    });
    CriaFiltroCancelamento(telaAberta());
    QCOMPARE(shown, QStringLiteral("Número do orçamento inicial deve ser menor ou igual ao número do orçamento final."));
    QCOMPARE(FiltroModalResult(), 2);
    QCOMPARE(naTela(), listed);
    QCOMPARE(campos(Filtro), filtro);
    listaDeNovo(before);
}

void TestFiltroListagem::cancellingListsNothing()
{
    const int before = listagens();
    QObject guard;
    whenShown(guard, [](TfrmFiltroCancelamento &d) {
        d.chbAdiado->setChecked(true);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    CriaFiltroCancelamento(telaAberta());
    QCOMPARE(FiltroModalResult(), 2);
    listaDeNovo(before);
}

void TestFiltroListagem::keyboardOnlyFilterListsWhatItAsks()
{
    const auto [sellers, from, to] = escolhaDoBanco(2);
    fixture.dialogs.answerPickMany(sellers);
    QStringList path;
    QObject guard;
    whenShown(guard, [&](TfrmFiltroCancelamento &d) {
        auto here = [&path] {
            QWidget *focused = QApplication::focusWidget();
            path << (focused ? focused->objectName() : QStringLiteral("(none)"));
        };
        here();
        tecla(Qt::Key_Return); // no quote number
        tecla(Qt::Key_Return);
        here();
        digita(from.toString(QStringLiteral("ddMMyyyy")));
        tecla(Qt::Key_Return);
        digita(to.toString(QStringLiteral("ddMMyyyy")));
        tecla(Qt::Key_Return);
        here();
        for (int i = 0; i < 4; ++i) { // no validity or quote dates
            tecla(Qt::Key_Tab);
        }
        here();
        tecla(Qt::Key_Right); // "Lista" for sellers
        here();
        tecla(Qt::Key_F9);
        tecla(Qt::Key_Tab);
        here();
        for (int i = 0; i < 12 && QApplication::focusWidget() != d.chbPendente; ++i) {
            tecla(Qt::Key_Tab);
        }
        tecla(Qt::Key_Tab);
        tecla(Qt::Key_Tab); // the boxes of other states are skipped
        here();
        tecla(Qt::Key_Space); // cancelled quotes too
        tecla(Qt::Key_F10);
    });
    QTest::keyClick(screen, Qt::Key_L, Qt::ControlModifier);

    QCOMPARE(FiltroModalResult(), 1);
    QCOMPARE(path, QStringList({"medOrcaDe", "depDeEvento", "depDeValidade", "rbtTVendedor", "rbtLVendedor",
                                "sbtVendedor", "chbCancelado"}));
    QCOMPARE(Filtro.IdSitu, QLatin1Char('_') + QuoteState::Pending + QLatin1Char('_') + QuoteState::Approved
                                + QLatin1Char('_') + QuoteState::Cancelled + QLatin1Char('_'));
    QCOMPARE(Filtro.NrOrcaEven.Todos, QStringLiteral("T"));
    QCOMPARE(Filtro.DtEvento.Todos, QString());
    QCOMPARE(Filtro.Vendedor.Lista, sellers.join(QLatin1Char('_')));
    const QStringList expected =
        noBanco(QStringLiteral("IDSITUORCEVE IN ('1','2','8') AND CDVENDEDOR IN (?,?) AND DTEVENTO >= ? AND DTEVENTO < ?"),
                {sellers.at(0), sellers.at(1), Filtro.DtEvento.De, Filtro.DtEvento.Ate + 1});
    QVERIFY(!expected.isEmpty());
    QCOMPARE(naTela(), expected);
}

// Last: it stops the server.
void TestFiltroListagem::failedListingStillEndsAsConfirmed()
{
    fixture.stopServer();
    QObject guard;
    whenShown(guard, [](TfrmFiltroCancelamento &d) {
        d.edtTitulo->setText(QStringLiteral("Bodas"));
        d.sbtConfirma->click();
    });
    CriaFiltroCancelamento(telaAberta());
    QCOMPARE(FiltroModalResult(), 1);
    QVERIFY(!boIdCriado);
    QCOMPARE(Filtro.Titulo, QStringLiteral("Bodas"));
    QCOMPARE(fixture.dialogs.shown().size(), 1);
    QVERIFY2(fixture.dialogs.lastText().contains(QStringLiteral("127.0.0.1")), qPrintable(fixture.dialogs.lastText()));
}

QTEST_MAIN(TestFiltroListagem)
#include "tst_filtro_listagem.moc"
