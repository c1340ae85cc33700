#include "ComandosCancelamento.h"

ComandosCancelamento comandosPara(const FatosCancelamento &f)
{
    ComandosCancelamento c;
    c.procurar = !f.listaVazia && !f.editando;
    c.verificar = c.procurar;
    c.cancelar = !f.listaVazia && f.editando;
    c.confirmar = c.cancelar;
    // While a branch is being chosen nothing else can be asked for.
    c.filtro = !c.confirmar && !f.escolhendoFilial;
    c.habilita = !f.listaVazia && !f.editando && f.retirada;
    // The history and the export change nothing: open whenever a quote is
    // listed and no edit is under way.
    c.historico = c.procurar;
    c.exportar = c.procurar;
    c.concluir = f.pendente && !f.editando;
    // Closed until a branch has been offered to the operator.
    c.paginas = f.filialOferecida;
    c.paginaGrade = !f.editando || f.retirada;
    c.paginaItens = !f.listaVazia && c.paginaGrade;
    c.paginaMotivo = !f.listaVazia && !c.paginaGrade;
    c.painelMotivo = !f.escolhendoFilial;
    c.motivo = f.editando && !f.retirada;
    // The branch stays while a quote is being edited, and always when the
    // host fixes it.
    c.filial = !f.editando && !f.filialFixa;
    return c;
}
