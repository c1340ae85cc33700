#include "Abort.h"
#include "ScriptedDialogs.h"
#include "SavedOptions.h"
#include "TButtonFlat.h"
#include "TfrmFiltroPadrao.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace {

// A filter dialog with two criteria, freed when it closes as the module's are.
class SampleFilter final : public TfrmFiltroPadrao {
public:
    SampleFilter()
    {
        lblCodTela->setText(QStringLiteral("TST00001"));
        auto *criteria = new QVBoxLayout(grbFiltroPadrao);
        first = new QLineEdit(grbFiltroPadrao);
        second = new QLineEdit(grbFiltroPadrao);
        criteria->addWidget(first);
        criteria->addWidget(second);
    }

    void FormClose(CloseAction &action) override
    {
        TfrmFiltroPadrao::FormClose(action);
        ++closes;
        action = keepOpen ? caNone : caFree;
    }

    void sbtConfirmaClick(QObject *sender) override
    {
        if (refuseConfirm) {
            throw Abort();
        }
        TfrmFiltroPadrao::sbtConfirmaClick(sender);
    }

    QLineEdit *first;
    QLineEdit *second;
    int closes = 0;
    bool keepOpen = false;
    bool refuseConfirm = false;
};

// Runs `step` once the modal loop is running; a dialog still open a few
// seconds later is closed with a result no test expects, so a broken test
// fails instead of hanging.
void whileShown(TfrmFiltroPadrao *dialog, const std::function<void()> &step)
{
    QTimer::singleShot(0, dialog, step);
    QTimer::singleShot(5000, dialog, [dialog] { dialog->QDialog::done(99); });
}

} // namespace

class TestFiltroPadrao final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void modalResult_data();
    void modalResult();
    void dialogIsFreedAfterItsShowingButTheResultIsReadable();
    void closeRefusedByFormCloseKeepsTheDialogOpen();
    void abandonedConfirmationKeepsTheDialogOpen();
    void enterMovesToTheNextControl();
    void showingPutsTheFocusInTheFirstCriterion();
    void saveThenLoadBringsTheOptionsBack();
    void cancelledLoadChangesNothing();
    void cancelledSaveStoresNothing();
    void loadWithNothingSavedSaysSo();

private:
    QTemporaryDir folder;
    ScriptedDialogs *dialogs = nullptr;
};

void TestFiltroPadrao::init()
{
    SavedOptions::setFileName(folder.filePath(QStringLiteral("opcoes-%1.ini")
                                                   .arg(QTest::currentTestFunction())));
    dialogs = new ScriptedDialogs;
}

void TestFiltroPadrao::cleanup()
{
    delete dialogs;
    SavedOptions::setFileName({});
}

void TestFiltroPadrao::modalResult_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("confirm button") << "confirm" << 1;
    QTest::newRow("F10") << "F10" << 1;
    QTest::newRow("Ctrl+Enter") << "Ctrl+Enter" << 1;
    QTest::newRow("cancel button") << "cancel" << 2;
    QTest::newRow("Esc") << "Esc" << 2;
    QTest::newRow("close box") << "close" << 2;
    QTest::newRow("Enter on the cancel button") << "Enter on cancel" << 2;
}

void TestFiltroPadrao::modalResult()
{
    QFETCH(QString, how);
    QFETCH(int, result);
    SampleFilter *dialog = CreateForm<SampleFilter>();
    whileShown(dialog, [dialog, how] {
        if (how == QLatin1String("confirm")) {
            QTest::mouseClick(dialog->sbtConfirma, Qt::LeftButton);
        } else if (how == QLatin1String("F10")) {
            QTest::keyClick(dialog->first, Qt::Key_F10);
        } else if (how == QLatin1String("Ctrl+Enter")) {
            QTest::keyClick(dialog->second, Qt::Key_Return, Qt::ControlModifier);
        } else if (how == QLatin1String("cancel")) {
            QTest::mouseClick(dialog->sbtCancel, Qt::LeftButton);
        } else if (how == QLatin1String("Esc")) {
            QTest::keyClick(dialog->first, Qt::Key_Escape);
        } else if (how == QLatin1String("Enter on cancel")) {
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            dialog->sbtCancel->setFocus();
            QTest::keyClick(dialog->sbtCancel, Qt::Key_Return);
        } else {
            dialog->close();
        }
    });
    QCOMPARE(dialog->ShowModal(), result);
    QCOMPARE(dialog->ModalResult(), result);
    QCOMPARE(dialog->closes, 1);
    delete dialog;
}

void TestFiltroPadrao::dialogIsFreedAfterItsShowingButTheResultIsReadable()
{
    QPointer<SampleFilter> dialog = CreateForm<SampleFilter>();
    whileShown(dialog, [dialog] { dialog->sbtCancel->click(); });
    dialog->ShowModal();
    QVERIFY(dialog);
    QCOMPARE(dialog->ModalResult(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
}

void TestFiltroPadrao::closeRefusedByFormCloseKeepsTheDialogOpen()
{
    SampleFilter *dialog = CreateForm<SampleFilter>();
    dialog->keepOpen = true;
    bool stillOpen = false;
    whileShown(dialog, [dialog, &stillOpen] {
        dialog->sbtCancel->click();
        stillOpen = dialog->isVisible() && dialog->ModalResult() == 0;
        dialog->keepOpen = false;
        dialog->sbtConfirma->click();
    });
    QCOMPARE(dialog->ShowModal(), 1);
    QVERIFY(stillOpen);
    QCOMPARE(dialog->closes, 2);
    delete dialog;
}

void TestFiltroPadrao::abandonedConfirmationKeepsTheDialogOpen()
{
    SampleFilter *dialog = CreateForm<SampleFilter>();
    dialog->refuseConfirm = true;
    bool stillOpen = false;
    whileShown(dialog, [dialog, &stillOpen] {
        QTest::keyClick(dialog->first, Qt::Key_F10);
        stillOpen = dialog->isVisible();
        QTest::keyClick(dialog->first, Qt::Key_Escape);
    });
    QCOMPARE(dialog->ShowModal(), 2);
    QVERIFY(stillOpen);
    QVERIFY(dialogs->shown().isEmpty());
    delete dialog;
}

void TestFiltroPadrao::enterMovesToTheNextControl()
{
    SampleFilter *dialog = CreateForm<SampleFilter>();
    QWidget *focusAfterEnter = nullptr;
    whileShown(dialog, [dialog, &focusAfterEnter] {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->first->setFocus();
        QTest::keyClick(dialog->first, Qt::Key_Return);
        focusAfterEnter = QApplication::focusWidget();
        dialog->sbtCancel->click();
    });
    QCOMPARE(dialog->ShowModal(), 2);
    QCOMPARE(focusAfterEnter, dialog->second);
    delete dialog;
}

void TestFiltroPadrao::showingPutsTheFocusInTheFirstCriterion()
{
    SampleFilter *dialog = CreateForm<SampleFilter>();
    QWidget *focusOnShow = nullptr;
    whileShown(dialog, [dialog, &focusOnShow] {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        focusOnShow = QApplication::focusWidget();
        dialog->sbtCancel->click();
    });
    dialog->ShowModal();
    QCOMPARE(focusOnShow, dialog->first);
    delete dialog;
}

void TestFiltroPadrao::saveThenLoadBringsTheOptionsBack()
{
    SampleFilter saving;
    saving.options().SetValues(QStringLiteral("stCliente"), QStringLiteral("'0001','0002'"));
    saving.options().SetValues(QStringLiteral("stVendedor"), QStringLiteral("'007'"));
    dialogs->answerName(QStringLiteral("Clientes VIP"));
    QTest::mouseClick(saving.btfSaveOpc, Qt::LeftButton);

    SampleFilter loading;
    loading.options().SetValues(QStringLiteral("stProduto"), QStringLiteral("1.01"));
    dialogs->answerName(QStringLiteral("Clientes VIP"));
    QTest::mouseClick(loading.btfLoadOpc, Qt::LeftButton);
    QCOMPARE(loading.options().lines(), saving.options().lines());
    QCOMPARE(loading.options().Values(QStringLiteral("stProduto")), QString());
    QVERIFY(dialogs->allAnswersUsed());
    QVERIFY(dialogs->shown().isEmpty());
}

void TestFiltroPadrao::cancelledLoadChangesNothing()
{
    SavedOptions::save(QStringLiteral("TST00001"), QStringLiteral("outro"), {QStringLiteral("stCliente='9'")});
    SampleFilter dialog;
    dialog.options().SetValues(QStringLiteral("stCliente"), QStringLiteral("'0001'"));
    dialogs->answerName(QString());
    QTest::mouseClick(dialog.btfLoadOpc, Qt::LeftButton);
    QCOMPARE(dialog.options().lines(), QStringList{QStringLiteral("stCliente='0001'")});
}

void TestFiltroPadrao::cancelledSaveStoresNothing()
{
    SampleFilter dialog;
    dialog.options().SetValues(QStringLiteral("stCliente"), QStringLiteral("'0001'"));
    dialogs->answerName(QString());
    QTest::mouseClick(dialog.btfSaveOpc, Qt::LeftButton);
    QVERIFY(SavedOptions::names(QStringLiteral("TST00001")).isEmpty());
}

void TestFiltroPadrao::loadWithNothingSavedSaysSo()
{
    SampleFilter dialog;
    dialog.options().SetValues(QStringLiteral("stCliente"), QStringLiteral("'0001'"));
    QTest::mouseClick(dialog.btfLoadOpc, Qt::LeftButton);
    QCOMPARE(dialogs->lastText(), QStringLiteral("Não há opções salvas para este filtro."));
    QCOMPARE(dialog.options().count(), 1);
}

QTEST_MAIN(TestFiltroPadrao)
#include "tst_filtropadrao.moc"
