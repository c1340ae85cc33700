// The filter dialog's list criteria: the lookups over the local database,
// a criterion's keys (Enter, F9, Space, arrows), empty tables, how the
// lookups show their codes, and the picked lists saved with the options.
#include "Cli_cxl04101.h"
#include "Corvane.h"
#include "FiltroDialogo.h"
#include "SavedOptions.h"
#include "ScriptedDialogs.h"
#include "TADOIBQuery.h"
#include "TButtonFlat.h"
#include "TdtmDBGeral.h"
#include "TfrmFiltroCancelamento.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QStringList esquema = {
    "CREATE TABLE VENDEDOR (CDVENDEDOR TEXT PRIMARY KEY, NMFANVEN TEXT)",
    "CREATE TABLE PAIS (CDPAIS TEXT PRIMARY KEY, NMPAIS TEXT)",
    "CREATE TABLE MUNICIPIO (CDPAIS TEXT, SGESTADO TEXT, CDMUNICIPIO TEXT, NMMUNICIPIO TEXT)",
    "CREATE TABLE CLIENTE (CDCLIENTE TEXT PRIMARY KEY, IDTPIJURCLIE TEXT, NRINSJURCLIE TEXT, NMFANTCLIE TEXT,"
    " NMRAZSOCCLIE TEXT)",
    "CREATE TABLE ENDECLIE (CDCLIENTE TEXT, IDTPENDECLIE TEXT, CDPAIS TEXT, SGESTADO TEXT, CDMUNICIPIO TEXT,"
    " DSENDECLIE TEXT)",
    "CREATE TABLE PRODUTO (CDPRODUTO TEXT PRIMARY KEY, CDARVPROD TEXT, NMPRODUTO TEXT)",
    "CREATE TABLE TIPOEVENTO (CDTIPOEVENTO TEXT PRIMARY KEY, NMTIPOEVENTO TEXT)",
    "CREATE TABLE TIPOSERVEVEN (CDTPSERVEVEN TEXT PRIMARY KEY, NMTPSERVEVEN TEXT)"};

const QStringList cadastro = {
    "INSERT INTO VENDEDOR VALUES ('0002', 'Bruna'), ('0001', 'Ana')",
    "INSERT INTO PAIS VALUES ('1058', 'Brasil')",
    "INSERT INTO MUNICIPIO VALUES ('1058', 'SP', '3550308', 'São Paulo')",
    // The company's billing address is not the one the lookup shows.
    "INSERT INTO CLIENTE VALUES ('000000000000000000001', 'F', '12345678901', 'Maria', 'Maria Silva'),"
    " ('000000000000000000002', 'J', '11222333000181', 'Buffet Sol', 'Sol Eventos Ltda')",
    "INSERT INTO ENDECLIE VALUES ('000000000000000000001', 'P', '1058', 'SP', '3550308', 'Rua A, 1'),"
    " ('000000000000000000002', 'P', '1058', 'SP', '3550308', 'Av. B, 2'),"
    " ('000000000000000000002', 'C', '1058', 'SP', '3550308', 'Caixa Postal 3')",
    "INSERT INTO PRODUTO VALUES ('000001', '010020007', 'Docinhos'), ('000002', '010020008', 'Salgados')",
    "INSERT INTO TIPOEVENTO VALUES ('001', 'Casamento'), ('002', 'Formatura')",
    "INSERT INTO TIPOSERVEVEN VALUES ('001', 'Jantar'), ('002', 'Coquetel')"};

// Runs `statements` on the local database file at `path`.
bool executa(const QString &path, const QStringList &statements, QString *error)
{
    bool done = true;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("preparo"));
        database.setDatabaseName(path);
        done = database.open();
        QSqlQuery query(database);
        for (const QString &statement : statements) {
            if (done && !query.exec(statement)) {
                *error = statement + QStringLiteral(": ") + query.lastError().text();
                done = false;
            }
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("preparo"));
    return done;
}

} // namespace

class TestFiltroListas final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void lookupOffersItsTableAndKeepsTheChoice_data();
    void lookupOffersItsTableAndKeepsTheChoice();
    void cancelledLookupKeepsTheList();
    void listaCountsTheCodesFromOpeningToClearing();
    void f9OnListaOpensTheLookupEvenWithTheButtonDisabled();
    void f9ElsewhereOpensNothing();
    void enterPassesTheListF9AndSpaceOpenIt_data();
    void enterPassesTheListF9AndSpaceOpenIt();
    void arrowsMoveBetweenTodosAndLista_data();
    void arrowsMoveBetweenTodosAndLista();
    void emptyTableIsReportedWithItsFocus_data();
    void emptyTableIsReportedWithItsFocus();
    void emptyEventTypeTableIsReportedByTheLookup();
    void lookupTablesAreReadOncePerOpeningProductsEveryTime();
    void clientShowsRegistrationThroughItsPersonMask();
    void productLookupShowsCodesThroughTheProductMask();
    void contaCheckedCountsEntries_data();
    void contaCheckedCountsEntries();

    void savingWritesTheFiveListsInOrderWithoutEmptyOnes();
    void loadingReplacesTheListsOnlyAndConfirmedFilterStays();
    void loadingASetSavedWithoutListsEmptiesThemAll();
    void loadThatLoadsNothingKeepsThePicks_data();
    void loadThatLoadsNothingKeepsThePicks();

private:
    // Points the local database at the full or the empty copy.
    void usaBanco(const QString &file);

    QTemporaryDir dir;
    TdtmDBGeral local;
    std::unique_ptr<ScriptedDialogs> dialogs;
};

void TestFiltroListas::initTestCase()
{
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(executa(dir.filePath(QStringLiteral("cheio.db")), esquema + cadastro, &error), qPrintable(error));
    QVERIFY2(executa(dir.filePath(QStringLiteral("vazio.db")), esquema, &error), qPrintable(error));
    SavedOptions::setFileName(dir.filePath(QStringLiteral("opcoes.ini")));
    Corvane::LoginData login;
    login.pictures.insert(0, QStringLiteral("99.999.9999;_"));
    Corvane::SetLogin(login);
}

void TestFiltroListas::init()
{
    dialogs = std::make_unique<ScriptedDialogs>();
    Cli_cxl04101::Initialization();
    Filtro = FiltroPadrao();
    usaBanco(QStringLiteral("cheio.db"));
}

void TestFiltroListas::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete frmFiltroCancelamento.data();
    boIdCriado = false;
    Cli_cxl04101::Finalization();
    dialogs.reset();
}

void TestFiltroListas::cleanupTestCase()
{
    dtmDBGeral = nullptr;
    local.close();
    SavedOptions::setFileName(QString());
}

void TestFiltroListas::usaBanco(const QString &file)
{
    local.open(dir.filePath(file));
    dtmDBGeral = &local;
}

void TestFiltroListas::lookupOffersItsTableAndKeepsTheChoice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("picked");
    QTest::newRow("sellers") << "Vendedor" << "Vendedor" << QStringList{"0001", "0002"};
    QTest::newRow("clients") << "Cliente" << "Cliente" << QStringList{"000000000000000000002"};
    QTest::newRow("service types") << "TipoServ" << "Tipo de Serviço" << QStringList{"002"};
    QTest::newRow("event types") << "TipoEven" << "Tipo de Evento" << QStringList{"001", "002"};
}

void TestFiltroListas::lookupOffersItsTableAndKeepsTheChoice()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QStringList, picked);
    dialogs->answerPickMany(picked);
    QString list;
    QString caption;
    QStringList preselected;
    openWith([&](TfrmFiltroCancelamento &d) {
        const Criterio c = criterio(d, name);
        *c.workingList = QStringLiteral("0009");
        QTest::mouseClick(c.lista, Qt::LeftButton);
        QTest::mouseClick(c.search, Qt::LeftButton);
        list = *c.workingList;
        caption = c.lista->text();
        preselected = dialogs->lastPreselected();
        d.sbtCancel->click();
    });
    QCOMPARE(dialogs->pickTitles(), QStringList{title});
    QCOMPARE(preselected, QStringList{QStringLiteral("0009")});
    QCOMPARE(list, picked.join(QLatin1Char('_')));
    QCOMPARE(caption, QStringLiteral("Lista (%1)").arg(picked.size()));
    QCOMPARE(dialogs->shownTexts(), QStringList());
}

void TestFiltroListas::listaCountsTheCodesFromOpeningToClearing()
{
    Filtro.Vendedor.Lista = QStringLiteral("0001_0002_0003");
    Filtro.Vendedor.Todos.clear();
    QStringList captions;
    openWith([&](TfrmFiltroCancelamento &d) {
        captions << d.rbtLVendedor->text() << d.rbtLCliente->text();
        d.sbtLimpa->click();
        captions << d.rbtLVendedor->text();
        d.sbtCancel->click();
    });
    QCOMPARE(captions, (QStringList{QStringLiteral("Lista (3)"), QStringLiteral("Lista"), QStringLiteral("Lista")}));
}

void TestFiltroListas::cancelledLookupKeepsTheList()
{
    dialogs->answerPickManyCancel();
    openWith([](TfrmFiltroCancelamento &d) {
        stCliente = QStringLiteral("000000000000000000001");
        d.rbtLCliente->setChecked(true);
        d.sbtCliente->click();
        d.sbtCancel->click();
    });
    QCOMPARE(dialogs->pickTitles().size(), 1);
    QCOMPARE(stCliente, QStringLiteral("000000000000000000001"));
}

void TestFiltroListas::f9OnListaOpensTheLookupEvenWithTheButtonDisabled()
{
    dialogs->answerPickMany({QStringLiteral("002")});
    bool buttonDisabled = false;
    bool stillTodos = false;
    openWith([&](TfrmFiltroCancelamento &d) {
        buttonDisabled = !d.sbtTipoServ->isEnabled();
        d.rbtLTipoServ->setFocus();
        QTest::keyClick(d.rbtLTipoServ, Qt::Key_F9, Qt::ShiftModifier);
        stillTodos = d.rbtTTipoServ->isChecked();
        d.sbtCancel->click();
    });
    QVERIFY(buttonDisabled);
    QVERIFY(stillTodos);
    QCOMPARE(dialogs->pickTitles(), QStringList{QStringLiteral("Tipo de Serviço")});
    QCOMPARE(stTipoServ, QStringLiteral("002"));
}

void TestFiltroListas::f9ElsewhereOpensNothing()
{
    openWith([](TfrmFiltroCancelamento &d) {
        d.rbtLVendedor->setChecked(true);
        d.rbtTCliente->setFocus();
        QTest::keyClick(d.rbtTCliente, Qt::Key_F9);
        d.medOrcaDe->setFocus();
        QTest::keyClick(d.medOrcaDe, Qt::Key_F9);
        d.rbtLVendedor->setFocus();
        QTest::keyClick(d.rbtLVendedor, Qt::Key_F8);
        d.sbtCancel->click();
    });
    QCOMPARE(dialogs->pickTitles(), QStringList());
}

void TestFiltroListas::enterPassesTheListF9AndSpaceOpenIt_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("seen"); // on each "Lista", then its button: + pick list, > moved on, = stayed
    QTest::newRow("Enter") << int(Qt::Key_Return) << ">>>>>>>>";
    QTest::newRow("F9") << int(Qt::Key_F9) << "++++++++";
    QTest::newRow("Space") << int(Qt::Key_Space) << "=+=+=+=+";
}

void TestFiltroListas::enterPassesTheListF9AndSpaceOpenIt()
{
    QFETCH(int, key);
    QString seen;
    openWith([&](TfrmFiltroCancelamento &d) {
        for (const QString &name : listCriteria) {
            const Criterio c = criterio(d, name);
            c.lista->click();
            for (QWidget *control : std::initializer_list<QWidget *>{c.lista, c.search}) {
                const qsizetype picks = dialogs->pickTitles().size();
                dialogs->answerPickManyCancel();
                control->setFocus();
                QTest::keyClick(control, Qt::Key(key));
                seen += dialogs->pickTitles().size() > picks ? '+' : control->hasFocus() ? '=' : '>';
            }
        }
        d.sbtCancel->click();
    });
    QTEST(seen, "seen");
}

void TestFiltroListas::arrowsMoveBetweenTodosAndLista_data()
{
    QTest::addColumn<QList<int>>("arrows");
    QTest::newRow("across") << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Left};
    QTest::newRow("down and up") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up};
}

void TestFiltroListas::arrowsMoveBetweenTodosAndLista()
{
    QFETCH(QList<int>, arrows);
    QString chosen; // after each arrow: the choice checked and focused, its button usable on "Lista" only
    openWith([&](TfrmFiltroCancelamento &d) {
        for (const QString &name : listCriteria) {
            const Criterio c = criterio(d, name);
            c.todos->setFocus();
            for (int arrow : arrows) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(arrow));
                QRadioButton *on = c.lista->isChecked() ? c.lista : c.todos;
                chosen += on->hasFocus() && c.search->isEnabled() == (on == c.lista) ? on->text().at(0) : QChar('?');
            }
        }
        d.sbtCancel->click();
    });
    QCOMPARE(chosen, QStringLiteral("LLTT").repeated(listCriteria.size()));
}

void TestFiltroListas::emptyTableIsReportedWithItsFocus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("sellers") << "Vendedor" << "Não há vendedor cadastrado." << "rbtLVendedor";
    QTest::newRow("clients") << "Cliente" << "Não há cliente cadastrado." << "rbtLCliente";
    QTest::newRow("service types, back to Todos") << "TipoServ" << "Não há tipo de serviço cadastrado."
                                                  << "rbtTTipoServ";
}

void TestFiltroListas::emptyTableIsReportedWithItsFocus()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    usaBanco(QStringLiteral("vazio.db"));
    QString focused;
    QString list;
    openWith([&](TfrmFiltroCancelamento &d) {
        const Criterio c = criterio(d, name);
        *c.workingList = QStringLiteral("0001");
        c.lista->setChecked(true);
        d.edtTitulo->setFocus();
        QTest::mouseClick(c.search, Qt::LeftButton);
        focused = d.focusWidget()->objectName();
        list = *c.workingList;
        d.sbtCancel->click();
    });
    QCOMPARE(dialogs->shownTexts(), QStringList{message});
    QCOMPARE(focused, focus);
    QCOMPARE(dialogs->pickTitles(), QStringList());
    QCOMPARE(list, QStringLiteral("0001"));
}

void TestFiltroListas::emptyEventTypeTableIsReportedByTheLookup()
{
    usaBanco(QStringLiteral("vazio.db"));
    openWith([](TfrmFiltroCancelamento &d) {
        stTipoEven = QStringLiteral("001");
        d.rbtLTipoEven->setChecked(true);
        d.sbtTipoEven->click();
        d.sbtCancel->click();
    });
    QCOMPARE(dialogs->shown().size(), 1);
    QCOMPARE(dialogs->shown().first().title, QStringLiteral("Tipo de Evento"));
    QCOMPARE(dialogs->shown().first().text, QStringLiteral("Não há tipo de evento cadastrado."));
    QCOMPARE(stTipoEven, QStringLiteral("001"));
}

void TestFiltroListas::lookupTablesAreReadOncePerOpeningProductsEveryTime()
{
    for (int i = 0; i < 4; ++i) {
        dialogs->answerPickManyCancel();
    }
    QList<int> sellers;
    QList<int> products;
    QString error;
    openWith([&](TfrmFiltroCancelamento &d) {
        d.rbtLVendedor->setChecked(true);
        d.sbtVendedor->click();
        d.sbtProdutoClick(nullptr);
        sellers << d.qryVendedor->recordCount();
        products << d.qryProduto->recordCount();
        executa(local.path(),
                {"INSERT INTO VENDEDOR VALUES ('0003', 'Carla')",
                 "INSERT INTO PRODUTO VALUES ('000003', '010020009', 'Bolo')"},
                &error);
        d.sbtVendedor->click();
        d.sbtProdutoClick(nullptr);
        sellers << d.qryVendedor->recordCount();
        products << d.qryProduto->recordCount();
        d.sbtCancel->click();
    });
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(sellers, QList<int>({2, 2}));
    QCOMPARE(products, QList<int>({2, 3}));
    executa(local.path(),
            {"DELETE FROM VENDEDOR WHERE CDVENDEDOR = '0003'", "DELETE FROM PRODUTO WHERE CDPRODUTO = '000003'"},
            &error);
}

void TestFiltroListas::clientShowsRegistrationThroughItsPersonMask()
{
    dialogs->answerPickManyCancel();
    QStringList shown;
    QStringList visible;
    openWith([&](TfrmFiltroCancelamento &d) {
        d.rbtLCliente->setChecked(true);
        d.sbtCliente->click();
        TADOIBQuery &clientes = *d.qryCliente;
        // As the lookup's grid paints them: each row through its own person type.
        const int inscricao = clientes.fieldByName(QStringLiteral("NRINSJURCLIE")).index();
        const int endereco = clientes.fieldByName(QStringLiteral("DSENDECLIE")).index();
        for (int row = 0; row < clientes.recordCount(); ++row) {
            shown << clientes.displayTextAt(row, inscricao) << clientes.displayTextAt(row, endereco);
        }
        for (int i = 0; i < clientes.fieldCount(); ++i) {
            if (clientes.field(i).isVisible()) {
                visible << clientes.field(i).displayLabel();
            }
        }
        d.sbtCancel->click();
    });
    // In order of registration number; only the main address of each client.
    QCOMPARE(shown, QStringList({"11.222.333/0001-81", "Av. B, 2", "123.456.789-01", "Rua A, 1"}));
    QCOMPARE(visible, QStringList({"Nr. Inscrição", "Nome", "Razão Social", "País", "Estado", "Municipio",
                                   "Endereço"}));
}

void TestFiltroListas::productLookupShowsCodesThroughTheProductMask()
{
    dialogs->answerPickMany({QStringLiteral("010020008")});
    QStringList codes;
    openWith([&](TfrmFiltroCancelamento &d) {
        d.sbtProdutoClick(nullptr);
        for (int row = 0; row < d.qryProduto->recordCount(); ++row) {
            d.qryProduto->moveTo(row);
            codes << d.qryProduto->fieldByName(QStringLiteral("CDARVPROD")).displayText();
        }
        d.sbtCancel->click();
    });
    QCOMPARE(dialogs->pickTitles(), QStringList{QStringLiteral("Produto")});
    QCOMPARE(codes, QStringList({"01.002.0007", "01.002.0008"}));
    QCOMPARE(stProduto, QStringLiteral("010020008"));
}

void TestFiltroListas::contaCheckedCountsEntries_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("one code") << "0001" << 1;
    QTest::newRow("two separators") << "0001_0002_0003" << 3;
    QTest::newRow("separators only are counted") << "__" << 3;
}

void TestFiltroListas::contaCheckedCountsEntries()
{
    QFETCH(QString, list);
    QFETCH(int, count);
    QCOMPARE(ContaChecked(list), count);
}

void TestFiltroListas::savingWritesTheFiveListsInOrderWithoutEmptyOnes()
{
    dialogs->answerName(QStringLiteral("sem vendedor"));
    QStringList lines;
    openWith([&](TfrmFiltroCancelamento &d) {
        stCliente = QStringLiteral("000000000000000000001");
        d.rbtLCliente->setChecked(true);
        d.rbtTCliente->setChecked(true);
        stTipoServ = QStringLiteral("002");
        stTipoEven = QStringLiteral("001_002");
        stProduto = QStringLiteral("010020007");
        d.btfSaveOpc->click();
        lines = d.options().lines();
        d.sbtCancel->click();
    });
    const QStringList expected = {"stCliente=000000000000000000001", "stTipoEven=001_002", "stProduto=010020007",
                                  "stTipoServ=002"};
    QCOMPARE(lines, expected);
    QCOMPARE(SavedOptions::load(QStringLiteral("CXL04101"), QStringLiteral("sem vendedor")), expected);
}

void TestFiltroListas::loadingReplacesTheListsOnlyAndConfirmedFilterStays()
{
    SavedOptions::save(QStringLiteral("CXL04101"), QStringLiteral("festas"),
                       {"stVendedor=0001_0002", "stTipoEven=002", "stProduto=010020008"});
    dialogs->answerName(QStringLiteral("festas"));
    Filtro = filtroRestrito();
    const QStringList confirmed = campos(Filtro);
    bool radiosKept = false;
    const int result = openWith([&](TfrmFiltroCancelamento &d) {
        d.rbtTTipoEven->setChecked(true);
        d.btfLoadOpc->click();
        radiosKept = d.rbtLVendedor->isChecked() && d.rbtTTipoEven->isChecked() && !d.sbtTipoEven->isEnabled() &&
                     d.rbtLVendedor->text() == QStringLiteral("Lista (2)") &&
                     d.rbtLTipoEven->text() == QStringLiteral("Lista (1)");
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    QCOMPARE(result, 2);
    QVERIFY(radiosKept);
    QCOMPARE(stVendedor, QStringLiteral("0001_0002"));
    QCOMPARE(stTipoEven, QStringLiteral("002"));
    QCOMPARE(stProduto, QStringLiteral("010020008"));
    QCOMPARE(stCliente, QString());
    QCOMPARE(stTipoServ, QString());
    QCOMPARE(campos(Filtro), confirmed);
}

void TestFiltroListas::loadingASetSavedWithoutListsEmptiesThemAll()
{
    dialogs->answerName(QStringLiteral("vazio"));
    dialogs->answerName(QStringLiteral("vazio"));
    QList<QString *> lists = {&stVendedor, &stCliente, &stTipoServ, &stTipoEven, &stProduto};
    openWith([&](TfrmFiltroCancelamento &d) {
        d.btfSaveOpc->click();
        for (QString *list : lists) {
            *list = QStringLiteral("0001");
        }
        d.btfLoadOpc->click();
        d.sbtCancel->click();
    });
    for (QString *list : lists) {
        QCOMPARE(*list, QString());
    }
}

void TestFiltroListas::loadThatLoadsNothingKeepsThePicks_data()
{
    QTest::addColumn<bool>("somethingSaved");
    QTest::newRow("choice cancelled") << true;
    QTest::newRow("nothing saved") << false;
}

void TestFiltroListas::loadThatLoadsNothingKeepsThePicks()
{
    QFETCH(bool, somethingSaved);
    SavedOptions::setFileName(dir.filePath(QStringLiteral("nada_salvo.ini")));
    if (somethingSaved) {
        SavedOptions::save(QStringLiteral("CXL04101"), QStringLiteral("festas"), {"stVendedor=0009"});
        dialogs->answerName(QString());
    }
    QList<QString *> lists = {&stVendedor, &stCliente, &stTipoServ, &stTipoEven, &stProduto};
    openWith([&](TfrmFiltroCancelamento &d) {
        for (QString *list : lists) {
            *list = QStringLiteral("0001_0002");
        }
        d.btfLoadOpc->click();
        d.sbtCancel->click();
    });
    QVERIFY(dialogs->allAnswersUsed());
    QFile::remove(dir.filePath(QStringLiteral("nada_salvo.ini")));
    SavedOptions::setFileName(dir.filePath(QStringLiteral("opcoes.ini")));
    for (QString *list : lists) {
        QCOMPARE(*list, QStringLiteral("0001_0002"));
    }
}

QTEST_MAIN(TestFiltroListas)
#include "tst_filtro_listas.moc"
