#include "RpcSession.h"

#include "CallDeadline.h"
#include "CallLog.h"
#include "HallSchedule.h"
#include "JsonText.h"
#include "JustificationWriter.h"
#include "LoginThrottle.h"
#include "NoticeHub.h"
#include "OperatorBook.h"
#include "PacketJson.h"
#include "QuoteFilter.h"
#include "QuoteHistory.h"
#include "QuoteListing.h"
#include "QuoteReader.h"
#include "QuoteStates.h"
#include "QuoteWriter.h"
#include "Refusal.h"
#include "RequestLine.h"
#include "RpcError.h"
#include "StateHistory.h"
#include "StateRestorer.h"
#include "StoredQuote.h"
#include "WireCodec.h"
#include "WriteOperator.h"

#include <QElapsedTimer>
#include <QJsonDocument>

#include <exception>
#include <stdexcept>

namespace {

RpcSession::Answer answer(const QJsonValue &value, const QJsonObject &refs = {})
{
    return RpcSession::Answer{value, refs, QStringLiteral("ok"), {}};
}

QJsonObject accepted(const QJsonValue &data)
{
    return QJsonObject{{QStringLiteral("ok"), true}, {QStringLiteral("data"), data}};
}

QJsonObject refused(const QString &message)
{
    return QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("message"), message}};
}

// What the client gets when the database fails; what failed (the driver's
// text, the statement) goes to the server's log only.
const QString databaseFailure = QStringLiteral("falha no banco de dados do servidor; o erro foi registrado no log do servidor");

// A screen sends one or two changes at a time. A delta with more is refused
// before it is read, so no call holds the write lock (on SQLite, the whole
// database's) for longer than a moment.
constexpr qsizetype maxChangesPerDelta = 1000;

// No text the database holds has a NUL (PostgreSQL cannot store one), so an
// argument carrying one is malformed.
void requireNoNul(const QJsonValue &value, int index)
{
    if (value.isString() && value.toString().contains(QChar::Null)) {
        throw RpcError(RpcError::InvalidParams, QStringLiteral("argumento %1 contém um caractere nulo").arg(index));
    }
}

QString textArg(const QJsonArray &params, int index)
{
    const QJsonValue value = params.at(index);
    if (value.isNull()) {
        return {};
    }
    if (!value.isString()) {
        throw RpcError(RpcError::InvalidParams, QStringLiteral("argumento %1 deveria ser um texto").arg(index));
    }
    requireNoNul(value, index);
    return value.toString();
}

QuoteKey keyArgs(const QJsonArray &params, int branch, int number, int sequence)
{
    return QuoteKey{textArg(params, branch), textArg(params, number), textArg(params, sequence)};
}

// Throws RpcError for a malformed delta, Refusal for one with more than
// maxChangesPerDelta changes.
ChangeDelta deltaArg(const QJsonArray &params, int index)
{
    const QJsonValue value = params.at(index);
    if (!value.isObject()) {
        throw RpcError(RpcError::InvalidParams, QStringLiteral("argumento %1 deveria ser um pacote de alterações").arg(index));
    }
    const qsizetype changes = value.toObject().value(QStringLiteral("changes")).toArray().size();
    if (changes > maxChangesPerDelta) {
        throw Refusal(QStringLiteral("O pacote tem %1 alterações; o servidor aceita no máximo %2 por chamada. Nada foi gravado.")
                          .arg(changes)
                          .arg(maxChangesPerDelta));
    }
    try {
        return WireCodec::decodeDelta(value.toObject());
    } catch (const std::exception &error) {
        throw RpcError(RpcError::InvalidParams, QStringLiteral("argumento %1: %2").arg(index).arg(QString::fromUtf8(error.what())));
    }
}

QByteArray line(const QJsonObject &message)
{
    return QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray resultLine(const QJsonValue &id, const RpcSession::Answer &answer)
{
    return line(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                            {QStringLiteral("id"), id},
                            {QStringLiteral("result"), QJsonObject{{QStringLiteral("value"), answer.value},
                                                                   {QStringLiteral("refs"), answer.refs}}}});
}

// The line up to its value, for a value written as JSON text as it is
// read; the keys in the order QJsonDocument writes them, as in every other
// answer.
QByteArray streamedHead(const QJsonValue &id, const QJsonObject &refs)
{
    QByteArray idText = QJsonDocument(QJsonArray{id}).toJson(QJsonDocument::Compact);
    idText = idText.mid(1, idText.size() - 2);
    return R"({"id":)" + idText + R"(,"jsonrpc":"2.0","result":{"refs":)" + QJsonDocument(refs).toJson(QJsonDocument::Compact)
        + R"(,"value":)";
}

QByteArray errorLine(const QJsonValue &id, int code, const QString &message)
{
    return line(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                            {QStringLiteral("id"), id},
                            {QStringLiteral("error"), QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}}}});
}

} // namespace

RpcSession::RpcSession(Settings settings, const QString &peer)
    : m_settings(std::move(settings)), m_peer(peer)
{
}

RpcSession::~RpcSession() = default;

QByteArray RpcSession::unread(RpcError::Code code, const QString &message)
{
    CallLog::write(m_peer, QString(), 0, QStringLiteral("erro %1: %2").arg(int(code)).arg(message));
    return errorLine(QJsonValue(), code, message);
}

bool RpcSession::handle(const QByteArray &text, const AnswerStream::Sender &send)
{
    QElapsedTimer timer;
    timer.start();
    AnswerStream out(send);
    QJsonValue id;
    QString method;
    try {
        const RequestLine requestLine(text);
        const QJsonObject &request = requestLine.members();
        id = requestLine.id().value_or(QJsonValue());
        if (request.value(QStringLiteral("jsonrpc")) != QJsonValue(QStringLiteral("2.0"))) {
            throw RpcError(RpcError::InvalidRequest, QStringLiteral("falta \"jsonrpc\":\"2.0\""));
        }
        if (!requestLine.id()) {
            throw RpcError(RpcError::InvalidRequest,
                           QStringLiteral("o \"id\" da chamada deveria ser um texto, null ou um número inteiro de 64 bits que um double guarda exatamente"));
        }
        if (!request.value(QStringLiteral("method")).isString()) {
            throw RpcError(RpcError::InvalidRequest, QStringLiteral("falta o nome do método"));
        }
        method = request.value(QStringLiteral("method")).toString();
        const QJsonValue params = request.value(QStringLiteral("params"));
        if (!params.isUndefined() && !params.isArray()) {
            throw RpcError(RpcError::InvalidParams, QStringLiteral("os argumentos vão em uma lista, por posição"));
        }
        const Answer result = dispatch(method, params.toArray());
        QString outcome = result.outcome;
        if (result.streamValue) {
            out.buffer().append(streamedHead(id, result.refs));
            outcome = result.streamValue(out);
            out.buffer().append("}}\n");
        } else {
            out.buffer().append(resultLine(id, result));
        }
        endCall(false);
        CallLog::write(m_peer, method, timer.elapsed(), outcome);
        return out.finish();
    } catch (const AnswerStream::ClientGone &gone) {
        endCall(false);
        CallLog::write(m_peer, method, timer.elapsed(), QStringLiteral("%1; conexão encerrada").arg(QString::fromUtf8(gone.what())));
        return false;
    } catch (const RpcError &error) {
        endCall(false);
        return fail(out, id, method, timer.elapsed(), error.code(), error.message());
    } catch (const std::exception &error) {
        endCall(true);
        return fail(out, id, method, timer.elapsed(), RpcError::InternalError, databaseFailure, QString::fromUtf8(error.what()));
    }
}

bool RpcSession::fail(AnswerStream &out, const QJsonValue &id, const QString &method, qint64 elapsedMs, int code, const QString &message,
                      const QString &logged)
{
    const QString cause = logged.isEmpty() ? message : logged;
    if (out.hasSent()) {
        CallLog::write(m_peer, method, elapsedMs,
                       QStringLiteral("erro %1 depois de enviada parte da resposta, conexão encerrada: %2").arg(code).arg(cause));
        return false;
    }
    CallLog::write(m_peer, method, elapsedMs, QStringLiteral("erro %1: %2").arg(code).arg(cause));
    out.discard();
    out.buffer().append(errorLine(id, code, message));
    return out.finish() && !m_closing;
}

RpcSession::Answer RpcSession::dispatch(const QString &methodName, const QJsonArray &params)
{
    struct Entry {
        const char *name;
        int argumentCount;
        Answer (RpcSession::*handler)(const QJsonArray &);
        int optionalCount = 0; // arguments that may follow the required ones
    };
    static const Entry entries[] = {
        {"connect", 1, &RpcSession::connect, 1},
        {"GetOrcamento", 27, &RpcSession::getOrcamento},
        {"GetItemOrc", 3, &RpcSession::getItemOrc},
        {"GetMotivo", 2, &RpcSession::getMotivo},
        {"GetParamOrca", 0, &RpcSession::getParamOrca},
        {"SetOrcamento", 1, &RpcSession::setOrcamento},
        {"SetObs", 1, &RpcSession::setObs},
        {"setAgendaSalao", 4, &RpcSession::setAgendaSalao},
        {"getSituAnterior", 3, &RpcSession::getSituAnterior},
        {"getVerifSalao", 3, &RpcSession::getVerifSalao},
        {"SetAnterior", 5, &RpcSession::setAnterior},
        {"getBloqueioSalao", 3, &RpcSession::getBloqueioSalao},
        {"GetHistorico", 3, &RpcSession::getHistorico},
    };
    const auto found = std::find_if(std::begin(entries), std::end(entries),
                                    [&](const Entry &entry) { return methodName == QLatin1String(entry.name); });
    const Entry *method = found == std::end(entries) ? nullptr : found;
    if (!method) {
        throw RpcError(RpcError::MethodNotFound, QStringLiteral("método desconhecido: %1").arg(methodName.left(60)));
    }
    if (!m_connected && methodName != QLatin1String("connect")) {
        throw RpcError(RpcError::NotConnected, QStringLiteral("chame connect com \"%1\" antes de %2").arg(QLatin1String(serverName), methodName));
    }
    if (params.size() < method->argumentCount || params.size() > method->argumentCount + method->optionalCount) {
        throw RpcError(RpcError::InvalidParams, QStringLiteral("%1 espera %2 argumento(s), recebeu %3")
                                                    .arg(methodName).arg(method->argumentCount).arg(params.size()));
    }
    startCall();
    return (this->*method->handler)(params);
}

namespace {

// A business refusal: {"ok":false}, and the call log says so.
RpcSession::Answer refusedAnswer(const Refusal &refusal, const QJsonObject &refs)
{
    RpcSession::Answer refusedAnswer = answer(refused(refusal.message()), refs);
    refusedAnswer.outcome = QStringLiteral("recusado: ") + refusal.message();
    return refusedAnswer;
}

// Runs a checked call: a refusal becomes a refused answer, anything else
// goes on as a JSON-RPC error.
template<typename Body>
RpcSession::Answer checked(Body body, const QJsonObject &refs = {})
{
    try {
        return answer(accepted(body()), refs);
    } catch (const Refusal &refusal) {
        return refusedAnswer(refusal, refs);
    }
}

} // namespace

RpcSession::Answer RpcSession::connect(const QJsonArray &params)
{
    // A connection logs in once: a second connect would count it again in
    // its class (or change its operator) behind the caps' backs.
    if (m_connected) {
        throw RpcError(RpcError::InvalidRequest, QStringLiteral("esta conexão já fez connect; abra outra para outro login"));
    }
    const QString name = textArg(params, 0);
    if (name != QLatin1String(serverName)) {
        throw RpcError(RpcError::UnknownServer, QStringLiteral("servidor desconhecido: \"%1\"; este servidor hospeda \"%2\"")
                                                    .arg(name.left(80), QLatin1String(serverName)));
    }
    authenticate(params);
    const bool notices = m_settings.notices.hub && params.at(1).toObject().value(QStringLiteral("notices")) == QJsonValue(true);
    if (m_settings.accept) {
        const QString refused = m_settings.accept(m_operator);
        if (!refused.isEmpty()) {
            m_closing = true;
            throw RpcError(RpcError::ServerBusy, refused);
        }
    }
    m_connected = true;
    if (!notices) {
        return answer(QJsonValue());
    }
    m_settings.startNotices();
    return answer(QJsonObject{{QStringLiteral("notices"), true}});
}

void RpcSession::startCall()
{
    const CallDatabase::Lent lent = m_settings.database->lend(m_peer);
    m_db = lent.db;
    m_deadline = lent.deadline;
    m_lentId = lent.id;
    m_deadline->start();
}

void RpcSession::endCall(bool databaseFailed)
{
    if (!m_deadline) {
        return;
    }
    m_deadline->end();
    m_deadline = nullptr;
    m_db = QSqlDatabase();
    m_settings.database->takeBack(m_lentId, databaseFailed);
}

void RpcSession::authenticate(const QJsonArray &params)
{
    const bool operatorsConfigured = OperatorBook::hasOperators(m_db);
    if (!operatorsConfigured && !m_settings.requireOperators) {
        return; // credentials, if any, are not asked for and not checked
    }
    const QJsonObject credentials = params.at(1).toObject();
    const QJsonValue code = credentials.value(QStringLiteral("operator"));
    const QJsonValue password = credentials.value(QStringLiteral("password"));
    if (!code.isString() || !password.isString()) {
        m_closing = true;
        throw RpcError(RpcError::CredentialsRequired, QStringLiteral("o servidor exige operador e senha"));
    }
    const QString tooLong = OperatorBook::lengthProblem(code.toString());
    if (!tooLong.isEmpty()) {
        m_closing = true;
        throw RpcError(RpcError::CredentialsRefused, tooLong);
    }
    if (!operatorsConfigured) {
        CallLog::note(QStringLiteral("%1: connect recusado: nenhum operador cadastrado (use --add-operator)").arg(m_peer));
    }
    // The peer is "address:port"; guesses are counted per address.
    const QString address = m_peer.section(QLatin1Char(':'), 0, -2);
    const QString wait = LoginThrottle::admit(address, code.toString());
    if (!wait.isEmpty()) {
        m_closing = true;
        throw RpcError(RpcError::CredentialsRefused, wait);
    }
    if (!operatorsConfigured || !OperatorBook::verify(m_db, code.toString(), password.toString())) {
        LoginThrottle::failed(address, code.toString());
        CallLog::note(QStringLiteral("%1: senha recusada para o operador %2").arg(m_peer, code.toString().left(40)));
        // A wrong guess costs a new connection: passwords cannot be tried in a loop on one.
        m_closing = true;
        throw RpcError(RpcError::CredentialsRefused, QStringLiteral("operador ou senha inválidos"));
    }
    LoginThrottle::succeeded(address, code.toString());
    m_operator = code.toString();
}

RpcSession::Answer RpcSession::getOrcamento(const QJsonArray &params)
{
    const QString branch = textArg(params, 0);
    QuoteListing filter;
    try {
        filter = QuoteListing::fromJson(params);
    } catch (const std::invalid_argument &wrong) {
        throw RpcError(RpcError::InvalidParams, QString::fromUtf8(wrong.what()));
    }
    for (int i = 1; i < params.size(); ++i) {
        requireNoNul(params.at(i), i);
    }
    QJsonObject refs;
    const QJsonArray echoed = filter.toJson();
    for (int i = 0; i < echoed.size(); ++i) {
        refs.insert(QString::number(i + 1), echoed.at(i));
    }
    try {
        QuoteFilter::checkListSizes(filter);
    } catch (const Refusal &refusal) {
        return refusedAnswer(refusal, refs);
    }
    // Only a listing whose arguments are accepted subscribes its branch.
    if (m_settings.notices.hub) {
        m_settings.notices.hub->listed(m_settings.notices.origin, branch);
    }
    // A branch's list is the largest answer there is: its packet is written
    // as text straight from the query and leaves while the query steps.
    Answer listed = answer(QJsonValue(), refs);
    listed.streamValue = [this, branch, filter](AnswerStream &out) {
        out.stopAt(m_deadline);
        const qsizetype valueStart = out.buffer().size();
        out.buffer().append(R"({"data":)");
        try {
            const qsizetype rows = QuoteReader(m_db).writeQuotes(branch, filter, out);
            out.buffer().append(R"(,"ok":true})");
            return QStringLiteral("ok, %1 orçamento(s)").arg(rows);
        } catch (const AnswerStream::ClientGone &) {
            throw;
        } catch (const std::exception &) {
            if (!m_deadline->hasPassed()) {
                throw;
            }
        }
        // Stopped between two rows. Once part of the list has left, its
        // packet closes on the rows written and the answer says it is not
        // whole; before, the answer is a plain refusal.
        const QString stopped = QStringLiteral("A listagem passou do limite de %1 s do servidor e foi interrompida. "
                                               "Restrinja o filtro e liste de novo.").arg(m_deadline->timeoutMs() / 1000);
        if (out.hasSent()) {
            PacketJson::endRows(out.buffer());
            out.buffer().append(R"(,"message":)");
        } else {
            out.buffer().truncate(valueStart);
            out.buffer().append(R"({"message":)");
        }
        JsonText::appendString(out.buffer(), stopped);
        out.buffer().append(R"(,"ok":false})");
        return QStringLiteral("interrompido: passou do limite de %1 ms").arg(m_deadline->timeoutMs());
    };
    return listed;
}

RpcSession::Answer RpcSession::getItemOrc(const QJsonArray &params)
{
    const QuoteKey key = keyArgs(params, 0, 1, 2);
    return checked([&] {
        const QuoteReader reader(m_db);
        return QJsonValue(QJsonArray{WireCodec::encodePacket(reader.items(key)), WireCodec::encodePacket(reader.justification(key))});
    });
}

RpcSession::Answer RpcSession::getMotivo(const QJsonArray &params)
{
    const QString code = textArg(params, 0);
    const QString all = textArg(params, 1);
    const QJsonObject refs{{QStringLiteral("0"), code}, {QStringLiteral("1"), all}};
    return checked([&] { return QJsonValue(WireCodec::encodePacket(QuoteReader(m_db).reasons(code, all))); }, refs);
}

RpcSession::Answer RpcSession::getParamOrca(const QJsonArray &)
{
    return checked([&] { return QJsonValue(WireCodec::encodePacket(QuoteReader(m_db).parameters())); });
}

RpcSession::Answer RpcSession::setOrcamento(const QJsonArray &params)
{
    return checked([&] { return QJsonValue(QuoteWriter(m_db, m_operator, m_settings.notices).apply(deltaArg(params, 0))); });
}

RpcSession::Answer RpcSession::setObs(const QJsonArray &params)
{
    return checked([&] { return QJsonValue(JustificationWriter(m_db, m_operator, m_settings.notices).apply(deltaArg(params, 0))); });
}

RpcSession::Answer RpcSession::setAgendaSalao(const QJsonArray &params)
{
    const QuoteKey key = keyArgs(params, 0, 1, 2);
    const QString letter = textArg(params, 3);
    if (!HallBooking::isLetter(letter)) {
        throw RpcError(RpcError::InvalidParams, QStringLiteral("operação de agenda desconhecida: \"%1\" (use C, A ou R)").arg(letter.left(10)));
    }
    try {
        HallSchedule(m_db).tell(key, letter, m_settings.notices, m_operator);
    } catch (const Refusal &refusal) {
        throw RpcError(RpcError::Refused, refusal.message());
    }
    return answer(QJsonValue());
}

RpcSession::Answer RpcSession::getSituAnterior(const QJsonArray &params)
{
    const QuoteKey key = keyArgs(params, 1, 0, 2);
    return answer(StateRestorer(m_db).previousState(key));
}

RpcSession::Answer RpcSession::getVerifSalao(const QJsonArray &params)
{
    const QuoteKey key = keyArgs(params, 0, 1, 2);
    const auto quote = StoredQuote::load(m_db, key);
    if (!quote) {
        return answer(QStringLiteral("O orçamento %1 não existe.").arg(key.display()));
    }
    const QString verdict = HallSchedule(m_db).verify(*quote);
    Answer verified = answer(verdict);
    verified.outcome = verdict;
    return verified;
}

RpcSession::Answer RpcSession::getBloqueioSalao(const QJsonArray &params)
{
    const QuoteKey key = keyArgs(params, 0, 1, 2);
    return checked([&] {
        const auto quote = StoredQuote::load(m_db, key);
        if (!quote) {
            throw Refusal(QStringLiteral("O orçamento %1 não existe.").arg(key.display()));
        }
        return QJsonValue(WireCodec::encodePacket(HallSchedule(m_db).blockers(*quote)));
    });
}

RpcSession::Answer RpcSession::getHistorico(const QJsonArray &params)
{
    const QuoteKey key = keyArgs(params, 0, 1, 2);
    return checked([&] { return QJsonValue(WireCodec::encodePacket(QuoteHistory(m_db).read(key))); });
}

RpcSession::Answer RpcSession::setAnterior(const QJsonArray &params)
{
    const QuoteKey key = keyArgs(params, 1, 0, 2);
    const QString operatorCode = textArg(params, 3);
    QString state = textArg(params, 4);
    Answer restored = checked([&] {
        state = StateRestorer(m_db, m_settings.notices).restore(key, WriteOperator::resolve(m_operator, operatorCode, StateHistory::operatorField()));
        return QJsonValue();
    });
    restored.refs = QJsonObject{{QStringLiteral("4"), state}};
    return restored;
}
