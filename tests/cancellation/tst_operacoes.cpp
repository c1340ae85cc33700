// The cancellation screen's operations without widgets or a server: a
// scripted server answers, loses the connection, or lets notices and a new
// connection arrive in the middle of a call; what the operator is told and
// what is sent must match what the server holds.
#include "Abort.h"
#include "ComandosCancelamento.h"
#include "GravacaoOrcamento.h"
#include "HostDialogs.h"
#include "OperacoesCancelamento.h"
#include "PacketReader.h"
#include "QuoteListing.h"
#include "RecordList.h"
#include "ScriptedDialogs.h"
#include "ServerAnswer.h"
#include "ServidorCancelamento.h"
#include "TMessages.h"
#include "TNetConnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QQueue>
#include <QtTest>

namespace {

const QStringList camposOrcamento{"CDFILIAL", "NRORCAEVENTO", "NRSEQORCAEVE", "IDSITUORCEVE", "CDJUSTEXCHIS", "CDOPEJUSTORC"};

QJsonObject pacote(const QStringList &campos, const QJsonArray &linhas)
{
    QJsonArray fields;
    for (const QString &campo : campos) {
        fields.append(QJsonObject{{"name", campo}, {"type", "text"}, {"size", 12}});
    }
    return {{"fields", fields}, {"rows", linhas}};
}

// One row as a packet's rows (a braced single array would be taken for the rows).
QJsonArray soEsta(const QJsonArray &linha)
{
    QJsonArray linhas;
    linhas.append(linha);
    return linhas;
}

QJsonObject checada(const QJsonValue &data)
{
    return {{"ok", true}, {"data", data}};
}

// Each call takes the next scripted step of its method; a step is
// "ok", "perdida" (the connection lost before the answer), "erro", "recusa"
// (a checked refusal), "lido:STATE/REASON/OPERATOR", "vazio", "texto:TEXT"
// or "sem" (no justification).
class ServidorRoteirizado final : public ServidorCancelamento {
public:
    explicit ServidorRoteirizado(const QStringList &roteiro)
    {
        for (const QString &passo : roteiro) {
            const qsizetype igual = passo.indexOf(QLatin1Char('='));
            m_passos[passo.left(igual)].enqueue(passo.mid(igual + 1));
        }
    }
    QStringList chamadas;
    std::function<void()> durante; // runs inside every call, as the busy sign's event loop would

    QJsonValue chama(const QString &metodo, const QList<TNetArg> &) override
    {
        chamadas << metodo;
        if (durante) {
            durante();
        }
        const QString passo = m_passos[metodo].isEmpty() ? QStringLiteral("ok") : m_passos[metodo].dequeue();
        if (passo == QLatin1String("perdida")) {
            throw TNetConnection::ConnectionLost("A conexão com o servidor caiu durante " + metodo.toStdString() + ".");
        }
        if (passo == QLatin1String("erro")) {
            throw std::runtime_error("falha em " + metodo.toStdString());
        }
        if (passo == QLatin1String("recusa")) {
            return QJsonObject{{"ok", false}, {"message", "recusado"}};
        }
        if (passo.startsWith(QLatin1String("lido:"))) {
            const QStringList lido = passo.mid(5).split(QLatin1Char('/'));
            return checada(pacote(camposOrcamento, soEsta({"0001", "0000000007", "01", lido[0], lido[1], lido[2]})));
        }
        if (passo == QLatin1String("vazio")) {
            return checada(pacote(camposOrcamento, {}));
        }
        if (metodo == QLatin1String("GetItemOrc")) {
            const QJsonArray linhas = passo.startsWith(QLatin1String("texto:")) ? soEsta({passo.mid(6)}) : QJsonArray{};
            return checada(QJsonArray{pacote({}, {}), pacote({"TXOBSJUSTORC"}, linhas)});
        }
        return metodo == QLatin1String("setAgendaSalao") ? QJsonValue() : QJsonValue(checada(1));
    }

    QJsonValue chamaPacote(const QString &metodo, const QList<TNetArg> &argumentos,
                           std::optional<PacketColumns> &pacoteLido) override
    {
        QJsonObject resposta = chama(metodo, argumentos).toObject();
        if (resposta.contains("data")) {
            JsonStreamReader leitor(QJsonDocument(resposta.take("data").toObject()).toJson(QJsonDocument::Compact),
                                    [](QByteArray &) { return false; });
            pacoteLido = PacketReader::read(leitor);
        }
        return resposta;
    }

private:
    QHash<QString, QQueue<QString>> m_passos;
};

ChangeDelta umaMudanca()
{
    ChangeDelta delta;
    delta.changes.append(RowChange{});
    return delta;
}

} // namespace

class tst_Operacoes final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { HostDialogs::install(nullptr); }
    void gravacaoDizOQueOServidorGuardou_data();
    void gravacaoDizOQueOServidorGuardou();
    void comandosSeguemOsFatos_data();
    void comandosSeguemOsFatos();
    void oQueChegaDuranteUmaOperacaoEspera_data();
    void oQueChegaDuranteUmaOperacaoEspera();

private:
    ListasCancelamento listas() { return {m_orcamentos, m_outra, m_outra, m_outra, m_outra}; }
    ScriptedDialogs m_dialogos;
    TMessages m_mensagens;
    RecordList m_orcamentos{QStringLiteral("cdsOrcamento")};
    RecordList m_outra{QStringLiteral("cdsOutra")};
};

void tst_Operacoes::init()
{
    m_dialogos.clear();
    HostDialogs::install(&m_dialogos);
    m_mensagens.setLines({"8|Cancelado", "SUCESSO|Operação realizada com sucesso."});
    ServerAnswer::LoadPacket(m_orcamentos, pacote(camposOrcamento, soEsta({"0001", "0000000007", "01", "8", "0002", "MSOUZA"})));
}

void tst_Operacoes::gravacaoDizOQueOServidorGuardou_data()
{
    QTest::addColumn<QStringList>("roteiro");
    QTest::addColumn<QString>("desfecho"); // sucesso, parcial (warning + steps left), abandona (Abort), erro
    QTest::addColumn<QString>("dito");
    QTest::addColumn<QStringList>("chamadas");
    const QStringList tudo{"SetOrcamento", "setAgendaSalao", "SetObs"};
    const QStringList releitura{"SetOrcamento", "GetOrcamento", "GetItemOrc"};
    QTest::newRow("every step answered") << QStringList{} << "sucesso" << "Operação realizada com sucesso." << tudo;
    QTest::newRow("state lost, read back as ours")
        << QStringList{"SetOrcamento=perdida", "GetOrcamento=lido:8/0002/MSOUZA", "GetItemOrc=sem"} << "sucesso"
        << "Operação realizada com sucesso." << releitura + QStringList{"setAgendaSalao", "SetObs"};
    QTest::newRow("state lost, read-back lists nothing")
        << QStringList{"SetOrcamento=perdida", "GetOrcamento=vazio"} << "erro" << "Não foi possível saber se o orçamento"
        << QStringList{"SetOrcamento", "GetOrcamento"};
    QTest::newRow("state lost, read-back lost too")
        << QStringList{"SetOrcamento=perdida", "GetOrcamento=perdida"} << "erro" << "Nada foi repetido"
        << QStringList{"SetOrcamento", "GetOrcamento"};
    QTest::newRow("state lost, another operator withdrew it with their reason")
        << QStringList{"SetOrcamento=perdida", "GetOrcamento=lido:8/0006/JSILVA", "GetItemOrc=sem"} << "abandona"
        << "não foi gravado: está 8, gravado por JSILVA com o motivo 0006" << releitura;
    QTest::newRow("state lost, still open") << QStringList{"SetOrcamento=perdida", "GetOrcamento=lido:1//"}
                                            << "abandona" << "não foi gravado: está 1" << releitura;
    QTest::newRow("state refused") << QStringList{"SetOrcamento=recusa"} << "abandona" << "recusado"
                                   << QStringList{"SetOrcamento"};
    QTest::newRow("hall release lost once, sent again")
        << QStringList{"setAgendaSalao=perdida"} << "sucesso" << "Operação realizada com sucesso."
        << QStringList{"SetOrcamento", "setAgendaSalao", "setAgendaSalao", "SetObs"};
    // The justification waits with the hall's release.
    QTest::newRow("hall release lost twice")
        << QStringList{"setAgendaSalao=perdida", "setAgendaSalao=perdida"} << "parcial"
        << "mas não foi possível confirmar que o salão foi liberado e a justificativa não foi gravada"
        << QStringList{"SetOrcamento", "setAgendaSalao", "setAgendaSalao"};
    QTest::newRow("hall release refused")
        << QStringList{"setAgendaSalao=erro"} << "parcial"
        << "mas o salão não foi liberado e a justificativa não foi gravada: falha em setAgendaSalao"
        << QStringList{"SetOrcamento", "setAgendaSalao"};
    QTest::newRow("justification lost, read back as ours")
        << QStringList{"SetObs=perdida", "GetItemOrc=texto:Desistiu."} << "sucesso" << "Operação realizada com sucesso."
        << tudo + QStringList{"GetItemOrc"};
    QTest::newRow("justification lost, not there: written once more")
        << QStringList{"SetObs=perdida", "GetItemOrc=sem"} << "sucesso" << "Operação realizada com sucesso."
        << tudo + QStringList{"GetItemOrc", "SetObs"};
    QTest::newRow("justification lost, another operator's text there")
        << QStringList{"SetObs=perdida", "GetItemOrc=texto:Outra."} << "abandona"
        << "mas a justificativa não foi gravada: o servidor já tem outra justificativa para ele"
        << tudo + QStringList{"GetItemOrc"};
}

void tst_Operacoes::gravacaoDizOQueOServidorGuardou()
{
    QFETCH(QStringList, roteiro);
    QFETCH(QString, desfecho);
    QFETCH(QString, dito);
    QFETCH(QStringList, chamadas);
    ServidorRoteirizado servidor(roteiro);
    OperacoesCancelamento operacoes(servidor, listas(), m_mensagens);
    bool descartado = false;
    QString resultado = QStringLiteral("sucesso");
    QString erro;
    try {
        GravacaoOrcamento gravacao = operacoes.novaGravacao();
        gravacao.enviaSituacao(umaMudanca(), [&descartado] { descartado = true; });
        gravacao.liberaSalao();
        gravacao.enviaJustificativa(umaMudanca(), QStringLiteral("Desistiu."));
        operacoes.terminaGravacao(gravacao);
    } catch (const Abort &) {
        resultado = operacoes.temPendencias() ? QStringLiteral("parcial") : QStringLiteral("abandona");
    } catch (const std::runtime_error &falha) {
        resultado = QStringLiteral("erro");
        erro = QString::fromUtf8(falha.what());
    }
    QCOMPARE(resultado, desfecho);
    const QString texto = erro.isEmpty() ? m_dialogos.lastText() : erro;
    QVERIFY2(texto.contains(dito), qPrintable(texto));
    QCOMPARE(servidor.chamadas, chamadas);
    // The list drops the change exactly when the state is not known stored.
    QCOMPARE(descartado, desfecho == QLatin1String("erro") || chamadas.count("setAgendaSalao") == 0);
}

void tst_Operacoes::comandosSeguemOsFatos_data()
{
    QTest::addColumn<QStringList>("fatos");
    QTest::addColumn<QStringList>("comandos");
    const QStringList grade{"procurar", "verificar", "filtro", "historico", "exportar", "paginas", "paginaGrade",
                            "paginaItens", "painelMotivo", "filial"};
    QTest::newRow("browsing an open quote") << QStringList{"listada", "oferecida"} << grade;
    QTest::newRow("browsing a withdrawn quote") << QStringList{"listada", "oferecida", "retirada"}
                                                << grade + QStringList{"habilita"};
    QTest::newRow("a marked quote")
        << QStringList{"listada", "oferecida", "editando"}
        << QStringList{"cancelar", "confirmar", "paginas", "paginaMotivo", "painelMotivo", "motivo"};
    QTest::newRow("an edit of a withdrawn quote")
        << QStringList{"listada", "oferecida", "editando", "retirada"}
        << QStringList{"cancelar", "confirmar", "paginas", "paginaGrade", "paginaItens", "painelMotivo"};
    QTest::newRow("nothing listed") << QStringList{"oferecida"}
                                    << QStringList{"filtro", "paginas", "paginaGrade", "painelMotivo", "filial"};
    QTest::newRow("the branch being chosen") << QStringList{"oferecida", "escolhendo"}
                                             << QStringList{"paginas", "paginaGrade", "filial"};
    QTest::newRow("the branch fixed, before the first listing")
        << QStringList{"fixa"} << QStringList{"filtro", "paginaGrade", "painelMotivo"};
    QTest::newRow("a store with steps left")
        << QStringList{"listada", "oferecida", "retirada", "pendente"} << grade + QStringList{"habilita", "concluir"};
    QTest::newRow("steps left wait for the edit")
        << QStringList{"listada", "oferecida", "editando", "pendente"}
        << QStringList{"cancelar", "confirmar", "paginas", "paginaMotivo", "painelMotivo", "motivo"};
}

void tst_Operacoes::comandosSeguemOsFatos()
{
    QFETCH(QStringList, fatos);
    QFETCH(QStringList, comandos);
    FatosCancelamento f;
    f.listaVazia = !fatos.contains("listada");
    f.editando = fatos.contains("editando");
    f.retirada = fatos.contains("retirada");
    f.filialOferecida = fatos.contains("oferecida");
    f.escolhendoFilial = fatos.contains("escolhendo");
    f.filialFixa = fatos.contains("fixa");
    f.pendente = fatos.contains("pendente");
    const ComandosCancelamento c = comandosPara(f);
    const QList<std::pair<const char *, bool>> todos{
        {"procurar", c.procurar},       {"verificar", c.verificar},     {"cancelar", c.cancelar},
        {"confirmar", c.confirmar},     {"filtro", c.filtro},           {"habilita", c.habilita},
        {"historico", c.historico},     {"exportar", c.exportar},       {"concluir", c.concluir},
        {"paginas", c.paginas},         {"paginaGrade", c.paginaGrade}, {"paginaItens", c.paginaItens},
        {"paginaMotivo", c.paginaMotivo}, {"painelMotivo", c.painelMotivo}, {"motivo", c.motivo},
        {"filial", c.filial}};
    QStringList abertos;
    for (const auto &[nome, aberto] : todos) {
        if (aberto) {
            abertos << QLatin1String(nome);
        }
    }
    abertos.sort();
    comandos.sort();
    QCOMPARE(abertos, comandos);
}

void tst_Operacoes::oQueChegaDuranteUmaOperacaoEspera_data()
{
    QTest::addColumn<bool>("reconexao");
    QTest::newRow("a notice of another operator's change") << false;
    QTest::newRow("a new connection after a lost one") << true;
}

void tst_Operacoes::oQueChegaDuranteUmaOperacaoEspera()
{
    QFETCH(bool, reconexao);
    ServidorRoteirizado servidor({"GetOrcamento=lido:8/0002/MSOUZA"});
    OperacoesCancelamento operacoes(servidor, listas(), m_mensagens);
    QuoteListing listagem;
    operacoes.lista(QStringLiteral("0001"), listagem);
    int listagens = 0;
    connect(&operacoes, &OperacoesCancelamento::listagemPedida, this, [&listagens] { ++listagens; });
    servidor.durante = [&] {
        if (reconexao) {
            operacoes.conexaoRefeita();
        } else {
            operacoes.recebeAvisos({QJsonObject{{"branch", "0001"}, {"number", "0000000007"}, {"sequence", "01"},
                                                {"what", "state"}, {"state", "9"}, {"reason", "0006"}}});
        }
        QCoreApplication::processEvents(); // what the busy sign lets through
    };
    const int situacao = m_orcamentos.fieldByName(QStringLiteral("IDSITUORCEVE")).index();
    {
        const OperacoesCancelamento::Vez vez(operacoes);
        servidor.chama(QStringLiteral("GetOrcamento"), {});
        QCOMPARE(m_orcamentos.valueAt(0, situacao).toString(), QStringLiteral("8"));
        QCOMPARE(listagens, 0);
    }
    servidor.durante = nullptr;
    QTRY_COMPARE(reconexao ? QString::number(listagens) : m_orcamentos.valueAt(0, situacao).toString(),
                 reconexao ? QStringLiteral("1") : QStringLiteral("9"));
}

QTEST_GUILESS_MAIN(tst_Operacoes)
#include "tst_operacoes.moc"
