#include "HostModule.h"

#include <QFileInfo>

#include <exception>
#include <stdexcept>

HostModule::HostModule(const QString &file)
    : m_library(file)
{
}

HostModule::~HostModule()
{
    if (m_state == State::Initialized) {
        stop();
    }
}

QString HostModule::name() const
{
    return QFileInfo(m_library.fileName()).completeBaseName();
}

QString HostModule::title() const
{
    return m_title.isEmpty() ? name() : m_title;
}

bool HostModule::fail(const QString &reason)
{
    m_error = reason;
    m_state = State::Failed;
    if (m_library.isLoaded()) {
        m_library.unload();
    }
    return false;
}

bool HostModule::start()
{
    if (!m_library.load()) {
        return fail(QStringLiteral("Não foi possível carregar o módulo %1: %2")
                        .arg(name(), m_library.errorString()));
    }
    const auto resolve = [this](const char *entry) {
        return reinterpret_cast<Entry>(m_library.resolve(entry));
    };
    if (const auto moduleTitle = reinterpret_cast<TitleEntry>(m_library.resolve("ModuleTitle"))) {
        m_title = QString::fromUtf8(moduleTitle());
    }
    m_initialize = resolve("Initialize");
    m_finalize = resolve("Finalize");
    m_iniProc = resolve("IniProc");
    for (const auto &[entry, symbol] : {std::pair{m_initialize, "Initialize"},
                                        std::pair{m_finalize, "Finalize"},
                                        std::pair{m_iniProc, "IniProc"}}) {
        if (!entry) {
            return fail(QStringLiteral("O módulo %1 não exporta %2.")
                            .arg(name(), QLatin1String(symbol)));
        }
    }
    try {
        m_initialize();
    } catch (const std::exception &failure) {
        return fail(QStringLiteral("O módulo %1 falhou ao iniciar: %2")
                        .arg(name(), QString::fromUtf8(failure.what())));
    }
    m_state = State::Initialized;
    return true;
}

void HostModule::open()
{
    if (m_state != State::Initialized) {
        throw std::runtime_error(
            QStringLiteral("O módulo %1 não está disponível.").arg(name()).toStdString());
    }
    m_iniProc();
}

void HostModule::stop()
{
    if (m_state != State::Initialized) {
        return;
    }
    m_finalize();
    m_library.unload();
    m_state = State::Stopped;
}
