#include "FiltroDialogo.h"

#include "Cli_cxl04100.h"
#include "Cli_cxl04101.h"
#include "TButtonFlat.h"
#include "TDateEditPlus.h"
#include "TfrmCancelamento.h"
#include "TfrmFiltroCancelamento.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>



void whenShown(QObject &guard, const Step &step)
{
    QTimer::singleShot(0, &guard, [step] {
        QVERIFY(frmFiltroCancelamento);
        // Leaving a control is followed only in the active window.
        // The window it was opened from may still be taking its activation.
        frmFiltroCancelamento->activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == frmFiltroCancelamento);
        step(*frmFiltroCancelamento);
    });
    QTimer::singleShot(4000, &guard, [] {
        if (frmFiltroCancelamento) {
            frmFiltroCancelamento->QDialog::done(99);
        }
    });
}

TelaFiltro telaAberta()
{
    return frmCancelamento ? frmCancelamento->telaFiltro() : TelaFiltro{};
}

int openWith(const Step &step)
{
    QObject guard;
    whenShown(guard, step);
    CriaFiltroCancelamento(telaAberta());
    return FiltroModalResult();
}

QStringList campos(const TFiltro &f)
{
    auto day = [](double value) { return QString::number(value, 'f', 6); };
    return {f.NrOrcaEven.De,      f.NrOrcaEven.Ate,     f.NrOrcaEven.Todos,   day(f.DtEvento.De),
            day(f.DtEvento.Ate),  f.DtEvento.Todos,     day(f.DtValidade.De), day(f.DtValidade.Ate),
            f.DtValidade.Todos,   day(f.DtOrcamento.De), day(f.DtOrcamento.Ate), f.DtOrcamento.Todos,
            f.Vendedor.Lista,     f.Vendedor.Todos,     f.Cliente.Lista,      f.Cliente.Todos,
            f.TipoServ.Lista,     f.TipoServ.Todos,     f.TipoEven.Lista,     f.TipoEven.Todos,
            f.IdSitu,             f.TIdSitu,            f.Titulo,             f.TTitulo,
            f.NovoClie,           f.TNovoClie};
}

TFiltro filtroRestrito()
{
    TFiltro f = FiltroPadrao();
    f.NrOrcaEven.De = QStringLiteral("0000000010");
    f.NrOrcaEven.Ate = QStringLiteral("00000000AB");
    f.NrOrcaEven.Todos.clear();
    f.DtEvento.De = 46000;
    f.DtEvento.Ate = 46010;
    f.DtEvento.Todos.clear();
    f.DtValidade.De = 45990;
    f.DtValidade.Ate = 45995;
    f.DtValidade.Todos.clear();
    f.DtOrcamento.De = 45900;
    f.DtOrcamento.Ate = 45901;
    f.DtOrcamento.Todos.clear();
    f.Vendedor.Lista = QStringLiteral("0001_0002");
    f.Vendedor.Todos.clear();
    f.Cliente.Lista = QStringLiteral("000000000000000000001");
    f.Cliente.Todos.clear();
    f.TipoServ.Lista = QStringLiteral("001");
    f.TipoServ.Todos.clear();
    f.TipoEven.Lista = QStringLiteral("010_020");
    f.TipoEven.Todos.clear();
    f.IdSitu = QStringLiteral("8_9_");
    f.TIdSitu.clear();
    f.Titulo = QStringLiteral("  Casamento  ");
    f.TTitulo.clear();
    f.NovoClie = QStringLiteral("Maria");
    f.TNovoClie.clear();
    return f;
}


Criterio criterio(TfrmFiltroCancelamento &d, const QString &name)
{
    if (name == QLatin1String("Vendedor")) {
        return {d.rbtTVendedor, d.rbtLVendedor, d.sbtVendedor, &stVendedor};
    }
    if (name == QLatin1String("Cliente")) {
        return {d.rbtTCliente, d.rbtLCliente, d.sbtCliente, &stCliente};
    }
    if (name == QLatin1String("TipoServ")) {
        return {d.rbtTTipoServ, d.rbtLTipoServ, d.sbtTipoServ, &stTipoServ};
    }
    return {d.rbtTTipoEven, d.rbtLTipoEven, d.sbtTipoEven, &stTipoEven};
}

TCodeList &criterioDoFiltro(const QString &name)
{
    if (name == QLatin1String("Vendedor")) {
        return Filtro.Vendedor;
    }
    if (name == QLatin1String("Cliente")) {
        return Filtro.Cliente;
    }
    if (name == QLatin1String("TipoServ")) {
        return Filtro.TipoServ;
    }
    return Filtro.TipoEven;
}

const QStringList listCriteria = {QStringLiteral("Vendedor"), QStringLiteral("Cliente"), QStringLiteral("TipoServ"),
                                  QStringLiteral("TipoEven")};

QList<QLineEdit *> rangeEdits(TfrmFiltroCancelamento &d)
{
    return {d.medOrcaDe, d.medOrcaAte, d.depDeEvento, d.depAteEvento, d.depDeValidade, d.depAteValidade,
            d.depDtOrcaIni, d.depDtOrcaFin};
}

void verifyOpenFilterShown(TfrmFiltroCancelamento &d)
{
    for (QLineEdit *edit : rangeEdits(d)) {
        QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
    }
    for (const QString &name : listCriteria) {
        const Criterio c = criterio(d, name);
        QVERIFY2(c.todos->isChecked() && !c.lista->isChecked(), qPrintable(name));
        QVERIFY2(!c.search->isEnabled(), qPrintable(name));
    }
    QVERIFY(d.chbPendente->isChecked());
    QVERIFY(d.chbAprovado->isChecked());
    QVERIFY(!d.chbCancelado->isChecked());
    QVERIFY(!d.chbAdiado->isChecked());
    QVERIFY(d.edtNovoClie->text().isEmpty());
    QVERIFY(d.edtTitulo->text().isEmpty());
}

