#pragma once

#include <QLibrary>
#include <QString>

// One plug-in module as the host sees it: a shared library with the exported
// entry points Initialize, Finalize and IniProc, and optionally ModuleTitle
// (the name of its screen for the operator, UTF-8). The host includes no
// header of any module; it only resolves these names.
class HostModule final {
public:
    enum class State { Found, Initialized, Failed, Stopped };

    explicit HostModule(const QString &file);
    ~HostModule();
    HostModule(const HostModule &) = delete;
    HostModule &operator=(const HostModule &) = delete;

    QString name() const;       // the file's base name, e.g. "Pkg_cxl04100"
    // What the operator calls it: the module's own title once its library
    // has been loaded, else (no title exported, or not loadable) name().
    QString title() const;
    QString file() const { return m_library.fileName(); }
    State state() const { return m_state; }
    QString error() const { return m_error; } // why it failed, for the operator

    // Loads the library, resolves its entry points and runs Initialize.
    // Returns false and keeps the reason in error() when any step fails;
    // a failed module is unloaded again.
    bool start();
    // Runs IniProc. Throws std::runtime_error when the module is not running;
    // a failure of IniProc goes on to the caller.
    void open();
    // Runs Finalize and unloads the library (detaching it). Only once the
    // module's screens are gone.
    void stop();

private:
    using Entry = void (*)();
    using TitleEntry = const char *(*)();
    bool fail(const QString &reason);

    QLibrary m_library;
    State m_state = State::Found;
    QString m_error;
    QString m_title;
    Entry m_initialize = nullptr;
    Entry m_finalize = nullptr;
    Entry m_iniProc = nullptr;
};
