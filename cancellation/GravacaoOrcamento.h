#pragma once

#include "ChaveOrcamento.h"
#include "DataPacket.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ServidorCancelamento;
class TMessages;

// What the server is known to hold of one step of an operation.
enum class Etapa {
    Dispensada, // the operation has no such step
    Gravada,
    NaoGravada,
    Incerta,    // the answer was lost and the server could not be asked
};

// A cancellation or postponement whose new state is stored while later steps
// are not: they are finished on a later connection, never by the operator
// doing the operation again.
struct Pendencia {
    ChaveOrcamento chave;
    QString situacao, motivo, operador;
    bool salao = false;                       // the hall is still to be released
    std::optional<ChangeDelta> justificativa; // the text is still to be stored
    QString texto;
};

// Storing a marked quote as cancelled or postponed, step by step: the new
// state, the hall's release, the justification. A step whose answer was lost
// is read back from the next server instead of being taken for stored or for
// failed; a write is sent again only where the server is known not to hold
// it and sending it twice could store nothing twice.
class GravacaoOrcamento final {
public:
    struct Pedido {
        ChaveOrcamento chave;
        QString situacao, motivo, operador;
    };

    GravacaoOrcamento(ServidorCancelamento &servidor, Pedido pedido);

    // SetOrcamento. Returns once the server is known to hold the new state.
    // Otherwise runs `descarta` first, so no box ever shows a state that is
    // not stored, and then tells the operator and abandons (Abort), or throws
    // std::runtime_error with the sentence for the host's error box.
    void enviaSituacao(const ChangeDelta &delta, const std::function<void()> &descarta);
    // setAgendaSalao "C". Never throws: the outcome is kept.
    void liberaSalao();
    // SetObs with the justification `texto`, once the hall is released (else
    // it waits with the hall's release). Never throws: the outcome is kept.
    void enviaJustificativa(const ChangeDelta &delta, const QString &texto);

    const Pedido &pedido() const { return m_pedido; }
    Etapa salao() const { return m_salao; }
    Etapa justificativa() const { return m_justificativa; }
    // Every step is known stored.
    bool completa() const;
    // What is stored and what is not, for the operator; `nomeSituacao` is
    // the word of the state asked for.
    QString relato(const QString &nomeSituacao) const;
    // The steps left; none when complete.
    std::optional<Pendencia> pendencia() const;

    // Finishes what `pendente` left, reading the quote back first: the steps
    // run only while the quote is still the one withdrawn by that operation.
    // Returns the steps still left (none: finished, or nothing left to do).
    static std::optional<Pendencia> conclui(ServidorCancelamento &servidor, Pendencia pendente);

private:
    void confereSituacao(const std::exception &queda, const std::function<void()> &descarta);
    Etapa confereJustificativa(const ChangeDelta &delta, const QString &texto, const QString &queda);
    void anotaFalha(const QString &falha);

    ServidorCancelamento &m_servidor;
    Pedido m_pedido;
    Etapa m_salao = Etapa::Dispensada;
    Etapa m_justificativa = Etapa::Dispensada;
    std::optional<ChangeDelta> m_deltaJustificativa;
    QString m_texto;
    bool m_recusada = false; // the server will not take this justification
    QStringList m_falhas; // why steps failed, but for refusals whose message was shown
};
