#pragma once

// What the cancellation screen knows when it decides which of its commands,
// pages and reason controls the operator may use. Nothing here is cached:
// the screen reads the facts afresh each time.
struct FatosCancelamento {
    bool listaVazia = true;       // no quote listed (a closed list counts as empty)
    bool editando = false;        // a quote is marked: the list is in edit
    bool retirada = false;        // the current quote is stored as cancelled or postponed
    bool filialOferecida = false; // the branch has been offered: the pages may open
    bool escolhendoFilial = false;// the focus is in the branch: only the branch counts
    bool filialFixa = false;      // the host fixes the branch
    bool pendente = false;        // a stored operation still has steps left
};

// Which commands the facts allow.
struct ComandosCancelamento {
    bool procurar = false;
    bool verificar = false;
    bool cancelar = false;
    bool confirmar = false;
    bool filtro = false;
    bool habilita = false;
    bool historico = false;
    bool exportar = false;
    bool concluir = false;
    bool paginas = false;      // the page control as a whole
    bool paginaGrade = false;
    bool paginaItens = false;
    bool paginaMotivo = false;
    bool painelMotivo = false; // the reason panel as a whole
    bool motivo = false;       // the reason code, its lookup, its label and the justification
    bool filial = false;       // the branch panel's controls

    bool operator==(const ComandosCancelamento &) const = default;
};

ComandosCancelamento comandosPara(const FatosCancelamento &fatos);
