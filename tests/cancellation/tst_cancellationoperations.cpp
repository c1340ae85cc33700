// The cancellation screen's operations without widgets or a server: a
// scripted server answers, loses the connection, or lets notices and a new
// connection arrive in the middle of a call; what the operator is told and
// what is sent must match what the server holds.
#include "Abort.h"
#include "CancellationCommands.h"
#include "CancellationMessages.h"
#include "QuoteWithdrawal.h"
#include "HostDialogs.h"
#include "CancellationOperations.h"
#include "PacketReader.h"
#include "QuoteListing.h"
#include "RecordList.h"
#include "ScriptedDialogs.h"
#include "ServerAnswer.h"
#include "QuoteServer.h"
#include "TMessages.h"
#include "TNetConnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QQueue>
#include <QtTest>

namespace {

const QStringList quoteFields{"CDFILIAL", "NRORCAEVENTO", "NRSEQORCAEVE", "IDSITUORCEVE", "CDJUSTEXCHIS", "CDOPEJUSTORC"};

QJsonObject packet(const QStringList &names, const QJsonArray &rows)
{
    QJsonArray fields;
    for (const QString &name : names) {
        fields.append(QJsonObject{{"name", name}, {"type", "text"}, {"size", 12}});
    }
    return {{"fields", fields}, {"rows", rows}};
}

// One row as a packet's rows (a braced single array would be taken for the rows).
QJsonArray onlyThis(const QJsonArray &row)
{
    QJsonArray rows;
    rows.append(row);
    return rows;
}

QJsonObject checked(const QJsonValue &data)
{
    return {{"ok", true}, {"data", data}};
}

// Each call takes the next scripted step of its method; a step is
// "ok", "lost" (the connection lost before the answer), "error", "refused"
// (a checked refusal), "lido:STATE/REASON/OPERATOR", "none", "texto:TEXT"
// or "sem" (no justification).
class ScriptedServer final : public QuoteServer {
public:
    explicit ScriptedServer(const QStringList &script)
    {
        for (const QString &step : script) {
            const qsizetype equals = step.indexOf(QLatin1Char('='));
            m_steps[step.left(equals)].enqueue(step.mid(equals + 1));
        }
    }
    QStringList calls;
    std::function<void()> during; // runs inside every call, as the busy sign's event loop would

    QJsonValue call(const QString &method, const QList<TNetArg> &) override
    {
        calls << method;
        if (during) {
            during();
        }
        const QString step = m_steps[method].isEmpty() ? QStringLiteral("ok") : m_steps[method].dequeue();
        if (step == QLatin1String("lost")) {
            throw TNetConnection::ConnectionLost("A conexão com o servidor caiu durante " + method.toStdString() + ".");
        }
        if (step == QLatin1String("error")) {
            throw std::runtime_error("falha em " + method.toStdString());
        }
        if (step == QLatin1String("refused")) {
            return QJsonObject{{"ok", false}, {"message", "recusado"}};
        }
        if (step.startsWith(QLatin1String("stored:"))) {
            const QStringList found = step.mid(7).split(QLatin1Char('/'));
            return checked(packet(quoteFields, onlyThis({"0001", "0000000007", "01", found[0], found[1], found[2]})));
        }
        if (step == QLatin1String("none")) {
            return checked(packet(quoteFields, {}));
        }
        if (method == QLatin1String("GetItemOrc")) {
            const QJsonArray rows = step.startsWith(QLatin1String("text:")) ? onlyThis({step.mid(5)}) : QJsonArray{};
            return checked(QJsonArray{packet({}, {}), packet({"TXOBSJUSTORC"}, rows)});
        }
        return method == QLatin1String("setAgendaSalao") ? QJsonValue() : QJsonValue(checked(1));
    }

    QJsonValue callPacket(const QString &method, const QList<TNetArg> &arguments,
                           std::optional<PacketColumns> &packetRead) override
    {
        QJsonObject answer = call(method, arguments).toObject();
        if (answer.contains("data")) {
            JsonStreamReader reader(QJsonDocument(answer.take("data").toObject()).toJson(QJsonDocument::Compact),
                                    [](QByteArray &) { return false; });
            packetRead = PacketReader::read(reader);
        }
        return answer;
    }

private:
    QHash<QString, QQueue<QString>> m_steps;
};

ChangeDelta oneChange()
{
    ChangeDelta delta;
    delta.changes.append(RowChange{});
    return delta;
}

} // namespace

class tst_CancellationOperations final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { HostDialogs::install(nullptr); }
    void whatIsSaidIsWhatTheServerHolds_data();
    void whatIsSaidIsWhatTheServerHolds();
    void commandsFollowTheFacts_data();
    void commandsFollowTheFacts();
    void aWriteFoundNotStoredThatLandsLateIsFinished();
    void whatArrivesDuringAnOperationWaits_data();
    void whatArrivesDuringAnOperationWaits();

private:
    CancellationLists lists() { return {m_quotes, m_other, m_other, m_other, m_other}; }
    ScriptedDialogs m_dialogs;
    TMessages m_messages;
    RecordList m_quotes{QStringLiteral("cdsOrcamento")};
    RecordList m_other{QStringLiteral("cdsOutra")};
};

void tst_CancellationOperations::init()
{
    m_dialogs.clear();
    HostDialogs::install(&m_dialogs);
    m_messages.setLines(cancellationMessages());
    ServerAnswer::LoadPacket(m_quotes, packet(quoteFields, onlyThis({"0001", "0000000007", "01", "8", "0002", "MSOUZA"})));
}

void tst_CancellationOperations::whatIsSaidIsWhatTheServerHolds_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("outcome"); // success, partial (a warning and steps left), abandoned (Abort), error
    QTest::addColumn<QString>("said");
    QTest::addColumn<QStringList>("calls");
    const QStringList all{"SetOrcamento", "setAgendaSalao", "SetObs"};
    const QStringList readBack{"SetOrcamento", "GetOrcamento", "GetItemOrc"};
    QTest::newRow("every step answered") << QStringList{} << "success" << "Operação realizada com sucesso." << all;
    QTest::newRow("state lost, read back as ours")
        << QStringList{"SetOrcamento=lost", "GetOrcamento=stored:8/0002/MSOUZA", "GetItemOrc=no-text"} << "success"
        << "Operação realizada com sucesso." << readBack + QStringList{"setAgendaSalao", "SetObs"};
    QTest::newRow("state lost, read-back lists nothing")
        << QStringList{"SetOrcamento=lost", "GetOrcamento=none"} << "error" << "Não foi possível saber se o orçamento"
        << QStringList{"SetOrcamento", "GetOrcamento"};
    QTest::newRow("state lost, read-back lost too")
        << QStringList{"SetOrcamento=lost", "GetOrcamento=lost"} << "error" << "Nada foi repetido"
        << QStringList{"SetOrcamento", "GetOrcamento"};
    QTest::newRow("state lost, another operator withdrew it with their reason")
        << QStringList{"SetOrcamento=lost", "GetOrcamento=stored:8/0006/JSILVA", "GetItemOrc=no-text"} << "abandoned"
        << "não foi gravado: está Cancelado, gravado por JSILVA com o motivo 0006" << readBack;
    QTest::newRow("state lost, still open") << QStringList{"SetOrcamento=lost", "GetOrcamento=stored:1//"}
                                            << "abandoned" << "não foi gravado: está Pendente" << readBack;
    QTest::newRow("state refused") << QStringList{"SetOrcamento=refused"} << "abandoned" << "recusado"
                                   << QStringList{"SetOrcamento"};
    QTest::newRow("hall release lost once, sent again")
        << QStringList{"setAgendaSalao=lost"} << "success" << "Operação realizada com sucesso."
        << QStringList{"SetOrcamento", "setAgendaSalao", "setAgendaSalao", "SetObs"};
    // The justification waits with the hall's release.
    QTest::newRow("hall release lost twice")
        << QStringList{"setAgendaSalao=lost", "setAgendaSalao=lost"} << "partial"
        << "mas não foi possível confirmar que o salão foi liberado e a justificativa não foi gravada"
        << QStringList{"SetOrcamento", "setAgendaSalao", "setAgendaSalao"};
    QTest::newRow("hall release refused")
        << QStringList{"setAgendaSalao=error"} << "partial"
        << "mas o salão não foi liberado e a justificativa não foi gravada: falha em setAgendaSalao"
        << QStringList{"SetOrcamento", "setAgendaSalao"};
    QTest::newRow("justification lost, read back as ours")
        << QStringList{"SetObs=lost", "GetItemOrc=text:Desistiu."} << "success" << "Operação realizada com sucesso."
        << all + QStringList{"GetItemOrc"};
    QTest::newRow("justification lost, not there: written once more")
        << QStringList{"SetObs=lost", "GetItemOrc=no-text"} << "success" << "Operação realizada com sucesso."
        << all + QStringList{"GetItemOrc", "SetObs"};
    QTest::newRow("justification lost, another operator's text there")
        << QStringList{"SetObs=lost", "GetItemOrc=text:Outra."} << "abandoned"
        << "mas a justificativa não foi gravada: o servidor já tem outra justificativa para ele"
        << all + QStringList{"GetItemOrc"};
}

void tst_CancellationOperations::whatIsSaidIsWhatTheServerHolds()
{
    QFETCH(QStringList, script);
    QFETCH(QString, outcome);
    QFETCH(QString, said);
    QFETCH(QStringList, calls);
    ScriptedServer server(script);
    CancellationOperations operations(server, lists(), m_messages);
    bool discarded = false;
    QString result = QStringLiteral("success");
    QString error;
    try {
        QuoteWithdrawal withdrawal = operations.newWithdrawal();
        withdrawal.sendState(oneChange(), [&discarded] { discarded = true; });
        withdrawal.releaseHall();
        withdrawal.sendJustification(oneChange(), QStringLiteral("Desistiu."));
        operations.finishWithdrawal(withdrawal);
    } catch (const Abort &) {
        result = operations.hasPending() ? QStringLiteral("partial") : QStringLiteral("abandoned");
    } catch (const std::runtime_error &failure) {
        result = QStringLiteral("error");
        error = QString::fromUtf8(failure.what());
    }
    QCOMPARE(result, outcome);
    const QString text = error.isEmpty() ? m_dialogs.lastText() : error;
    QVERIFY2(text.contains(said), qPrintable(text));
    QCOMPARE(server.calls, calls);
    // The list drops the change exactly when the state is not known stored.
    QCOMPARE(discarded, outcome == QLatin1String("error") || calls.count("setAgendaSalao") == 0);
}

void tst_CancellationOperations::commandsFollowTheFacts_data()
{
    QTest::addColumn<QStringList>("facts");
    QTest::addColumn<QStringList>("commands");
    const QStringList grid{"find", "verify", "filter", "history", "exportList", "pages", "gridPage",
                            "itemsPage", "reasonPanel", "branch"};
    QTest::newRow("browsing an open quote") << QStringList{"listed", "offered"} << grid;
    QTest::newRow("browsing a withdrawn quote") << QStringList{"listed", "offered", "withdrawn"}
                                                << grid + QStringList{"reEnable"};
    QTest::newRow("a marked quote")
        << QStringList{"listed", "offered", "editing"}
        << QStringList{"cancel", "confirm", "pages", "reasonPage", "reasonPanel", "reason"};
    QTest::newRow("an edit of a withdrawn quote")
        << QStringList{"listed", "offered", "editing", "withdrawn"}
        << QStringList{"cancel", "confirm", "pages", "gridPage", "itemsPage", "reasonPanel"};
    QTest::newRow("nothing listed") << QStringList{"offered"}
                                    << QStringList{"filter", "pages", "gridPage", "reasonPanel", "branch"};
    QTest::newRow("the branch being chosen") << QStringList{"offered", "choosing"}
                                             << QStringList{"pages", "gridPage", "branch"};
    QTest::newRow("the branch fixed, before the first listing")
        << QStringList{"fixed"} << QStringList{"filter", "gridPage", "reasonPanel"};
    QTest::newRow("a store with steps left")
        << QStringList{"listed", "offered", "withdrawn", "pending"} << grid + QStringList{"reEnable", "finish"};
    QTest::newRow("steps left wait for the edit")
        << QStringList{"listed", "offered", "editing", "pending"}
        << QStringList{"cancel", "confirm", "pages", "reasonPage", "reasonPanel", "reason"};
}

void tst_CancellationOperations::commandsFollowTheFacts()
{
    QFETCH(QStringList, facts);
    QFETCH(QStringList, commands);
    CancellationFacts f;
    f.listEmpty = !facts.contains("listed");
    f.editing = facts.contains("editing");
    f.withdrawn = facts.contains("withdrawn");
    f.branchOffered = facts.contains("offered");
    f.choosingBranch = facts.contains("choosing");
    f.branchFixed = facts.contains("fixed");
    f.pendingSteps = facts.contains("pending");
    const CancellationCommands c = commandsFor(f);
    const QList<std::pair<const char *, bool>> all{
        {"find", c.find},       {"verify", c.verify},     {"cancel", c.cancel},
        {"confirm", c.confirm},     {"filter", c.filter},           {"reEnable", c.reEnable},
        {"history", c.history},     {"exportList", c.exportList},       {"finish", c.finish},
        {"pages", c.pages},         {"gridPage", c.gridPage}, {"itemsPage", c.itemsPage},
        {"reasonPage", c.reasonPage}, {"reasonPanel", c.reasonPanel}, {"reason", c.reason},
        {"branch", c.branch}};
    QStringList open;
    for (const auto &[name, isOpen] : all) {
        if (isOpen) {
            open << QLatin1String(name);
        }
    }
    open.sort();
    commands.sort();
    QCOMPARE(open, commands);
}

void tst_CancellationOperations::aWriteFoundNotStoredThatLandsLateIsFinished()
{
    // A frozen server's write, read back as not stored, is stored when it wakes.
    ScriptedServer server({"SetOrcamento=lost", "GetOrcamento=stored:1//", "GetOrcamento=stored:8/0002/MSOUZA",
                           "GetItemOrc=no-text"});
    CancellationOperations operations(server, lists(), m_messages);
    QuoteWithdrawal withdrawal = operations.newWithdrawal();
    QVERIFY_THROWS_EXCEPTION(Abort, withdrawal.sendState(oneChange(), [] {}));
    QVERIFY(m_dialogs.lastText().contains(QStringLiteral("não foi gravado")));
    operations.takeNotices({QJsonObject{{"branch", "0001"}, {"number", "0000000007"}, {"sequence", "01"},
                                        {"what", "state"}, {"state", "8"}, {"reason", "0002"}, {"operator", "MSOUZA"}}});
    QCOMPARE(server.calls.mid(3), QStringList({"GetOrcamento", "GetItemOrc", "setAgendaSalao"}));
    QVERIFY(!operations.hasPending());
    QVERIFY2(m_dialogs.lastText().contains(QStringLiteral("acaba de ser gravado como Cancelado"))
                 && m_dialogs.lastText().contains(QStringLiteral("o salão foi liberado")),
             qPrintable(m_dialogs.lastText()));
}

void tst_CancellationOperations::whatArrivesDuringAnOperationWaits_data()
{
    QTest::addColumn<bool>("reconnection");
    QTest::newRow("a notice of another operator's change") << false;
    QTest::newRow("a new connection after a lost one") << true;
}

void tst_CancellationOperations::whatArrivesDuringAnOperationWaits()
{
    QFETCH(bool, reconnection);
    ScriptedServer server({"GetOrcamento=stored:8/0002/MSOUZA"});
    CancellationOperations operations(server, lists(), m_messages);
    QuoteListing listing;
    operations.list(QStringLiteral("0001"), listing);
    int listings = 0;
    connect(&operations, &CancellationOperations::listingWanted, this, [&listings] { ++listings; });
    server.during = [&] {
        if (reconnection) {
            operations.reconnected();
        } else {
            operations.takeNotices({QJsonObject{{"branch", "0001"}, {"number", "0000000007"}, {"sequence", "01"},
                                                {"what", "state"}, {"state", "9"}, {"reason", "0006"}}});
        }
        QCoreApplication::processEvents(); // what the busy sign lets through
    };
    const int state = m_quotes.fieldByName(QStringLiteral("IDSITUORCEVE")).index();
    {
        const CancellationOperations::Turn turn(operations);
        server.call(QStringLiteral("GetOrcamento"), {});
        QCOMPARE(m_quotes.valueAt(0, state).toString(), QStringLiteral("8"));
        QCOMPARE(listings, 0);
    }
    server.during = nullptr;
    QTRY_COMPARE(reconnection ? QString::number(listings) : m_quotes.valueAt(0, state).toString(),
                 reconnection ? QStringLiteral("1") : QStringLiteral("9"));
}

QTEST_GUILESS_MAIN(tst_CancellationOperations)
#include "tst_cancellationoperations.moc"
