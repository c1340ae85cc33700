// The module's life as the host drives it: units initialised and finalised in
// order, one screen however often it is opened (filling the area the first
// time), a fresh filter for a new screen.
#include "Cli_cxl04100.h"
#include "Cli_cxl04101.h"
#include "HostMdi.h"
#include "Pkg_cxl04100.h"
#include "QuoteStates.h"
#include "ScriptedDialogs.h"
#include "TFiltro.h"
#include "TfrmCancelamento.h"
#include "Units.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

class tst_Module final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void shouldInitialiseFilterUnitBeforeScreenUnit();
    void shouldFinaliseInReverseOrderEmptyingTexts();
    void shouldInitialiseSharedUnitsOnce();
    void shouldOpenOneScreenFillingTheAreaBroughtBackAsItWas();
    void shouldCreateNewScreenWithDefaultFilterAfterClose();

private:
    QList<QMdiSubWindow *> screens() const;
    void closeScreen();

    QMdiArea m_area;
    ScriptedDialogs m_dialogs;
};

void tst_Module::initTestCase()
{
    m_area.resize(1024, 700);
    m_area.show();
    HostMdi::SetArea(&m_area);
    QVERIFY(QTest::qWaitForWindowExposed(&m_area));
}

void tst_Module::cleanup()
{
    closeScreen();
    ClearLog();
}

QList<QMdiSubWindow *> tst_Module::screens() const
{
    QList<QMdiSubWindow *> found;
    for (QMdiSubWindow *window : m_area.subWindowList()) {
        if (qobject_cast<TfrmCancelamento *>(window->widget())) {
            found << window;
        }
    }
    return found;
}

void tst_Module::closeScreen()
{
    for (QMdiSubWindow *window : screens()) {
        window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void tst_Module::shouldInitialiseFilterUnitBeforeScreenUnit()
{
    Initialize();
    QCOMPARE(InitializationLog(), QStringList({"Cli_cxl04101", "Cli_cxl04100"}));
    Finalize();
}

void tst_Module::shouldFinaliseInReverseOrderEmptyingTexts()
{
    Initialize();
    boIdCriado = true;
    for (QString *text : {&stVendedor, &stCliente, &stProduto, &stTipoEven, &stTipoServ, &stTdtOrc,
                          &stTIdSitu, &stMaoObra}) {
        *text = QStringLiteral("0001_0002");
    }
    ResetFiltro(Filtro);
    Filtro.Titulo = QStringLiteral("  Casamento ");
    Filtro.Vendedor.Lista = QStringLiteral("0003");
    ClearLog();

    Finalize();

    QCOMPARE(InitializationLog(), QStringList({"-Cli_cxl04100", "-Cli_cxl04101"}));
    for (const QString *text : {&stVendedor, &stCliente, &stProduto, &stTipoEven, &stTipoServ,
                                &stTdtOrc, &stTIdSitu, &stMaoObra}) {
        QVERIFY(text->isEmpty());
    }
    QVERIFY(Filtro.Titulo.isEmpty());
    QVERIFY(Filtro.Vendedor.Lista.isEmpty());
    QVERIFY(Filtro.IdSitu.isEmpty());
    QVERIFY(Filtro.TTitulo.isEmpty());
}

void tst_Module::shouldInitialiseSharedUnitsOnce()
{
    Initialize();
    stVendedor = QStringLiteral("0001");
    Initialize(); // a second module using the same units
    QCOMPARE(InitializationLog(), QStringList({"Cli_cxl04101", "Cli_cxl04100"}));
    QCOMPARE(stVendedor, QStringLiteral("0001"));
    Finalize();
    QCOMPARE(stVendedor, QStringLiteral("0001"));
    Finalize();
    QVERIFY(stVendedor.isEmpty());
}

void tst_Module::shouldOpenOneScreenFillingTheAreaBroughtBackAsItWas()
{
    Initialize();
    IniProc();
    QCOMPARE(screens().size(), 1);
    QVERIFY(boStCriado);
    QMdiSubWindow *screen = screens().constFirst();
    QCOMPARE(frmCancelamento.data(), screen->widget());
    QCOMPARE(screen->windowTitle(), QStringLiteral("Cancelamento"));
    QCOMPARE(screen->geometry(), m_area.viewport()->rect());

    auto *other = m_area.addSubWindow(new QWidget);
    other->show();
    m_area.setActiveSubWindow(other);

    IniProc();

    QCOMPARE(screens().size(), 1);
    QCOMPARE(screens().constFirst(), screen);
    QVERIFY(screen->isMaximized());
    QCOMPARE(m_area.activeSubWindow(), screen);

    screen->showMinimized();
    IniProc();
    QVERIFY(!(screen->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)));

    delete other;
    Finalize();
}

void tst_Module::shouldCreateNewScreenWithDefaultFilterAfterClose()
{
    Initialize();
    IniProc();
    QPointer<TfrmCancelamento> first = frmCancelamento;
    Filtro.IdSitu = QuoteState::Cancelled + QLatin1Char('_') + QuoteState::Postponed + QLatin1Char('_');
    Filtro.Vendedor.Todos.clear();
    Filtro.Vendedor.Lista = QStringLiteral("0001");

    closeScreen();
    QVERIFY(!boStCriado);
    QVERIFY(first.isNull());
    QVERIFY(frmCancelamento.isNull());
    // survives until a new screen is made
    QCOMPARE(Filtro.IdSitu, QuoteState::Cancelled + QLatin1Char('_') + QuoteState::Postponed + QLatin1Char('_'));

    IniProc();
    QCOMPARE(screens().size(), 1);
    QVERIFY(frmCancelamento);
    QCOMPARE(Filtro.IdSitu, QuoteState::Pending + QLatin1Char('_') + QuoteState::Approved + QLatin1Char('_'));
    QCOMPARE(Filtro.Vendedor.Todos, QStringLiteral("T"));
    QVERIFY(Filtro.Vendedor.Lista.isEmpty());
    Finalize();
}

QTEST_MAIN(tst_Module)
#include "tst_module.moc"
