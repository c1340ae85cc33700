#include "RecordList.h"
#include "RecordListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <stdexcept>

namespace {

DataPacket quotePacket()
{
    DataPacket packet;
    packet.fields = {{"CDFILIAL", FieldType::Text, 4},
                     {"NRORCA", FieldType::Text, 10},
                     {"QTCONV", FieldType::Integer, 0},
                     {"VRTOTAL", FieldType::Float, 0},
                     {"DTEVENTO", FieldType::DateTime, 0}};
    packet.rows = {{QStringLiteral("0001"), QStringLiteral("0000000001"), qint64(100), 1234.5, 45366.0},
                   {QStringLiteral("0001"), QStringLiteral("0000000002"), qint64(80), -0.5, 45366.5},
                   {QStringLiteral("0002"), QStringLiteral("0000000003"), qint64(50), 10.0, QVariant()}};
    return packet;
}

} // namespace

class TestRecordListModel final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void inactiveListHasNoRows();
    void followsTheListThroughItsLife();
    void insertAndAppendAddRows();
    void cancelledInsertRemovesTheRow();
    void deleteRemovesTheRow();
    void cancelUpdatesResets();
    void editingChangesTheRow();
    void roles_data();
    void roles();
    void numbersAreRightAligned();
    void headersShowLabels();
    void columnsAreTheVisibleFieldsByDefault();
    void chosenColumnsFollowTheGivenNames();
    void cellsAreReadOnly();
    void failingGetTextGivesAnEmptyCell();
    void packetFieldsBecomeColumnsOfAnUndeclaredList();

private:
    std::unique_ptr<RecordList> m_list;
    std::unique_ptr<RecordListModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TestRecordListModel::init()
{
    m_list = std::make_unique<RecordList>(QStringLiteral("cdsOrcamento"));
    m_list->addField("CDFILIAL", FieldType::Text, 4).setDisplayLabel(QStringLiteral("Filial"));
    m_list->addField("NRORCA", FieldType::Text, 10).setDisplayLabel(QStringLiteral("Orçamento"));
    m_list->addField("QTCONV", FieldType::Integer).setVisible(false);
    m_list->addField("VRTOTAL", FieldType::Float).setDisplayFormat(QStringLiteral("#,##0.00"));
    m_list->addField("DTEVENTO", FieldType::DateTime).setDisplayLabel(QStringLiteral("Data/Hora"));
    m_model = std::make_unique<RecordListModel>(m_list.get());
    m_tester = std::make_unique<QAbstractItemModelTester>(m_model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
}

void TestRecordListModel::cleanup()
{
    m_tester.reset();
    m_model.reset();
    m_list.reset();
}

void TestRecordListModel::inactiveListHasNoRows()
{
    QCOMPARE(m_model->rowCount(), 0);
    QCOMPARE(m_model->columnCount(), 4);
}

void TestRecordListModel::followsTheListThroughItsLife()
{
    QSignalSpy resets(m_model.get(), &QAbstractItemModel::modelReset);
    m_list->loadPacket(quotePacket());
    QCOMPARE(m_model->rowCount(), 3);
    m_list->loadPacket(quotePacket());
    QCOMPARE(m_model->rowCount(), 3);
    m_list->close();
    QCOMPARE(m_model->rowCount(), 0);
    m_list->createDataSet();
    QCOMPARE(m_model->rowCount(), 0);
    QCOMPARE(resets.count(), 5); // two loads (the second closes first), close, create
}

void TestRecordListModel::insertAndAppendAddRows()
{
    m_list->loadPacket(quotePacket());
    m_list->moveTo(1);
    QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
    m_list->insert();
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 1);
    QCOMPARE(m_model->rowCount(), 4);
    m_list->fieldByName("NRORCA").setAsString(QStringLiteral("novo"));
    m_list->post();
    QCOMPARE(m_model->index(1, 1).data().toString(), QStringLiteral("novo"));
    m_list->append();
    QCOMPARE(inserted.at(1).at(1).toInt(), 4);
    QCOMPARE(m_model->rowCount(), 5);
}

void TestRecordListModel::cancelledInsertRemovesTheRow()
{
    m_list->loadPacket(quotePacket());
    QSignalSpy removed(m_model.get(), &QAbstractItemModel::rowsRemoved);
    m_list->insert();
    m_list->cancel();
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 0);
    QCOMPARE(m_model->rowCount(), 3);
    QCOMPARE(m_model->index(0, 1).data().toString(), QStringLiteral("0000000001"));
}

void TestRecordListModel::deleteRemovesTheRow()
{
    m_list->loadPacket(quotePacket());
    m_list->moveTo(1);
    QSignalSpy removed(m_model.get(), &QAbstractItemModel::rowsRemoved);
    m_list->remove();
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 1);
    QCOMPARE(m_model->rowCount(), 2);
    QCOMPARE(m_model->index(1, 1).data().toString(), QStringLiteral("0000000003"));
    m_list->remove();
    m_list->remove();
    QCOMPARE(m_model->rowCount(), 0);
}

void TestRecordListModel::cancelUpdatesResets()
{
    m_list->loadPacket(quotePacket());
    m_list->remove();
    m_list->append();
    m_list->fieldByName("NRORCA").setAsString(QStringLiteral("extra"));
    m_list->post();
    QSignalSpy resets(m_model.get(), &QAbstractItemModel::modelReset);
    m_list->cancelUpdates();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(m_model->rowCount(), 3);
    QCOMPARE(m_model->index(0, 1).data().toString(), QStringLiteral("0000000001"));
}

void TestRecordListModel::editingChangesTheRow()
{
    m_list->loadPacket(quotePacket());
    m_list->moveTo(2);
    QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
    m_list->edit();
    m_list->fieldByName("VRTOTAL").setAsFloat(2000.0);
    QVERIFY(changed.count() >= 1);
    const QModelIndex topLeft = changed.at(0).at(0).toModelIndex();
    const QModelIndex bottomRight = changed.at(0).at(1).toModelIndex();
    QCOMPARE(topLeft.row(), 2);
    QCOMPARE(bottomRight.row(), 2);
    QCOMPARE(bottomRight.column(), m_model->columnCount() - 1);
    QCOMPARE(m_model->index(2, 2).data().toString(), QStringLiteral("2.000,00"));
    m_list->cancel();
    QCOMPARE(m_model->index(2, 2).data().toString(), QStringLiteral("10,00"));
}

void TestRecordListModel::roles_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QVariant>("raw");
    QTest::newRow("money") << 0 << "VRTOTAL" << "1.234,50" << "1234,5" << QVariant(1234.5);
    QTest::newRow("negative money") << 1 << "VRTOTAL" << "-0,50" << "-0,5" << QVariant(-0.5);
    QTest::newRow("date") << 0 << "DTEVENTO" << "15/03/2024" << "15/03/2024" << QVariant(45366.0);
    QTest::newRow("date with time") << 1 << "DTEVENTO" << "15/03/2024 12:00" << "15/03/2024 12:00:00" << QVariant(45366.5);
    QTest::newRow("empty date") << 2 << "DTEVENTO" << "" << "" << QVariant();
    QTest::newRow("text") << 2 << "CDFILIAL" << "0002" << "0002" << QVariant(QStringLiteral("0002"));
}

void TestRecordListModel::roles()
{
    QFETCH(int, row);
    QFETCH(QString, field);
    QFETCH(QString, display);
    QFETCH(QString, edit);
    QFETCH(QVariant, raw);
    m_list->loadPacket(quotePacket());
    const QModelIndex index = m_model->index(row, m_model->columnOfField(field));
    QVERIFY(index.isValid());
    QCOMPARE(index.data(Qt::DisplayRole).toString(), display);
    QCOMPARE(index.data(Qt::EditRole).toString(), edit);
    QCOMPARE(index.data(Qt::UserRole), raw);
}

void TestRecordListModel::numbersAreRightAligned()
{
    m_model->setColumns({"CDFILIAL", "QTCONV", "VRTOTAL", "DTEVENTO"});
    m_list->loadPacket(quotePacket());
    const auto alignment = [this](int column) {
        return m_model->index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    };
    QVERIFY(!(alignment(0) & Qt::AlignRight));
    QVERIFY(alignment(1) & Qt::AlignRight);
    QVERIFY(alignment(2) & Qt::AlignRight);
    QVERIFY(!(alignment(3) & Qt::AlignRight));
}

void TestRecordListModel::headersShowLabels()
{
    QCOMPARE(m_model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Filial"));
    QCOMPARE(m_model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Orçamento"));
    QCOMPARE(m_model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("VRTOTAL"));
    QCOMPARE(m_model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Data/Hora"));
}

void TestRecordListModel::columnsAreTheVisibleFieldsByDefault()
{
    QCOMPARE(m_model->columnOfField(QStringLiteral("QTCONV")), -1);
    QCOMPARE(m_model->fieldAt(2), &m_list->fieldByName("VRTOTAL"));
    QCOMPARE(m_model->fieldAt(4), nullptr);
}

void TestRecordListModel::chosenColumnsFollowTheGivenNames()
{
    m_list->loadPacket(quotePacket());
    QSignalSpy resets(m_model.get(), &QAbstractItemModel::modelReset);
    m_model->setColumns({"DTEVENTO", "QTCONV", "NAOEXISTE", "NRORCA"});
    QCOMPARE(resets.count(), 1);
    QCOMPARE(m_model->columnCount(), 3);
    QCOMPARE(m_model->columnOfField(QStringLiteral("qtconv")), 1);
    QCOMPARE(m_model->index(1, 1).data().toString(), QStringLiteral("80"));
    QCOMPARE(m_model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Data/Hora"));
    m_model->setColumns({});
    QCOMPARE(m_model->columnCount(), 4);
}

void TestRecordListModel::cellsAreReadOnly()
{
    m_list->loadPacket(quotePacket());
    const Qt::ItemFlags flags = m_model->flags(m_model->index(0, 0));
    QVERIFY(flags & Qt::ItemIsEnabled);
    QVERIFY(flags & Qt::ItemIsSelectable);
    QVERIFY(!(flags & Qt::ItemIsEditable));
    QVERIFY(!m_model->setData(m_model->index(0, 0), QStringLiteral("9999")));
}

void TestRecordListModel::failingGetTextGivesAnEmptyCell()
{
    m_list->fieldByName("CDFILIAL").setOnGetText([](const Field &field, bool) -> QString {
        if (field.asString() == u"0002") {
            throw std::runtime_error("sem descrição");
        }
        return QStringLiteral("ok");
    });
    m_list->loadPacket(quotePacket());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("sem descrição")));
    QCOMPARE(m_model->index(2, 0).data().toString(), QString());
    QCOMPARE(m_model->index(0, 0).data().toString(), QStringLiteral("ok"));
}

void TestRecordListModel::packetFieldsBecomeColumnsOfAnUndeclaredList()
{
    RecordList list(QStringLiteral("cdsParam"));
    RecordListModel model(&list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(model.columnCount(), 0);
    list.loadPacket(quotePacket());
    QCOMPARE(model.columnCount(), 5);
    QCOMPARE(model.rowCount(), 3);
    DataPacket narrow;
    narrow.fields = {{"CDPARAM", FieldType::Text, 2}};
    narrow.rows = {{QStringLiteral("01")}};
    list.loadPacket(narrow);
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("CDPARAM"));
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("01"));
}

QTEST_GUILESS_MAIN(TestRecordListModel)
#include "tst_recordlistmodel.moc"
