// A screen's message table: lookup by key in stored order, and questions
// whose buttons are captioned from the table.
#include "ScriptedDialogs.h"
#include "TMessages.h"

#include <QtTest>

class tst_TMessages final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void msgGivesTheTextOfTheKey_data();
    void msgGivesTheTextOfTheKey();
    void showMsgAlertAsksWithTheButtonTexts();
    void showMsgAlertNumbersTheButtonsFromTen_data();
    void showMsgAlertNumbersTheButtonsFromTen();
    void showMsgAlertUsesTheIconOfItsKind_data();
    void showMsgAlertUsesTheIconOfItsKind();
    void standardTableAsksToCancelTheChanges();

private:
    TMessages m_table{"msgPadrao"};
};

void tst_TMessages::init()
{
    m_table.setLines({
        "Excl|Confirma exclusão?",
        "Filial_N_Inf|Filial deve ser informada.",
        "1|Pendente",
        "Motivo|Motivo",
        "Motivo_NCad|Motivo não cadastrado.",
        "confirmar|Escollha uma operação",
        "btnCancelar|Cancelar",
        "btnAdiar|Adiar",
        "btnVoltar|Voltar",
        "Motivo|segunda linha com a mesma chave",
        "Opcoes|Sim|Não",
        "SemTexto",
    });
}

void tst_TMessages::msgGivesTheTextOfTheKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("existing") << "Filial_N_Inf" << "Filial deve ser informada.";
    QTest::newRow("digit key") << "1" << "Pendente";
    QTest::newRow("missing key is empty") << "Filial_N_Cad" << "";
    QTest::newRow("duplicate key: first line wins") << "Motivo" << "Motivo";
    QTest::newRow("key matched exactly, case counts") << "motivo" << "";
    QTest::newRow("no prefix match") << "Motivo_N" << "";
    QTest::newRow("text keeps later bars") << "Opcoes" << "Sim|Não";
    QTest::newRow("line without bar has no text") << "SemTexto" << "";
    QTest::newRow("empty key") << "" << "";
}

void tst_TMessages::msgGivesTheTextOfTheKey()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QCOMPARE(m_table.Msg(key), text);
}

void tst_TMessages::showMsgAlertAsksWithTheButtonTexts()
{
    ScriptedDialogs dialogs;
    dialogs.answerAsk(0);
    m_table.ShowMsgAlert("confirmar", TMessages::DialogKind::Confirmation,
                         {"btnCancelar", "btnAdiar", "btnVoltar"}, 0);
    QCOMPARE(dialogs.shown().size(), 1);
    const ScriptedDialogs::Shown asked = dialogs.shown().first();
    QCOMPARE(asked.text, QStringLiteral("Escollha uma operação"));
    QCOMPARE(asked.buttons, QStringList({"Cancelar", "Adiar", "Voltar"}));
    QCOMPARE(asked.title, QStringLiteral("Confirmação"));
}

void tst_TMessages::showMsgAlertNumbersTheButtonsFromTen_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("result");
    QTest::newRow("first button") << 0 << 10;
    QTest::newRow("second button") << 1 << 11;
    QTest::newRow("third button") << 2 << 12;
    QTest::newRow("closed without a choice") << -1 << 0;
}

void tst_TMessages::showMsgAlertNumbersTheButtonsFromTen()
{
    QFETCH(int, chosen);
    QFETCH(int, result);
    ScriptedDialogs dialogs;
    dialogs.answerAsk(chosen);
    QCOMPARE(m_table.ShowMsgAlert("confirmar", TMessages::DialogKind::Confirmation,
                                  {"btnCancelar", "btnAdiar", "btnVoltar"}, 0),
             result);
    QVERIFY(dialogs.allAnswersUsed());
}

void tst_TMessages::showMsgAlertUsesTheIconOfItsKind_data()
{
    QTest::addColumn<TMessages::DialogKind>("kind");
    QTest::addColumn<HostDialogs::Icon>("icon");
    QTest::addColumn<QString>("title");
    QTest::newRow("confirmation") << TMessages::DialogKind::Confirmation << HostDialogs::Icon::Question
                                  << "Confirmação";
    QTest::newRow("warning") << TMessages::DialogKind::Warning << HostDialogs::Icon::Warning << "Atenção";
    QTest::newRow("error") << TMessages::DialogKind::Error << HostDialogs::Icon::Error << "Erro";
    QTest::newRow("information") << TMessages::DialogKind::Information
                                 << HostDialogs::Icon::Information << "Informação";
}

void tst_TMessages::showMsgAlertUsesTheIconOfItsKind()
{
    QFETCH(TMessages::DialogKind, kind);
    QFETCH(HostDialogs::Icon, icon);
    QFETCH(QString, title);
    ScriptedDialogs dialogs;
    dialogs.answerAsk(0);
    m_table.ShowMsgAlert("Excl", kind, {"btnVoltar"}, 0);
    QCOMPARE(dialogs.shown().first().icon, icon);
    QCOMPARE(dialogs.shown().first().title, title);
}

void tst_TMessages::standardTableAsksToCancelTheChanges()
{
    TMessages standard("msgMensagensPadroes");
    standard.setLines(TMessages::padroes());
    QCOMPARE(standard.Msg("Canc"), QStringLiteral("Deseja cancelar as alterações?"));
    QCOMPARE(standard.Msg("Excl"), QStringLiteral("Confirma exclusão?"));
    for (const QString &line : standard.lines()) {
        QVERIFY2(line.indexOf('|') > 0, qPrintable(line));
    }
}

QTEST_GUILESS_MAIN(tst_TMessages)
#include "tst_tmessages.moc"
