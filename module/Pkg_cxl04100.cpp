#include "Pkg_cxl04100.h"

#include "Cli_cxl04100.h"
#include "Cli_cxl04101.h"
#include "Units.h"

#define PKG_EXPORT extern "C" __attribute__((visibility("default")))

PKG_EXPORT void Initialize()
{
    InitializeUnit(QStringLiteral("Cli_cxl04101"), Cli_cxl04101::Initialization);
    InitializeUnit(QStringLiteral("Cli_cxl04100"), Cli_cxl04100::Initialization);
}

PKG_EXPORT void Finalize()
{
    FinalizeUnit(QStringLiteral("Cli_cxl04100"), Cli_cxl04100::Finalization);
    FinalizeUnit(QStringLiteral("Cli_cxl04101"), Cli_cxl04101::Finalization);
}

PKG_EXPORT void IniProc()
{
    CriaCancelamento();
}

PKG_EXPORT const char *ModuleTitle()
{
    return "Cancelamento de orçamentos";
}
