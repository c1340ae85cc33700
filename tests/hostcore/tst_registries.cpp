// Start-up and shut-down of shared units, and the modules' translations.
#include "Modules.h"
#include "Units.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

namespace {

bool touch(const QString &path, const QByteArray &content = QByteArray())
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QString cancelCaption()
{
    return QCoreApplication::translate("TelaTeste", "Cancel");
}

} // namespace

class tst_Registries final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void aSharedUnitInitialisesOnceAndFinalisesWithItsLastUser();
    void unitsInitialiseInTheOrderAsked();
    void aUnitWhoseInitFailsStaysUninitialised();
    void finalisingAnUnknownUnitDoesNothing();
    void aModuleWithoutTranslationUsesItsOwnTexts();
    void aTranslationBesideTheModuleIsInstalledUntilDetach_data();
    void aTranslationBesideTheModuleIsInstalledUntilDetach();
    void anUnreadableTranslationCountsAsAbsent();
    void modulesAreKnownByTheirAbsolutePath();
};

void tst_Registries::init()
{
    ClearLog();
}

void tst_Registries::aSharedUnitInitialisesOnceAndFinalisesWithItsLastUser()
{
    int inits = 0;
    int finals = 0;
    InitializeUnit("Shared", [&] { ++inits; });
    InitializeUnit("Shared", [&] { ++inits; });
    QCOMPARE(inits, 1);
    FinalizeUnit("Shared", [&] { ++finals; });
    QCOMPARE(finals, 0);
    FinalizeUnit("Shared", [&] { ++finals; });
    QCOMPARE(finals, 1);
    QCOMPARE(InitializationLog(), QStringList({"Shared", "-Shared"}));

    // Once finalised, the next user initialises it again.
    InitializeUnit("Shared", [&] { ++inits; });
    QCOMPARE(inits, 2);
    FinalizeUnit("Shared", {});
}

void tst_Registries::unitsInitialiseInTheOrderAsked()
{
    QStringList ran;
    UnitRegistry::InitializeUnit("Cli_filtro", [&] { ran << "filtro"; });
    UnitRegistry::InitializeUnit("Cli_tela", [&] { ran << "tela"; });
    UnitRegistry::FinalizeUnit("Cli_tela", [&] { ran << "~tela"; });
    UnitRegistry::FinalizeUnit("Cli_filtro", [&] { ran << "~filtro"; });
    QCOMPARE(ran, QStringList({"filtro", "tela", "~tela", "~filtro"}));
    QCOMPARE(UnitRegistry::InitializationLog(),
             QStringList({"Cli_filtro", "Cli_tela", "-Cli_tela", "-Cli_filtro"}));
}

void tst_Registries::aUnitWhoseInitFailsStaysUninitialised()
{
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             InitializeUnit("Fragil", [] { throw std::runtime_error("sem banco"); }));
    QVERIFY(InitializationLog().isEmpty());
    bool ran = false;
    InitializeUnit("Fragil", [&] { ran = true; });
    QVERIFY(ran);
    bool finalised = false;
    FinalizeUnit("Fragil", [&] { finalised = true; });
    QVERIFY(finalised);
}

void tst_Registries::finalisingAnUnknownUnitDoesNothing()
{
    bool ran = false;
    FinalizeUnit("Nunca", [&] { ran = true; });
    QVERIFY(!ran);
    QVERIFY(InitializationLog().isEmpty());
}

void tst_Registries::aModuleWithoutTranslationUsesItsOwnTexts()
{
    QTemporaryDir folder;
    const QString module = folder.filePath("Pkg_teste.so");
    QVERIFY(touch(module));
    int handle = 0;
    RegisterModule(module, &handle);
    QVERIFY(RegisteredModules().contains(module));
    QCOMPARE(ModuleRegistry::ModuleInstance(module), static_cast<void *>(&handle));
    QVERIFY(!HasTranslation(module));
    QCOMPARE(cancelCaption(), QStringLiteral("Cancel"));
    UnregisterModule(module);
    QVERIFY(!RegisteredModules().contains(module));
}

void tst_Registries::aTranslationBesideTheModuleIsInstalledUntilDetach_data()
{
    QTest::addColumn<QString>("moduleName");
    QTest::addColumn<QString>("translationName");
    QTest::newRow("language file") << "Pkg_teste.so" << "Pkg_teste_pt_BR.qm";
    QTest::newRow("plain file") << "Pkg_teste.so" << "Pkg_teste.qm";
    QTest::newRow("library prefix dropped") << "libPkg_teste.so" << "Pkg_teste_pt_BR.qm";
    QTest::newRow("windows module") << "Pkg_teste.dll" << "Pkg_teste_pt_BR.qm";
}

void tst_Registries::aTranslationBesideTheModuleIsInstalledUntilDetach()
{
    QFETCH(QString, moduleName);
    QFETCH(QString, translationName);
    const QString compiled = QStringLiteral(HOSTCORE_TEST_QM);
    if (compiled.isEmpty()) {
        QSKIP("lrelease was not found when the tests were configured; no translation to load");
    }
    QTemporaryDir folder;
    const QString module = folder.filePath(moduleName);
    QVERIFY(touch(module));
    QVERIFY(QFile::copy(compiled, folder.filePath(translationName)));

    RegisterModule(module, nullptr);
    QVERIFY(HasTranslation(module));
    QCOMPARE(ModuleRegistry::TranslationFile(module), folder.filePath(translationName));
    QCOMPARE(cancelCaption(), QStringLiteral("Cancelar"));

    UnregisterModule(module);
    QVERIFY(!HasTranslation(module));
    QCOMPARE(cancelCaption(), QStringLiteral("Cancel"));
}

void tst_Registries::anUnreadableTranslationCountsAsAbsent()
{
    QTemporaryDir folder;
    const QString module = folder.filePath("Pkg_teste.so");
    QVERIFY(touch(module));
    QVERIFY(touch(folder.filePath("Pkg_teste_pt_BR.qm"), "isto não é uma tradução"));
    RegisterModule(module, nullptr);
    QVERIFY(RegisteredModules().contains(module));
    QVERIFY(!HasTranslation(module));
    QCOMPARE(cancelCaption(), QStringLiteral("Cancel"));
    UnregisterModule(module);
}

void tst_Registries::modulesAreKnownByTheirAbsolutePath()
{
    QTemporaryDir folder;
    QVERIFY(touch(folder.filePath("Pkg_a.so")));
    QVERIFY(touch(folder.filePath("Pkg_b.so")));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    RegisterModule("Pkg_a.so", nullptr);
    RegisterModule(folder.filePath("Pkg_b.so"), nullptr);
    RegisterModule("./Pkg_a.so", nullptr);
    QCOMPARE(RegisteredModules(), QStringList({folder.filePath("Pkg_a.so"), folder.filePath("Pkg_b.so")}));
    UnregisterModule(folder.filePath("Pkg_a.so"));
    UnregisterModule("Pkg_b.so");
    QDir::setCurrent(previous);
    QVERIFY(RegisteredModules().isEmpty());
}

QTEST_GUILESS_MAIN(tst_Registries)
#include "tst_registries.moc"
