#include "ServerOptions.h"

#include <QCommandLineParser>

#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &message, const QCommandLineParser &parser)
{
    throw std::invalid_argument((message + QLatin1String("\n\n") + parser.helpText()).toStdString());
}

} // namespace

ServerOptions ServerOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Servidor de aplicação do cancelamento de orçamentos de eventos."));
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("Arquivo SQLite ou postgresql://usuario@host:porta/banco."), QStringLiteral("PATH-or-URL"));
    const QCommandLineOption listen(QStringLiteral("listen"), QStringLiteral("Endereço de escuta (porta 0 = uma porta livre)."), QStringLiteral("HOST:PORT"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Cria o esquema, gera N orçamentos de demonstração e sai."), QStringLiteral("N"));
    const QCommandLineOption localDb(QStringLiteral("local-db"), QStringLiteral("Banco local do cliente a preencher com os cadastros."), QStringLiteral("PATH"));
    const QCommandLineOption seedValue(QStringLiteral("seed-value"), QStringLiteral("Semente dos dados de demonstração (padrão 1)."), QStringLiteral("S"));
    const QCommandLineOption maxLine(QStringLiteral("max-line"), QStringLiteral("Tamanho máximo de uma mensagem em bytes (padrão 67108864)."), QStringLiteral("BYTES"));
    const QCommandLineOption busy(QStringLiteral("busy-timeout"), QStringLiteral("Espera máxima por um bloqueio do banco em ms (padrão 5000)."), QStringLiteral("MS"));
    parser.addOptions({db, listen, seed, localDb, seedValue, maxLine, busy});
    if (!parser.parse(arguments)) {
        fail(parser.errorText(), parser);
    }
    ServerOptions options;
    options.database = parser.value(db);
    if (options.database.isEmpty()) {
        fail(QStringLiteral("--db é obrigatório."), parser);
    }
    bool ok = true;
    if (parser.isSet(seed)) {
        options.seedQuotes = parser.value(seed).toInt(&ok);
        if (!ok || options.seedQuotes < 0) {
            fail(QStringLiteral("--seed espera um número de orçamentos."), parser);
        }
    }
    if (parser.isSet(listen)) {
        const QString address = parser.value(listen);
        const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
        const uint port = address.mid(colon + 1).toUInt(&ok);
        if (colon <= 0 || !ok || port > 65535) {
            fail(QStringLiteral("--listen espera HOST:PORTA."), parser);
        }
        options.listen = true;
        options.listenHost = address.left(colon);
        options.listenPort = quint16(port);
    }
    if (options.listen == options.seeding()) {
        fail(QStringLiteral("Use --listen para servir ou --seed para gerar dados."), parser);
    }
    options.localDatabase = parser.value(localDb);
    if (parser.isSet(seedValue)) {
        options.seedValue = parser.value(seedValue).toUInt(&ok);
        if (!ok) {
            fail(QStringLiteral("--seed-value espera um inteiro sem sinal."), parser);
        }
    }
    if (parser.isSet(maxLine)) {
        options.maxLineLength = parser.value(maxLine).toLongLong(&ok);
        if (!ok || options.maxLineLength < 64) {
            fail(QStringLiteral("--max-line espera um número de bytes (pelo menos 64)."), parser);
        }
    }
    if (parser.isSet(busy)) {
        options.busyTimeoutMs = parser.value(busy).toInt(&ok);
        if (!ok || options.busyTimeoutMs < 0) {
            fail(QStringLiteral("--busy-timeout espera milissegundos."), parser);
        }
    }
    return options;
}
