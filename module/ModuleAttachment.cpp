#include "Modules.h"

#include <QString>

#include <dlfcn.h>

namespace {
// Loading the library attaches it: the module registers itself with the host,
// which also picks up a translation found beside the module's file. Unloading
// detaches it again.
class ModuleAttachment final {
public:
    ModuleAttachment()
    {
        Dl_info info{};
        if (dladdr(reinterpret_cast<void *>(&anchor), &info) != 0 && info.dli_fname) {
            m_file = QString::fromLocal8Bit(info.dli_fname);
            m_instance = info.dli_fbase;
        }
        RegisterModule(m_file, m_instance);
    }
    ~ModuleAttachment() { UnregisterModule(m_file); }
    ModuleAttachment(const ModuleAttachment &) = delete;
    ModuleAttachment &operator=(const ModuleAttachment &) = delete;

private:
    static void anchor() {}
    QString m_file;
    void *m_instance = nullptr;
};

const ModuleAttachment attachment;
} // namespace
