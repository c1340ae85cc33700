#include "HostLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace HostLocale {

bool Install()
{
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brazil);
    // Owned by the application, so it lives exactly as long as the texts it gives.
    auto *toolkit = new QTranslator(QCoreApplication::instance());
    if (!toolkit->load(brazil, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete toolkit;
        return false;
    }
    return QCoreApplication::installTranslator(toolkit);
}

} // namespace HostLocale
