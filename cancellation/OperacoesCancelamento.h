#pragma once

#include "ComandosCancelamento.h"
#include "GravacaoOrcamento.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class RecordList;
class ServidorCancelamento;
class TMessages;
struct QuoteListing;

// The screen's lists that its operations read into.
struct ListasCancelamento {
    RecordList &orcamentos;
    RecordList &itens;
    RecordList &justificativa;
    RecordList &motivos;
    RecordList &parametros;
};

// What the cancellation screen knows and does, apart from its widgets: the
// facts its commands are decided from, the one operation under way, other
// operators' changes and a lost server, and the stored operations that
// still have steps left.
//
// One operation at a time: a listing, a store, a re-enable, the history,
// an export or a filter runs inside a `Vez`. While one is under way (a call
// waiting for its answer, or a question on screen that belongs to it),
// change notices, a new connection and the finishing of steps left wait,
// and are taken in turn once it ends; so nothing changes an operation's list
// or state under it.
class OperacoesCancelamento final : public QObject {
    Q_OBJECT
public:
    OperacoesCancelamento(ServidorCancelamento &servidor, const ListasCancelamento &listas, const TMessages &mensagens,
                          QObject *parent = nullptr);
    ~OperacoesCancelamento() override;

    ServidorCancelamento &servidor() { return m_servidor; }

    // The operation under way, for its own lifetime; they nest, the
    // outermost counts.
    class Vez final {
    public:
        explicit Vez(OperacoesCancelamento &operacoes);
        ~Vez();
        Vez(const Vez &) = delete;
        Vez &operator=(const Vez &) = delete;

    private:
        OperacoesCancelamento &m_operacoes;
    };
    bool emOperacao() const { return m_profundidade > 0; }

    // The facts, read afresh from the list and from what the screen told.
    FatosCancelamento fatos() const;
    ComandosCancelamento comandos() const { return comandosPara(fatos()); }
    bool editando() const;
    bool listaVazia() const;
    // The current quote's state as stored: a marked quote reads "8" in the
    // list, but until it is posted it is still the quote that needs a reason.
    QString situacaoGravada() const;

    // Something the commands follow changed on screen (the page shown, say).
    void revisa() { emit fatosMudaram(); }
    void defineEscolhendoFilial(bool escolhendo);
    bool escolhendoFilial() const { return m_escolhendoFilial; }
    void defineFilialOferecida();
    void defineFechando(bool fechando);
    bool fechando() const { return m_fechando; }
    // What else keeps the list from changing under the operator: a question
    // on screen, say.
    std::function<bool()> ocupada;

    // Lists `filial`'s quotes with `listagem`, whose by-reference values
    // come back as the server settled them; other operators' changes are
    // counted from this listing on.
    void lista(const QString &filial, QuoteListing &listagem);
    // The current quote's items and justification (empty keys for none).
    void leItens();
    // Empties the items and the justification: until an answer is loaded
    // they belong to no quote, so a failed load never leaves another quote's.
    void esvaziaItens();
    // The current quote's reason, into the reason list.
    void leMotivo();
    // Whether the quotes' prices have a price base to show: not when they
    // come from a contract.
    bool temPrecoBase();
    void recebeAvisos(const QList<QJsonObject> &avisos);
    void conexaoRefeita();
    // The status line's note: other operators' changes and the steps left.
    QString nota() const;

    // A store of the current quote with the state, reason and operator now
    // in the list.
    GravacaoOrcamento novaGravacao();
    // Ends a store: says "success" only when every step is known stored;
    // otherwise says what is stored and what is not, keeps the steps left and
    // abandons (Abort).
    void terminaGravacao(const GravacaoOrcamento &gravacao);
    // Finishes the steps left by earlier stores, quietly unless `relata`.
    void concluiPendencias(bool relata);
    bool temPendencias() const { return !m_pendencias.isEmpty(); }

signals:
    // A fact changed: the commands are to be decided again.
    void fatosMudaram();
    // The list may lack what changed while no server told this screen.
    void listagemPedida();
    // Another operator changed the quote being edited; the operator was told.
    void edicaoAlteradaPorOutro();
    void notaMudou();

private:
    void trataAdiados();
    void aplicaAvisos(const QList<QJsonObject> &avisos);
    void terminou();

    ServidorCancelamento &m_servidor;
    ListasCancelamento m_listas;
    RecordList &m_orcamentos;
    const TMessages &m_mensagens;
    int m_profundidade = 0;
    bool m_escolhendoFilial = false;
    bool m_filialOferecida = false;
    bool m_fechando = false;

    QString m_filialListada;
    QSet<QString> m_alteradosPorOutros; // "number-sequence"
    QList<QJsonObject> m_avisosAdiados;
    bool m_listaVelha = false;
    bool m_concluirAdiado = false;
    bool m_tratando = false;
    bool m_esperandoOperacao = false; // something waits for the operation under way

    QList<Pendencia> m_pendencias;
};
