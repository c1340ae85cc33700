#include "TMessages.h"

#include "HostDialogs.h"

namespace {

constexpr int firstButtonResult = 10;

HostDialogs::Icon iconOf(TMessages::DialogKind kind)
{
    switch (kind) {
    case TMessages::DialogKind::Warning:
        return HostDialogs::Icon::Warning;
    case TMessages::DialogKind::Error:
        return HostDialogs::Icon::Error;
    case TMessages::DialogKind::Information:
        return HostDialogs::Icon::Information;
    case TMessages::DialogKind::Confirmation:
        return HostDialogs::Icon::Question;
    }
    return HostDialogs::Icon::Question;
}

QString titleOf(TMessages::DialogKind kind)
{
    switch (kind) {
    case TMessages::DialogKind::Warning:
        return QStringLiteral("Atenção");
    case TMessages::DialogKind::Error:
        return QStringLiteral("Erro");
    case TMessages::DialogKind::Information:
        return QStringLiteral("Informação");
    case TMessages::DialogKind::Confirmation:
        return QStringLiteral("Confirmação");
    }
    return QString();
}

} // namespace

TMessages::TMessages(const QString &name, QObject *parent)
    : QObject(parent)
{
    setObjectName(name);
}

QString TMessages::Msg(const QString &key) const
{
    for (const QString &line : m_lines) {
        const qsizetype bar = line.indexOf(QLatin1Char('|'));
        const QString lineKey = bar < 0 ? line : line.left(bar);
        if (lineKey == key) {
            return bar < 0 ? QString() : line.mid(bar + 1);
        }
    }
    return QString();
}

int TMessages::ShowMsgAlert(const QString &key, DialogKind kind, const QStringList &buttonKeys,
                            int helpContext) const
{
    Q_UNUSED(helpContext);
    QStringList captions;
    for (const QString &buttonKey : buttonKeys) {
        captions << Msg(buttonKey);
    }
    const int chosen = HostDialogs::current().ask(iconOf(kind), titleOf(kind), Msg(key), captions);
    if (chosen < 0 || chosen >= captions.size()) {
        return 0;
    }
    return firstButtonResult + chosen;
}

QStringList TMessages::padroes()
{
    return {
        QStringLiteral("Excl|Confirma exclusão?"),
        QStringLiteral("Canc|Deseja cancelar as alterações?"),
        QStringLiteral("Grav|Deseja gravar as alterações?"),
        QStringLiteral("Sair|Existem alterações não gravadas. Deseja sair assim mesmo?"),
        QStringLiteral("Reg_N_Enc|Registro não encontrado."),
        QStringLiteral("Campo_Obrig|Campo de preenchimento obrigatório."),
        QStringLiteral("Data_Inv|Data inválida."),
        QStringLiteral("Sem_Dados|Não há dados para exibir."),
        QStringLiteral("Sucesso|Operação realizada com sucesso."),
    };
}
