#include "ServerOptions.h"

#include <QCommandLineParser>

#include <algorithm>
#include <limits>
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
    const QCommandLineOption maxLine(QStringLiteral("max-line"), QStringLiteral("Tamanho máximo de uma mensagem em bytes (padrão 4194304)."), QStringLiteral("BYTES"));
    const QCommandLineOption maxPartial(QStringLiteral("max-partial-lines"), QStringLiteral("Bytes que as mensagens ainda incompletas de todas as conexões podem ocupar juntas (padrão 67108864)."), QStringLiteral("BYTES"));
    const QCommandLineOption busy(QStringLiteral("busy-timeout"), QStringLiteral("Espera máxima por um bloqueio do banco em ms (padrão 5000)."), QStringLiteral("MS"));
    const QCommandLineOption maxConnections(QStringLiteral("max-connections"), QStringLiteral("Conexões abertas ao mesmo tempo (padrão 256; menos se o limite de arquivos abertos do processo não comportar)."), QStringLiteral("N"));
    const QCommandLineOption unauthenticated(QStringLiteral("max-unauthenticated"), QStringLiteral("Conexões ainda sem connect aceito ao mesmo tempo (padrão 32)."), QStringLiteral("N"));
    const QCommandLineOption unauthenticatedPerAddress(QStringLiteral("max-unauthenticated-per-address"), QStringLiteral("Conexões ainda sem connect aceito de um mesmo endereço (padrão: um quarto de --max-unauthenticated)."), QStringLiteral("N"));
    const QCommandLineOption perOperator(QStringLiteral("max-connections-per-operator"), QStringLiteral("Conexões abertas ao mesmo tempo de um mesmo operador (padrão 16)."), QStringLiteral("N"));
    const QCommandLineOption perAddress(QStringLiteral("max-connections-per-address"), QStringLiteral("Conexões abertas ao mesmo tempo de um mesmo endereço (padrão 32)."), QStringLiteral("N"));
    const QCommandLineOption databaseConnections(QStringLiteral("max-db-connections"), QStringLiteral("Conexões com o banco de dados abertas ao mesmo tempo, repartidas entre os clientes (padrão 20)."), QStringLiteral("N"));
    const QCommandLineOption handshake(QStringLiteral("handshake-timeout"), QStringLiteral("Segundos para o cliente concluir o TLS e o connect (padrão 10)."), QStringLiteral("S"));
    const QCommandLineOption idle(QStringLiteral("idle-timeout"), QStringLiteral("Segundos sem chamadas antes de fechar a conexão (padrão 3600)."), QStringLiteral("S"));
    const QCommandLineOption line(QStringLiteral("line-timeout"), QStringLiteral("Segundos para uma mensagem começada chegar inteira (padrão 30)."), QStringLiteral("S"));
    const QCommandLineOption stall(QStringLiteral("stall-timeout"), QStringLiteral("Segundos que o cliente pode passar sem receber nenhum byte de uma resposta (padrão 30)."), QStringLiteral("S"));
    const QCommandLineOption statement(QStringLiteral("statement-timeout"), QStringLiteral("Segundos que uma chamada pode durar, o envio de uma listagem incluído (padrão 60)."), QStringLiteral("S"));
    const QCommandLineOption shutdown(QStringLiteral("shutdown-timeout"), QStringLiteral("Segundos que as chamadas em curso têm para terminar ao encerrar (padrão 10)."), QStringLiteral("S"));
    const QCommandLineOption tlsCert(QStringLiteral("tls-cert"), QStringLiteral("Certificado TLS do servidor (PEM)."), QStringLiteral("FILE"));
    const QCommandLineOption tlsKey(QStringLiteral("tls-key"), QStringLiteral("Chave privada do certificado TLS (PEM, sem senha)."), QStringLiteral("FILE"));
    const QCommandLineOption addOperator(QStringLiteral("add-operator"), QStringLiteral("Cadastra o operador (ou troca sua senha), pedindo a senha duas vezes, e sai."), QStringLiteral("CODE"));
    const QCommandLineOption migrate(QStringLiteral("migrate"), QStringLiteral("Aplica as migrações pendentes do esquema (como dono do banco) e sai."));
    const QCommandLineOption noNotices(QStringLiteral("no-notices"), QStringLiteral("Não envia avisos de alteração aos clientes: o connect responde null a quem os pede e as gravações não avisam ninguém."));
    parser.addOptions({db, listen, seed, localDb, seedValue, maxLine, maxPartial, busy, maxConnections, perAddress, unauthenticated, unauthenticatedPerAddress, perOperator, databaseConnections, handshake, idle,
                       line, stall, statement, shutdown, tlsCert, tlsKey, addOperator, migrate, noNotices});
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        fail(parser.errorText(), parser);
    }
    if (parser.isSet(help)) {
        parser.showHelp(0);
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
    options.addOperator = parser.value(addOperator);
    options.migrating = parser.isSet(migrate);
    if (int(options.listen) + int(options.seeding()) + int(options.addingOperator()) + int(options.migrating) != 1) {
        fail(QStringLiteral("Use --listen para servir, --seed para gerar dados, --add-operator para cadastrar um operador "
                            "ou --migrate para aplicar as migrações."), parser);
    }
    options.localDatabase = parser.value(localDb);
    if (parser.isSet(seedValue)) {
        options.seedValue = parser.value(seedValue).toUInt(&ok);
        if (!ok) {
            fail(QStringLiteral("--seed-value espera um inteiro sem sinal."), parser);
        }
    }
    const auto bytes = [&](const QCommandLineOption &option, qint64 *target) {
        if (!parser.isSet(option)) {
            return;
        }
        *target = parser.value(option).toLongLong(&ok);
        if (!ok || *target < 64) {
            fail(QStringLiteral("--%1 espera um número de bytes (pelo menos 64).").arg(option.names().constFirst()), parser);
        }
    };
    bytes(maxLine, &options.maxLineLength);
    bytes(maxPartial, &options.maxPartialLines);
    if (parser.isSet(busy)) {
        options.busyTimeoutMs = parser.value(busy).toInt(&ok);
        if (!ok || options.busyTimeoutMs < 0) {
            fail(QStringLiteral("--busy-timeout espera milissegundos."), parser);
        }
    }
    const auto positive = [&](const QCommandLineOption &option, int scale, int *target) {
        if (!parser.isSet(option)) {
            return;
        }
        const int value = parser.value(option).toInt(&ok);
        if (!ok || value <= 0 || value > std::numeric_limits<int>::max() / scale) {
            fail(QStringLiteral("--%1 espera um número positivo.").arg(option.names().constFirst()), parser);
        }
        *target = value * scale;
    };
    positive(maxConnections, 1, &options.maxConnections);
    positive(perAddress, 1, &options.maxConnectionsPerAddress);
    positive(unauthenticated, 1, &options.maxUnauthenticated);
    options.maxUnauthenticatedPerAddress = std::max(1, options.maxUnauthenticated / 4);
    positive(unauthenticatedPerAddress, 1, &options.maxUnauthenticatedPerAddress);
    positive(perOperator, 1, &options.maxConnectionsPerOperator);
    positive(databaseConnections, 1, &options.databaseConnections);
    positive(handshake, 1000, &options.handshakeTimeoutMs);
    positive(idle, 1000, &options.idleTimeoutMs);
    positive(line, 1000, &options.lineTimeoutMs);
    positive(stall, 1000, &options.stallTimeoutMs);
    positive(statement, 1000, &options.statementTimeoutMs);
    positive(shutdown, 1000, &options.shutdownTimeoutMs);
    options.notices = !parser.isSet(noNotices);
    options.tlsCertificate = parser.value(tlsCert);
    options.tlsKey = parser.value(tlsKey);
    if (options.tlsCertificate.isEmpty() != options.tlsKey.isEmpty()) {
        fail(QStringLiteral("--tls-cert e --tls-key vão juntos."), parser);
    }
    return options;
}
