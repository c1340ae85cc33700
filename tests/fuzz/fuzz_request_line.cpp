// Fuzz target: the application server's request line, through
// RpcSession::handle as a client's connection calls it. An input is what a
// client sends after its connect: one or more lines, cut at '\n' by the
// server's own framer (a last line without one counts too; blank lines are
// skipped, as the connection skips them). Each input gets a new session,
// connected first, on the database as it was seeded (FuzzDatabase).
//
// Rules: handle() lets no exception out and answers every line with exactly
// one answer line (AnswerLine says what a proper one is); no call leaves a
// transaction open. A rule broken is a crash (fuzzFailure).

#include "AnswerLine.h"
#include "CallDeadline.h"
#include "FuzzDatabase.h"
#include "FuzzFailure.h"
#include "FuzzTarget.h"
#include "LineFramer.h"
#include "RpcSession.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

namespace {

const QByteArray connectLine = R"({"jsonrpc":"2.0","id":0,"method":"connect","params":["CXL04100.rdmCancelamento"]})";

// Has the session answer one line, checks the answer against the rules
// and returns it.
QByteArray answer(RpcSession &session, const QByteArray &line)
{
    QByteArray sent;
    bool complete = false; // false when the answer broke off
    try {
        complete = session.handle(line, [&sent](const QByteArray &bytes) {
            sent += bytes;
            return true;
        });
    } catch (const std::exception &error) {
        fuzzFailure(QStringLiteral("handle() let an exception out: %1").arg(QString::fromUtf8(error.what())), line);
    } catch (...) {
        fuzzFailure(QStringLiteral("handle() let an exception out"), line);
    }
    if (!complete) {
        // On a healthy database nothing breaks an answer off half-way.
        fuzzFailure(QStringLiteral("the answer broke off after %1 bytes had left").arg(sent.size()), line);
    }
    const QString fault = AnswerLine::fault(line, sent);
    if (!fault.isEmpty()) {
        fuzzFailure(fault, "request: " + line + "\nanswer: " + sent);
    }
    return sent;
}

// Every call of an input runs on the seeded connection.
class SeededCallDatabase final : public CallDatabase {
public:
    explicit SeededCallDatabase(const QSqlDatabase &db) : m_db(db), m_deadline(db, 60000) {}
    Lent lend(const QString &) override { return Lent{m_db, &m_deadline, 1}; }
    void takeBack(int, bool) override {}

private:
    QSqlDatabase m_db;
    CallDeadline m_deadline;
};

FuzzDatabase &database()
{
    static int argc = 1;
    static char name[] = "fuzz_request_line";
    static char *argv[] = {name, nullptr};
    // QtSql loads its drivers through the application object.
    static QCoreApplication application(argc, argv);
    // The server logs each call on the stderr stream: thousands a second
    // here, which would bury what the engine and fuzzFailure report. Those
    // write to file descriptor 2 itself, and glibc lets the stream be
    // pointed elsewhere.
    static const bool logSilenced = [] {
        FILE *const nowhere = std::fopen("/dev/null", "w");
        if (nowhere) {
            stderr = nowhere;
        }
        return nowhere != nullptr;
    }();
    Q_UNUSED(logSilenced);
    static FuzzDatabase seeded;
    return seeded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzDatabase &seeded = database();
    {
        SeededCallDatabase calls(seeded.connection());
        RpcSession::Settings settings;
        settings.database = &calls;
        RpcSession session(settings, QStringLiteral("fuzz"));
        if (answer(session, connectLine).contains(R"("error")")) {
            fuzzFailure(QStringLiteral("connect was refused"));
        }
        LineFramer framer;
        framer.append(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        framer.append("\n");
        while (const auto line = framer.next()) {
            if (!line->text.trimmed().isEmpty()) {
                answer(session, line->text);
            }
        }
    }
    seeded.afterInput();
    return 0;
}
