#include "FindInList.h"
#include "ListFixture.h"
#include "QtHostDialogs.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
// Runs `act` on the modal window once it is shown (the code under test is
// then blocked in its exec()). Gives up after about five seconds.
void whenModalShown(std::function<void(QWidget *modal)> act, int triesLeft = 500)
{
    QTimer::singleShot(10, [act, triesLeft] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            if (triesLeft > 0) {
                whenModalShown(act, triesLeft - 1);
            }
            return;
        }
        act(modal);
    });
}

// Checks every signal of the lookup grid's model (the ticks of a multiple
// choice) from now until the window goes.
void testGridModel(QWidget *modal)
{
    QAbstractItemModel *shown = modal->findChild<QTableView *>(QStringLiteral("pickGrid"))->model();
    new QAbstractItemModelTester(shown, QAbstractItemModelTester::FailureReportingMode::Fatal, shown);
}

QWidget *focusIn(QWidget *modal)
{
    return modal->focusWidget() ? modal->focusWidget() : modal;
}

// Presses the keys in the window's focused control, one after the other.
void press(QWidget *modal, const QList<int> &keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    for (int key : keys) {
        QTest::keyClick(focusIn(modal), Qt::Key(key), modifiers);
    }
}
} // namespace

class TestQtHostDialogs final : public QObject {
    Q_OBJECT

private slots:
    void pickOneEnterPicksTheRecordFoundBySearch()
    {
        auto list = makeCodeNameList(fourBranches());
        QString title;
        bool startedInSearch = false;
        whenModalShown([&](QWidget *modal) {
            title = modal->windowTitle();
            startedInSearch = focusIn(modal)->objectName() == QStringLiteral("searchEdit");
            QTest::keyClicks(focusIn(modal), QStringLiteral("0003"));
            press(modal, {Qt::Key_Return});
        });

        QVERIFY(QtHostDialogs::instance().pickOne(*list, QStringLiteral("CODE"), QStringLiteral("Filial")));

        QCOMPARE(title, QStringLiteral("Filial"));
        QVERIFY(startedInSearch);
        QCOMPARE(list->recNo(), 2);
    }

    void pickOneArrowsMoveFromTheSearchLine()
    {
        auto list = makeCodeNameList(fourBranches());
        list->moveTo(1);
        whenModalShown([](QWidget *modal) { press(modal, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Enter}); });
        QVERIFY(QtHostDialogs::instance().pickOne(*list, QStringLiteral("CODE"), QStringLiteral("Filial")));
        QCOMPARE(list->recNo(), 2);
    }

    void pickOneSearchFallsBackToAnyColumn()
    {
        auto list = makeCodeNameList(fourBranches());
        whenModalShown([](QWidget *modal) {
            QTest::keyClicks(focusIn(modal), QStringLiteral("cent"));
            press(modal, {Qt::Key_Return});
        });
        QVERIFY(QtHostDialogs::instance().pickOne(*list, QStringLiteral("CODE"), QStringLiteral("Filial")));
        QCOMPARE(list->recNo(), 2);
    }

    void pickOneEscCancelsAndLeavesTheList()
    {
        auto list = makeCodeNameList(fourBranches());
        list->moveTo(3);
        whenModalShown([](QWidget *modal) { press(modal, {Qt::Key_Down, Qt::Key_Escape}); });
        QVERIFY(!QtHostDialogs::instance().pickOne(*list, QStringLiteral("CODE"), QStringLiteral("Filial")));
        QCOMPARE(list->recNo(), 3);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void pickOneOverAnEmptyListPicksNothing()
    {
        auto list = makeCodeNameList({});
        whenModalShown([](QWidget *modal) { press(modal, {Qt::Key_Return}); });
        QVERIFY(!QtHostDialogs::instance().pickOne(*list, QStringLiteral("CODE"), QStringLiteral("Filial")));
    }

    void pickManyShowsTheChoiceAndSpaceChangesIt_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QStringList>("after");
        // The current record starts on the first ticked one (else the first).
        QTest::newRow("untick the first ticked") << QStringList{QStringLiteral("0002"), QStringLiteral("0004")}
                                                 << QList<int>{Qt::Key_Space}
                                                 << QStringList{QStringLiteral("0004")};
        QTest::newRow("tick one more") << QStringList{QStringLiteral("0001")}
                                       << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Space}
                                       << QStringList{QStringLiteral("0001"), QStringLiteral("0003")};
        QTest::newRow("just confirm") << QStringList{QStringLiteral("0003")} << QList<int>{}
                                      << QStringList{QStringLiteral("0003")};
    }

    void pickManyShowsTheChoiceAndSpaceChangesIt()
    {
        QFETCH(QStringList, before);
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, after);
        auto list = makeCodeNameList(fourBranches());
        whenModalShown([keys](QWidget *modal) {
            testGridModel(modal);
            press(modal, keys + QList<int>{Qt::Key_Return});
        });
        QStringList chosen = before;
        QVERIFY(QtHostDialogs::instance().pickMany(*list, QStringLiteral("CODE"), QStringLiteral("Vendedor"), chosen));
        QCOMPARE(chosen, after);
        QCOMPARE(list->recNo(), 0);
    }

    void pickManyCtrlTTicksAllThenNone()
    {
        auto list = makeCodeNameList(fourBranches());
        whenModalShown([](QWidget *modal) {
            testGridModel(modal);
            press(modal, {Qt::Key_T}, Qt::ControlModifier);
            press(modal, {Qt::Key_Return});
        });
        QStringList chosen{QStringLiteral("0002")};
        QVERIFY(QtHostDialogs::instance().pickMany(*list, QStringLiteral("CODE"), QStringLiteral("Vendedor"), chosen));
        QCOMPARE(chosen.size(), 4);

        whenModalShown([](QWidget *modal) {
            testGridModel(modal);
            press(modal, {Qt::Key_T}, Qt::ControlModifier);
            press(modal, {Qt::Key_Return});
        });
        QVERIFY(QtHostDialogs::instance().pickMany(*list, QStringLiteral("CODE"), QStringLiteral("Vendedor"), chosen));
        QVERIFY(chosen.isEmpty());
    }

    void pickManyEscKeepsTheKeys()
    {
        auto list = makeCodeNameList(fourBranches());
        whenModalShown([](QWidget *modal) {
            testGridModel(modal);
            press(modal, {Qt::Key_Space, Qt::Key_Escape});
        });
        QStringList chosen{QStringLiteral("0001")};
        QVERIFY(!QtHostDialogs::instance().pickMany(*list, QStringLiteral("CODE"), QStringLiteral("Vendedor"), chosen));
        QCOMPARE(chosen, QStringList{QStringLiteral("0001")});
    }

    // Space ticks wherever the focus is; Ctrl+A, even from the grid, selects
    // the search text so the next search replaces it.
    void pickManySpaceTicksAndCtrlASelectsTheSearch()
    {
        auto list = makeCodeNameList(fourBranches());
        QString selected;
        whenModalShown([&](QWidget *modal) {
            testGridModel(modal);
            QTest::keyClicks(focusIn(modal), QStringLiteral("beira"));
            press(modal, {Qt::Key_Space, Qt::Key_Tab});
            press(modal, {Qt::Key_A}, Qt::ControlModifier);
            if (auto *search = qobject_cast<QLineEdit *>(focusIn(modal))) {
                selected = search->selectedText();
            }
            QTest::keyClicks(focusIn(modal), QStringLiteral("cen"));
            press(modal, {Qt::Key_Space, Qt::Key_Return});
        });
        QStringList chosen;
        QVERIFY(QtHostDialogs::instance().pickMany(*list, QStringLiteral("CODE"), QStringLiteral("Vendedor"), chosen));
        QCOMPARE(selected, QStringLiteral("beira"));
        QCOMPARE(chosen, (QStringList{QStringLiteral("0003"), QStringLiteral("0004")}));
    }

    void pickManyShowsCodesAndTitlesWhole()
    {
        auto list = makeCodeNameList(fourBranches());
        int width = 0;
        int codeNeeds = 0;
        int titleNeeds = 0;
        whenModalShown([&](QWidget *modal) {
            auto *grid = modal->findChild<QTableView *>(QStringLiteral("pickGrid"));
            width = grid->columnWidth(0);
            // What the view itself asks for its ticks and codes, and its title.
            codeNeeds = static_cast<QAbstractItemView *>(grid)->sizeHintForColumn(0);
            titleNeeds = grid->horizontalHeader()->sectionSizeHint(0);
            press(modal, {Qt::Key_Escape});
        });
        QStringList chosen;
        QtHostDialogs::instance().pickMany(*list, QStringLiteral("CODE"), QStringLiteral("Vendedor"), chosen);
        QVERIFY2(width >= codeNeeds && width >= titleNeeds, qPrintable(QStringLiteral("%1 %2 %3").arg(width).arg(codeNeeds).arg(titleNeeds)));
    }

    void pickOneWhatIsTypedInTheGridSearches()
    {
        auto list = makeCodeNameList(fourBranches());
        QString focusedAfterTyping;
        whenModalShown([&](QWidget *modal) {
            press(modal, {Qt::Key_Tab});
            QTest::keyClicks(focusIn(modal), QStringLiteral("cent"));
            focusedAfterTyping = focusIn(modal)->objectName();
            press(modal, {Qt::Key_Return});
        });
        QVERIFY(QtHostDialogs::instance().pickOne(*list, QStringLiteral("CODE"), QStringLiteral("Filial")));
        QCOMPARE(focusedAfterTyping, QStringLiteral("searchEdit"));
        QCOMPARE(list->recNo(), 2);
    }

    void askAnswersWithTheButtonIndex_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::newRow("Enter takes the first") << int(Qt::Key_Return) << 0;
        QTest::newRow("Esc takes the last") << int(Qt::Key_Escape) << 2;
    }

    void askAnswersWithTheButtonIndex()
    {
        QFETCH(int, key);
        QFETCH(int, answer);
        QString title;
        QStringList captions;
        whenModalShown([&, key](QWidget *modal) {
            title = modal->windowTitle();
            for (QAbstractButton *button : static_cast<QMessageBox *>(modal)->buttons()) {
                captions << button->text();
            }
            press(modal, {key});
        });
        const int chosen = QtHostDialogs::instance().ask(HostDialogs::Icon::Question, QString(),
                                                         QStringLiteral("Escollha uma operação"),
                                                         {QStringLiteral("Cancelar"), QStringLiteral("Adiar"),
                                                          QStringLiteral("Voltar")});
        QCOMPARE(chosen, answer);
        QCOMPARE(title, QStringLiteral("Confirmação"));
        QCOMPARE(captions.size(), 3);
        QVERIFY(captions.contains(QStringLiteral("Adiar")));
    }

    void showMessageClosesWithEnter()
    {
        QString text;
        QString title;
        whenModalShown([&](QWidget *modal) {
            text = static_cast<QMessageBox *>(modal)->text();
            title = modal->windowTitle();
            press(modal, {Qt::Key_Return});
        });
        QtHostDialogs::instance().showMessage(HostDialogs::Icon::Warning, QString(), QStringLiteral("Filial não cadastrada."));
        QCOMPARE(text, QStringLiteral("Filial não cadastrada."));
        QCOMPARE(title, QStringLiteral("Atenção"));
    }

    void findMovesToTheFirstMatch()
    {
        auto list = makeCodeNameList(fourBranches());
        whenModalShown([](QWidget *modal) {
            auto *fields = modal->findChild<QComboBox *>(QStringLiteral("findField"));
            fields->setCurrentIndex(fields->findText(QStringLiteral("Nome")));
            QTest::keyClicks(focusIn(modal), QStringLiteral("CENTRO"));
            press(modal, {Qt::Key_Return});
        });
        QVERIFY(QtHostDialogs::instance().find(*list));
        QCOMPARE(list->recNo(), 2);
    }

    void findOffersTheFieldAndTextLastSearched()
    {
        auto list = makeCodeNameList(fourBranches(), QStringLiteral("cdsLembrado"));
        FindInList::From(*list, {QStringLiteral("NAME"), QStringLiteral("Centro")}, 0);
        QString field;
        QString text;
        whenModalShown([&field, &text](QWidget *modal) {
            field = modal->findChild<QComboBox *>(QStringLiteral("findField"))->currentText();
            text = modal->findChild<QLineEdit *>(QStringLiteral("findText"))->selectedText();
            press(modal, {Qt::Key_Escape});
        });
        QVERIFY(!QtHostDialogs::instance().find(*list));
        QCOMPARE(field, QStringLiteral("Nome"));
        QCOMPARE(text, QStringLiteral("Centro"));
    }

    void findWithoutMatchSaysSo()
    {
        auto list = makeCodeNameList(fourBranches());
        list->moveTo(1);
        QString told;
        whenModalShown([&told](QWidget *modal) {
            QTest::keyClicks(focusIn(modal), QStringLiteral("9999"));
            whenModalShown([&told](QWidget *message) {
                told = static_cast<QMessageBox *>(message)->text();
                press(message, {Qt::Key_Return});
            });
            press(modal, {Qt::Key_Return});
        });
        QVERIFY(!QtHostDialogs::instance().find(*list));
        QCOMPARE(told, QStringLiteral("Registro não encontrado."));
        QCOMPARE(list->recNo(), 1);
    }

    void chooseNameTakesATypedName_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("name");
        QTest::newRow("Enter") << true << QStringLiteral("Semana");
        QTest::newRow("Esc") << false << QString();
    }

    void chooseNameTakesATypedName()
    {
        QFETCH(bool, confirm);
        QFETCH(QString, name);
        whenModalShown([confirm](QWidget *modal) {
            QTest::keyClicks(focusIn(modal), QStringLiteral("Semana"));
            press(modal, {confirm ? Qt::Key_Return : Qt::Key_Escape});
        });
        QCOMPARE(QtHostDialogs::instance().chooseName(QStringLiteral("Salvar opções"),
                                                      {QStringLiteral("Mensal"), QStringLiteral("Anual")}, true),
                 name);
    }

    void chooseNameOffersTheSavedNames()
    {
        QStringList offered;
        whenModalShown([&offered](QWidget *modal) {
            auto *names = modal->findChild<QComboBox *>(QStringLiteral("nameCombo"));
            for (int index = 0; index < names->count(); ++index) {
                offered << names->itemText(index);
            }
            press(modal, {Qt::Key_Down, Qt::Key_Return});
        });
        const QString chosen = QtHostDialogs::instance().chooseName(QStringLiteral("Carregar opções"),
                                                                    {QStringLiteral("Mensal"), QStringLiteral("Anual")},
                                                                    false);
        QCOMPARE(offered, (QStringList{QStringLiteral("Mensal"), QStringLiteral("Anual")}));
        QCOMPARE(chosen, QStringLiteral("Anual"));
    }

    void askPasswordEchoesNothingAndAnswersByKeyboard_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("answer");
        QTest::newRow("Enter confirms") << "s3nh@ 1" << QList<int>{Qt::Key_Return} << "s3nh@ 1";
        QTest::newRow("Esc cancels") << "s3nh@" << QList<int>{Qt::Key_Escape} << "";
        QTest::newRow("Enter waits for a password") << "" << QList<int>{Qt::Key_Enter, Qt::Key_Escape} << "";
    }

    void askPasswordEchoesNothingAndAnswersByKeyboard()
    {
        QFETCH(QString, typed);
        QFETCH(QList<int>, keys);
        QStringList seen;
        whenModalShown([&, typed, keys](QWidget *modal) {
            seen << modal->windowTitle() << modal->findChild<QLabel *>()->text();
            for (QAbstractButton *button : modal->findChildren<QAbstractButton *>()) {
                seen << button->text();
            }
            auto *edit = qobject_cast<QLineEdit *>(focusIn(modal));
            QTest::keyClicks(edit, typed);
            seen << (edit->echoMode() == QLineEdit::Password ? "sem eco" : "com eco");
            for (int key : keys) {
                seen << (modal->isVisible() ? "aberta" : "fechada");
                press(modal, {key});
            }
        });
        QTEST(QtHostDialogs::instance().askPassword(QStringLiteral("Servidor 10.0.0.5:7400"), QStringLiteral("Senha do operador MARIA:")),
              "answer");
        QCOMPARE(seen.mid(0, 6), (QStringList{"Servidor 10.0.0.5:7400", "Senha do operador MARIA:", "OK", "Cancelar", "sem eco", "aberta"}));
        QVERIFY(!seen.contains("fechada"));
    }
};

QTEST_MAIN(TestQtHostDialogs)
#include "tst_qthostdialogs.moc"
