// The host loads whatever module files it finds; a broken one is refused with
// a reason the operator can read and never takes the host down.
#include "HostMdi.h"
#include "MainWindow.h"
#include "ModuleLoader.h"
#include "ScriptedDialogs.h"

#include <QLibrary>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

class tst_ModuleLoader final : public QObject {
    Q_OBJECT
private slots:
    void shouldRefuseBrokenModulesWithTheirReason_data();
    void shouldRefuseBrokenModulesWithTheirReason();
    void shouldStartOpenAndStopTheCancellationModule();
    void shouldRefuseToOpenAnUnknownModule();
    void shouldListTheModuleByTheTitleItExports();
};

void tst_ModuleLoader::shouldRefuseBrokenModulesWithTheirReason_data()
{
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing entry point") << "Pkg_WithoutIniProc" << "não exporta IniProc";
    QTest::newRow("failing initialisation") << "Pkg_FailingInitialize"
                                            << "falhou ao iniciar: tabela de parâmetros ausente";
    QTest::newRow("not a library") << "Pkg_corrompido" << "Não foi possível carregar o módulo";
}

void tst_ModuleLoader::shouldRefuseBrokenModulesWithTheirReason()
{
    QFETCH(QString, module);
    QFETCH(QString, reason);
    ModuleLoader loader;
    const QStringList failures = loader.startAll(QStringLiteral(FIXTURE_MODULES));

    QCOMPARE(loader.modules().size(), size_t(3));
    HostModule *found = loader.find(module);
    QVERIFY(found);
    QCOMPARE(found->state(), HostModule::State::Failed);
    QVERIFY2(found->error().contains(reason), qPrintable(found->error()));
    QVERIFY(failures.contains(found->error()));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, found->open());
}

void tst_ModuleLoader::shouldStartOpenAndStopTheCancellationModule()
{
    ScriptedDialogs dialogs;
    QMdiArea area;
    area.show();
    HostMdi::SetArea(&area);
    ModuleLoader loader;
    const QStringList failures = loader.startAll(QStringLiteral(REAL_MODULES));
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
    HostModule *module = loader.find(QStringLiteral("Pkg_cxl04100"));
    QVERIFY(module);
    QCOMPARE(module->state(), HostModule::State::Initialized);

    loader.open(QStringLiteral("Pkg_cxl04100"));
    QCOMPARE(area.subWindowList().size(), 1);
    QCOMPARE(area.subWindowList().constFirst()->windowTitle(), QStringLiteral("Cancelamento"));

    area.closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    loader.stopAll();
    QCOMPARE(module->state(), HostModule::State::Stopped);
    HostMdi::SetArea(nullptr);
}

void tst_ModuleLoader::shouldRefuseToOpenAnUnknownModule()
{
    ModuleLoader loader;
    loader.startAll(QStringLiteral(FIXTURE_MODULES));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, loader.open(QStringLiteral("Pkg_inexistente")));
}

void tst_ModuleLoader::shouldListTheModuleByTheTitleItExports()
{
    ModuleLoader loader;
    loader.startAll(QStringLiteral(REAL_MODULES));
    const HostModule *module = loader.find(QStringLiteral("Pkg_cxl04100"));
    QVERIFY(module);
    const auto title = reinterpret_cast<const char *(*)()>(QLibrary(module->file()).resolve("ModuleTitle"));
    QVERIFY(title);
    const MainWindow window(loader);
    const QMenu *modules = window.menuBar()->actions().at(1)->menu();
    QCOMPARE(modules->actions().constFirst()->text(), QString::fromUtf8(title()));
}

QTEST_MAIN(tst_ModuleLoader)
#include "tst_moduleloader.moc"
