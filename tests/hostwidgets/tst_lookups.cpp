#include "Abort.h"
#include "Field.h"
#include "Lib00210.h"
#include "ListFixture.h"
#include "Pesqlista.h"
#include "Pesquisa.h"
#include "Procurar.h"
#include "ScriptedDialogs.h"
#include "TADOIBQuery.h"
#include "TBtnPesquisa.h"
#include "TDataSource.h"
#include "TdtmDBGeral.h"

#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {
// The local database with a few products, installed as the client's one.
struct LocalProducts {
    TdtmDBGeral database;

    LocalProducts()
    {
        database.open(QStringLiteral(":memory:"));
        QSqlQuery sql(database.database());
        sql.exec(QStringLiteral("CREATE TABLE PRODUTO (CDPRODUTO VARCHAR(10), CDARVPROD VARCHAR(20), "
                                "NMPRODUTO VARCHAR(50), SGUNIDADE VARCHAR(10))"));
        const QStringList rows{QStringLiteral("'1','0101001','Salgado frito','UN'"),
                               QStringLiteral("'2','0101002','Bolo de chocolate','KG'"),
                               QStringLiteral("'3','0202001','Refrigerante','LT'"),
                               QStringLiteral("'4','0202002','Suco de frutas','LT'")};
        for (const QString &row : rows) {
            sql.exec(QStringLiteral("INSERT INTO PRODUTO VALUES (%1)").arg(row));
        }
        dtmDBGeral = &database;
    }
    ~LocalProducts() { dtmDBGeral = nullptr; }
};

std::unique_ptr<TADOIBQuery> productQuery()
{
    auto query = std::make_unique<TADOIBQuery>(QStringLiteral("qryProduto"));
    query->SQL = {QStringLiteral("SELECT"), QStringLiteral("   CDARVPROD,"), QStringLiteral("   NMPRODUTO"),
                  QStringLiteral("FROM"), QStringLiteral("   PRODUTO"), QStringLiteral("ORDER BY"),
                  QStringLiteral("   CDARVPROD")};
    return query;
}

QStringList codesOf(const RecordList &list, const QString &field)
{
    QStringList codes;
    const int column = list.fieldByName(field).index();
    for (int row = 0; row < list.recordCount(); ++row) {
        codes << list.valueAt(row, column).toString();
    }
    return codes;
}

// A code edit with its lookup button over the four-branch list.
struct LookupScreen {
    std::unique_ptr<RecordList> list = makeCodeNameList(fourBranches());
    TDataSource source;
    QWidget window;
    QLineEdit *edit = new QLineEdit(&window);
    TBtnPesquisa *button = new TBtnPesquisa(&window);
    QStringList events;

    LookupScreen()
    {
        source.setDataSet(list.get());
        button->setAssociatedEdit(edit);
        button->setDataSource(&source);
        button->setTitle(QStringLiteral("Filial"));
        button->setEmptyMessage(QStringLiteral("Não há filial cadastrada."));
        button->move(120, 0);
        button->onBeforePesq = [this](TBtnPesquisa &sender, bool &) {
            QCOMPARE(&sender, button);
            events << QStringLiteral("before");
        };
        button->onAfterPesq = [this](TBtnPesquisa &sender) {
            QCOMPARE(&sender, button);
            events << QStringLiteral("after:") + edit->text();
        };
        window.show();
    }
};
} // namespace

class TestLookups final : public QObject {
    Q_OBJECT

private slots:
    // ---- Pesqlista ---------------------------------------------------------

    void pesquisaListaJoinsTheChosenKeys_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("after");
        QTest::newRow("first choice") << QString() << QStringList{} << QStringList{QStringLiteral("0002"), QStringLiteral("0004")}
                                      << QStringLiteral("0002_0004");
        QTest::newRow("one kept") << QStringLiteral("0001_0003") << QStringList{QStringLiteral("0001"), QStringLiteral("0003")}
                                  << QStringList{QStringLiteral("0003")} << QStringLiteral("0003");
        QTest::newRow("all cleared") << QStringLiteral("0001") << QStringList{QStringLiteral("0001")} << QStringList{}
                                     << QString();
    }

    void pesquisaListaJoinsTheChosenKeys()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, offered);
        QFETCH(QStringList, chosen);
        QFETCH(QString, after);
        ScriptedDialogs dialogs;
        dialogs.answerPickMany(chosen);
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        QString choice = before;

        QVERIFY(Pesqlista::PesquisaLista(source, QStringLiteral("CODE"), QStringLiteral("Vendedor"), false, choice));

        QCOMPARE(dialogs.lastPreselected(), offered);
        QCOMPARE(dialogs.pickTitles(), QStringList{QStringLiteral("Vendedor")});
        QCOMPARE(choice, after);
    }

    void pesquisaListaCancelledKeepsTheList()
    {
        ScriptedDialogs dialogs;
        dialogs.answerPickManyCancel();
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        QString choice = QStringLiteral("0001_0002");
        QVERIFY(!Pesqlista::PesquisaLista(source, QStringLiteral("CODE"), QStringLiteral("Cliente"), false, choice));
        QCOMPARE(choice, QStringLiteral("0001_0002"));
    }

    void pesquisaListaFlagStartsFromAllWhenNothingWasChosen()
    {
        ScriptedDialogs dialogs;
        dialogs.answerPickMany({QStringLiteral("0001")});
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        QString choice;
        QVERIFY(Pesqlista::PesquisaLista(source, QStringLiteral("CODE"), QStringLiteral("Cliente"), true, choice));
        QCOMPARE(dialogs.lastPreselected(), codesOf(*list, QStringLiteral("CODE")));
        QCOMPARE(choice, QStringLiteral("0001"));
    }

    void pesquisaListaOverAnEmptyListShowsItsMessage_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("message");
        QTest::newRow("own message") << QStringLiteral("Tipo de Evento|Não há tipo de evento cadastrado.") << false
                                     << QStringLiteral("Não há tipo de evento cadastrado.");
        QTest::newRow("generic") << QStringLiteral("Vendedor") << false << QStringLiteral("Não há registros para pesquisa.");
        QTest::newRow("closed list") << QStringLiteral("Produto|Não há produto cadastrado.") << true
                                     << QStringLiteral("Não há produto cadastrado.");
    }

    void pesquisaListaOverAnEmptyListShowsItsMessage()
    {
        QFETCH(QString, title);
        QFETCH(bool, closed);
        QFETCH(QString, message);
        ScriptedDialogs dialogs;
        auto list = makeCodeNameList({});
        if (closed) {
            list->close();
        }
        TDataSource source;
        source.setDataSet(list.get());
        QString choice = QStringLiteral("0001");

        QVERIFY(!Pesqlista::PesquisaLista(source, QStringLiteral("CODE"), title, false, choice));

        QCOMPARE(dialogs.shownTexts(), QStringList{message});
        QVERIFY(dialogs.pickTitles().isEmpty());
        QCOMPARE(choice, QStringLiteral("0001"));
    }

    void pesquisaListaTitleLosesTheMessagePart()
    {
        ScriptedDialogs dialogs;
        dialogs.answerPickMany({});
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        QString choice;
        Pesqlista::PesquisaLista(source, QStringLiteral("CODE"), QStringLiteral("Tipo de Evento|Não há."), false, choice);
        QCOMPARE(dialogs.pickTitles(), QStringList{QStringLiteral("Tipo de Evento")});
    }

    void pesquisaListaWithAnUnknownKeyFieldFails()
    {
        ScriptedDialogs dialogs;
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        QString choice;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 Pesqlista::PesquisaLista(source, QStringLiteral("CDVENDEDOR"), QStringLiteral("Vendedor"),
                                                          false, choice));
    }

    // ---- Pesquisa ----------------------------------------------------------

    void pesquisarPickMakesTheRecordCurrent()
    {
        ScriptedDialogs dialogs;
        dialogs.answerPickOne(QStringLiteral("0003"));
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());

        QVERIFY(Pesquisa::Pesquisar(source, QStringLiteral("Motivo"), false, true));

        QCOMPARE(list->recNo(), 2);
        QCOMPARE(dialogs.pickTitles(), QStringList{QStringLiteral("Motivo")});
    }

    void pesquisarCancelledLeavesTheList()
    {
        ScriptedDialogs dialogs;
        dialogs.answerPickOne(QString());
        auto list = makeCodeNameList(fourBranches());
        list->moveTo(1);
        TDataSource source;
        source.setDataSet(list.get());
        QVERIFY(!Pesquisa::Pesquisar(source, QStringLiteral("Motivo"), false, true));
        QCOMPARE(list->recNo(), 1);
    }

    void pesquisarOverAnEmptyList_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("allowEmptyPick");
        QTest::addColumn<bool>("showEmptyMessage");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("dialogOpened");
        QTest::newRow("message") << QStringLiteral("Motivo") << false << true
                                 << QStringList{QStringLiteral("Não há registros para pesquisa.")} << false;
        QTest::newRow("own message") << QStringLiteral("Motivo|Não há motivo cadastrado.") << false << true
                                     << QStringList{QStringLiteral("Não há motivo cadastrado.")} << false;
        QTest::newRow("silent") << QStringLiteral("Motivo") << false << false << QStringList{} << false;
        QTest::newRow("opens anyway") << QStringLiteral("Motivo") << true << true << QStringList{} << true;
    }

    void pesquisarOverAnEmptyList()
    {
        QFETCH(QString, title);
        QFETCH(bool, allowEmptyPick);
        QFETCH(bool, showEmptyMessage);
        QFETCH(QStringList, shown);
        QFETCH(bool, dialogOpened);
        ScriptedDialogs dialogs;
        if (dialogOpened) {
            dialogs.answerPickOne(QString());
        }
        auto list = makeCodeNameList({});
        TDataSource source;
        source.setDataSet(list.get());

        QVERIFY(!Pesquisa::Pesquisar(source, title, allowEmptyPick, showEmptyMessage));

        QCOMPARE(dialogs.shownTexts(), shown);
        QCOMPARE(dialogs.pickTitles().size(), dialogOpened ? 1 : 0);
    }

    void pesquisarWithoutAListIsAMistake()
    {
        ScriptedDialogs dialogs;
        TDataSource source;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, Pesquisa::Pesquisar(source, QStringLiteral("Motivo"), false, true));
    }

    // ---- Procurar ----------------------------------------------------------

    void procuraMovesToTheFirstMatch_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("record");
        QTest::newRow("name") << QStringLiteral("NAME") << QStringLiteral("cent") << true << 2;
        QTest::newRow("first of two") << QStringLiteral("NAME") << QStringLiteral("ar") << true << 1;
        QTest::newRow("code") << QStringLiteral("CODE") << QStringLiteral("04") << true << 3;
        QTest::newRow("none") << QStringLiteral("NAME") << QStringLiteral("Leste") << false << 0;
    }

    void procuraMovesToTheFirstMatch()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, found);
        QFETCH(int, record);
        ScriptedDialogs dialogs;
        dialogs.answerFind(field, text);
        auto list = makeCodeNameList(fourBranches());
        list->moveTo(0);
        QCOMPARE(Procurar::Procura(*list), found);
        QCOMPARE(list->recNo(), record);
    }

    // ---- TBtnPesquisa ------------------------------------------------------

    void buttonIsAFlatLookupButton()
    {
        TBtnPesquisa button;
        QCOMPARE(button.toolTip(), QStringLiteral("Pesquisar"));
        QVERIFY(button.autoRaise());
        QCOMPARE(button.size(), QSize(21, 21));
        QCOMPARE(button.focusPolicy(), Qt::NoFocus);
    }

    void buttonPutsThePickedKeyIntoTheEdit()
    {
        ScriptedDialogs dialogs;
        dialogs.answerPickOne(QStringLiteral("0002"));
        LookupScreen screen;

        QTest::mouseClick(screen.button, Qt::LeftButton);

        QCOMPARE(screen.edit->text(), QStringLiteral("0002"));
        QCOMPARE(screen.events, (QStringList{QStringLiteral("before"), QStringLiteral("after:0002")}));
        QCOMPARE(screen.list->recNo(), 1);
        QCOMPARE(dialogs.pickTitles(), QStringList{QStringLiteral("Filial")});
    }

    void buttonCancelledRunsNoAfterEvent()
    {
        ScriptedDialogs dialogs;
        dialogs.answerPickOne(QString());
        LookupScreen screen;
        screen.edit->setText(QStringLiteral("0009"));
        QVERIFY(!screen.button->execute());
        QCOMPARE(screen.edit->text(), QStringLiteral("0009"));
        QCOMPARE(screen.events, QStringList{QStringLiteral("before")});
    }

    void buttonBeforeEventMayStopTheLookup()
    {
        ScriptedDialogs dialogs;
        LookupScreen screen;
        screen.button->onBeforePesq = [](TBtnPesquisa &, bool &proceed) { proceed = false; };
        QVERIFY(!screen.button->execute());
        QVERIFY(dialogs.pickTitles().isEmpty());
        QVERIFY(dialogs.shown().isEmpty());
    }

    void buttonBeforeEventMayRefillTheList()
    {
        ScriptedDialogs dialogs;
        dialogs.answerPickOne(QStringLiteral("0042"));
        LookupScreen screen;
        screen.button->onBeforePesq = [&screen](TBtnPesquisa &, bool &) {
            screen.list->loadPacket(codeNamePacket({{QStringLiteral("0042"), QStringLiteral("Nova")}}));
        };
        QVERIFY(screen.button->execute());
        QCOMPARE(screen.edit->text(), QStringLiteral("0042"));
    }

    void buttonOverAnEmptyListShowsItsMessage()
    {
        ScriptedDialogs dialogs;
        LookupScreen screen;
        screen.list->loadPacket(codeNamePacket({}));
        QVERIFY(!screen.button->execute());
        QCOMPARE(dialogs.shownTexts(), QStringList{QStringLiteral("Não há filial cadastrada.")});
        QVERIFY(dialogs.pickTitles().isEmpty());
        QCOMPARE(screen.events, QStringList{QStringLiteral("before")});
    }

    void buttonFailureIsReportedNotThrown()
    {
        ScriptedDialogs dialogs;
        LookupScreen screen;
        screen.button->onBeforePesq = [](TBtnPesquisa &, bool &) { throw std::runtime_error("Sem conexão."); };
        QVERIFY(!screen.button->execute());
        QCOMPARE(dialogs.shownTexts(), QStringList{QStringLiteral("Sem conexão.")});
    }

    void f9InTheEditRunsTheLookupWhileEnabled_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("enabled") << true;
        QTest::newRow("disabled") << false;
    }

    void f9InTheEditRunsTheLookupWhileEnabled()
    {
        QFETCH(bool, enabled);
        ScriptedDialogs dialogs;
        if (enabled) {
            dialogs.answerPickOne(QStringLiteral("0004"));
        }
        LookupScreen screen;
        screen.button->setEnabled(enabled);
        QTest::keyClick(screen.edit, Qt::Key_F9);
        QCOMPARE(screen.edit->text(), enabled ? QStringLiteral("0004") : QString());
        QVERIFY(dialogs.allAnswersUsed());
    }

    void buttonOpensAClosedQuery()
    {
        LocalProducts products;
        ScriptedDialogs dialogs;
        dialogs.answerPickOne(QStringLiteral("0202001"));
        auto query = productQuery();
        TDataSource source;
        source.setDataSet(query.get());
        QLineEdit edit;
        TBtnPesquisa button;
        button.setAssociatedEdit(&edit);
        button.setDataSource(&source);
        button.setTitle(QStringLiteral("Produto"));

        QVERIFY(button.execute());

        QVERIFY(query->isActive());
        QCOMPARE(edit.text(), QStringLiteral("0202001"));
    }

    // ---- Lib00210 ----------------------------------------------------------

    void productLookupNarrowsByCodeOrName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fromStart");
        QTest::addColumn<QStringList>("codes");
        const QStringList all{QStringLiteral("0101001"), QStringLiteral("0101002"), QStringLiteral("0202001"),
                              QStringLiteral("0202002")};
        QTest::newRow("empty keeps all") << QString() << true << all;
        QTest::newRow("blank keeps all") << QStringLiteral("  ") << false << all;
        QTest::newRow("code start") << QStringLiteral("0202") << true << QStringList{all[2], all[3]};
        QTest::newRow("name start, any case") << QStringLiteral("bolo") << true << QStringList{all[1]};
        QTest::newRow("inside needs anywhere") << QStringLiteral("frut") << true << QStringList{};
        QTest::newRow("anywhere") << QStringLiteral("FRUT") << false << QStringList{all[3]};
        QTest::newRow("code inside") << QStringLiteral("1002") << false << QStringList{all[1]};
    }

    void productLookupNarrowsByCodeOrName()
    {
        QFETCH(QString, text);
        QFETCH(bool, fromStart);
        QFETCH(QStringList, codes);
        LocalProducts products;
        auto query = productQuery();

        const QString message = Lib00210::SQL_Pesquisa_Produto(QStringLiteral("0001"), text, *query, fromStart);

        QCOMPARE(message, QStringLiteral("Não há produto cadastrado."));
        QVERIFY(query->isActive());
        QCOMPARE(codesOf(*query, QStringLiteral("CDARVPROD")), codes);
    }

    void productLookupOpeningAgainBringsEveryProductBack()
    {
        LocalProducts products;
        auto query = productQuery();
        query->Open();
        Lib00210::SQL_Pesquisa_Produto(QStringLiteral("0001"), QStringLiteral("suco"), *query, false);
        QCOMPARE(query->recordCount(), 1);
        query->Close();
        query->Open();
        QCOMPARE(query->recordCount(), 4);
    }

    void productLookupMessageFitsThePickersTitle()
    {
        LocalProducts products;
        ScriptedDialogs dialogs;
        auto query = productQuery();
        query->Open();
        Lib00210::SQL_Pesquisa_Produto(QStringLiteral("0001"), QStringLiteral("nada disso"), *query, false);
        TDataSource source;
        source.setDataSet(query.get());
        QString choice;
        const QString title = QStringLiteral("Produto|")
                              + Lib00210::SQL_Pesquisa_Produto(QStringLiteral("0001"), QString(), *query, true);
        QVERIFY(!Pesqlista::PesquisaLista(source, QStringLiteral("CDARVPROD"), title, false, choice));
        QCOMPARE(dialogs.shownTexts(), QStringList{QStringLiteral("Não há produto cadastrado.")});
    }
};

QTEST_MAIN(TestLookups)
#include "tst_lookups.moc"
