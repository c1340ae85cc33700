#include "FormLifecycle.h"

#include "HostDialogs.h"

void FormLifecycle::showHelp(const QString &screenCode, const QString &caption) const
{
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Information, QStringLiteral("Ajuda"),
        QStringLiteral("Tela %1 — %2 (tópico de ajuda %3).").arg(screenCode, caption).arg(m_helpContext));
}
