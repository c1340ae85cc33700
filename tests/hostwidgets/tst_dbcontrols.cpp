#include "Field.h"
#include "ListFixture.h"
#include "ScriptedDialogs.h"
#include "TDBEdit.h"
#include "TDBMemo.h"
#include "TDBText.h"
#include "TDataSource.h"

#include <QTest>

#include <memory>
#include <stdexcept>

namespace {
QString nameOf(const RecordList &list, int row)
{
    return list.valueAt(row, list.fieldByName(QStringLiteral("NAME")).index()).toString();
}

// The three data-bound controls over the NAME of the four-branch list.
struct BoundScreen {
    std::unique_ptr<RecordList> list = makeCodeNameList(fourBranches());
    TDataSource source;
    QWidget window;
    TDBEdit *edit = new TDBEdit(&window);
    TDBMemo *memo = new TDBMemo(&window);
    TDBText *label = new TDBText(&window);

    BoundScreen()
    {
        source.setDataSet(list.get());
        edit->setDataSource(&source);
        edit->setDataField(QStringLiteral("NAME"));
        memo->setDataSource(&source);
        memo->setDataField(QStringLiteral("NAME"));
        label->setDataSource(&source);
        label->setDataField(QStringLiteral("NAME"));
        memo->move(0, 40);
        label->move(0, 160);
        window.resize(300, 200);
        window.show();
    }
};
} // namespace

class TestDBControls final : public QObject {
    Q_OBJECT

private slots:
    void showTheCurrentRecord_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("first") << 0;
        QTest::newRow("third") << 2;
        QTest::newRow("last") << 3;
    }

    void showTheCurrentRecord()
    {
        QFETCH(int, row);
        BoundScreen screen;
        screen.list->moveTo(row);
        const QString expected = nameOf(*screen.list, row);
        QCOMPARE(screen.edit->text(), expected);
        QCOMPARE(screen.memo->toPlainText(), expected);
        QCOMPARE(screen.label->text(), expected);
    }

    void showNothingForAClosedOrEmptyList()
    {
        BoundScreen screen;
        screen.list->close();
        QCOMPARE(screen.edit->text(), QString());
        QCOMPARE(screen.memo->toPlainText(), QString());
        QCOMPARE(screen.label->text(), QString());

        screen.list->loadPacket(codeNamePacket({}));
        QCOMPARE(screen.label->text(), QString());

        screen.list->loadPacket(codeNamePacket(fourBranches()));
        QCOMPARE(screen.label->text(), QStringLiteral("Matriz"));
    }

    void labelShowsTheDisplayText()
    {
        BoundScreen screen;
        screen.list->fieldByName(QStringLiteral("NAME")).setOnGetText([](const Field &field, bool displayText) {
            return displayText ? field.asString().toUpper() : field.asString();
        });
        screen.list->moveTo(1);
        QCOMPARE(screen.label->text(), QStringLiteral("BARRA"));
    }

    void areReadOnlyUnlessTheListIsEditing()
    {
        BoundScreen screen;
        QVERIFY(screen.edit->isReadOnly());
        QVERIFY(screen.memo->isReadOnly());
        screen.list->edit();
        QVERIFY(!screen.edit->isReadOnly());
        QVERIFY(!screen.memo->isReadOnly());
        screen.list->cancel();
        QVERIFY(screen.edit->isReadOnly());
        QVERIFY(screen.memo->isReadOnly());
    }

    void typingInBrowseChangesNothing()
    {
        BoundScreen screen;
        screen.edit->setFocus();
        QTest::keyClicks(screen.edit, QStringLiteral("xyz"));
        QCOMPARE(screen.list->state(), RecordList::State::Browse);
        QCOMPARE(nameOf(*screen.list, 0), QStringLiteral("Matriz"));
        QCOMPARE(screen.edit->text(), QStringLiteral("Matriz"));
    }

    void aReadOnlyFieldStaysReadOnlyInEdit()
    {
        BoundScreen screen;
        screen.list->fieldByName(QStringLiteral("NAME")).setReadOnly(true);
        screen.list->edit();
        QVERIFY(screen.edit->isReadOnly());
        QVERIFY(screen.memo->isReadOnly());
    }

    void editWritesWhatIsTypedBack()
    {
        BoundScreen screen;
        screen.list->moveTo(1);
        screen.list->edit();
        screen.edit->setFocus();
        screen.edit->selectAll();
        QTest::keyClicks(screen.edit, QStringLiteral("Barra Nova"));

        QCOMPARE(screen.list->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Barra Nova"));
        QCOMPARE(screen.label->text(), QStringLiteral("Barra Nova"));
        QCOMPARE(screen.edit->text(), QStringLiteral("Barra Nova"));
        screen.list->post();
        QCOMPARE(nameOf(*screen.list, 1), QStringLiteral("Barra Nova"));
    }

    void memoWritesWhatIsTypedBack()
    {
        BoundScreen screen;
        screen.list->moveTo(2);
        screen.list->edit();
        screen.memo->setFocus();
        screen.memo->selectAll();
        QTest::keyClicks(screen.memo, QStringLiteral("Linha um"));
        QTest::keyClick(screen.memo, Qt::Key_Return);
        QTest::keyClicks(screen.memo, QStringLiteral("dois"));
        screen.list->post();
        QCOMPARE(nameOf(*screen.list, 2), QStringLiteral("Linha um\ndois"));
        QCOMPARE(screen.edit->text(), QStringLiteral("Linha um\ndois"));
    }

    void cancellingTheEditShowsTheStoredValueAgain()
    {
        BoundScreen screen;
        screen.list->edit();
        screen.edit->setFocus();
        screen.edit->selectAll();
        QTest::keyClicks(screen.edit, QStringLiteral("Outra"));
        screen.list->cancel();
        QCOMPARE(screen.edit->text(), QStringLiteral("Matriz"));
        QCOMPARE(screen.memo->toPlainText(), QStringLiteral("Matriz"));
    }

    void autoEditPutsTheListIntoEditOnTyping()
    {
        BoundScreen screen;
        screen.list->moveTo(3);
        screen.source.setAutoEdit(true);
        QVERIFY(!screen.memo->isReadOnly());
        screen.memo->setFocus();
        screen.memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(screen.memo, QStringLiteral("!"));
        QCOMPARE(screen.list->state(), RecordList::State::Edit);
        QCOMPARE(screen.list->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Beira Mar!"));
    }

    void autoEditOnAnEmptyListStartsANewRecord()
    {
        BoundScreen screen;
        screen.source.setAutoEdit(true);
        screen.list->loadPacket(codeNamePacket({}));
        screen.edit->setFocus();
        QTest::keyClicks(screen.edit, QStringLiteral("Primeira"));
        QCOMPARE(screen.list->state(), RecordList::State::Insert);
        QCOMPARE(screen.list->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Primeira"));
    }

    void aRefusedEditIsReportedAndUndone()
    {
        ScriptedDialogs dialogs;
        BoundScreen screen;
        screen.source.setAutoEdit(true);
        screen.list->beforeEdit = [](RecordList &) { throw std::runtime_error("Registro bloqueado."); };
        screen.edit->setFocus();
        QTest::keyClicks(screen.edit, QStringLiteral("x"));
        QCOMPARE(dialogs.lastText(), QStringLiteral("Registro bloqueado."));
        QCOMPARE(screen.list->state(), RecordList::State::Browse);
        QCOMPARE(screen.edit->text(), QStringLiteral("Matriz"));
    }

    void editTakesTheFieldsEditMask()
    {
        BoundScreen screen;
        screen.list->close();
        screen.list->fieldByName(QStringLiteral("CODE")).setEditMask(QStringLiteral(">NNNN;_"));
        screen.list->loadPacket(codeNamePacket(fourBranches()));
        screen.edit->setDataField(QStringLiteral("CODE"));
        QCOMPARE(screen.edit->inputMask(), QStringLiteral(">NNNN;_"));
        QCOMPARE(screen.edit->text(), QStringLiteral("0001"));
        screen.edit->setDataField(QStringLiteral("NAME"));
        QCOMPARE(screen.edit->inputMask(), QString());
        QCOMPARE(screen.edit->maxLength(), 30);
    }

    void followAnotherField()
    {
        BoundScreen screen;
        screen.label->setDataField(QStringLiteral("CODE"));
        QCOMPARE(screen.label->text(), QStringLiteral("0001"));
        screen.label->setDataField(QStringLiteral("NOSUCH"));
        QCOMPARE(screen.label->text(), QString());
    }
};

QTEST_MAIN(TestDBControls)
#include "tst_dbcontrols.moc"
