// The history of a quote and the export of the list, from the screen's
// "Operação" menu by keyboard alone, against the real server.
#include "CancelamentoFixture.h"

#include "HistoricoDialog.h"
#include "ModalAnswers.h"
#include "RecordList.h"
#include "ScreenParts.h"
#include "Showavi.h"
#include "TDBGrid.h"
#include "TfrmCancelamento.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

class tst_CancelamentoHistorico final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_fixture.start(&error), qPrintable(error));
    }
    void init()
    {
        m_screen = m_fixture.openAndList();
        QVERIFY(m_screen);
        m_screen->dbgPadrao->setFocus();
    }
    void cleanup()
    {
        m_fixture.closeScreen();
        QVERIFY(m_fixture.dialogs.allAnswersUsed());
        m_fixture.dialogs.clear();
        QCOMPARE(Showavi::Depth(), 0);
    }

    void commandsOpenWithAListNotBeingEdited()
    {
        RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
        QAction *mnuHistorico = part<QAction>(m_screen, "mnuHistorico");
        QAction *mnuExportar = part<QAction>(m_screen, "mnuExportar");
        QVERIFY(quotes->recordCount() > 0);
        QVERIFY(mnuHistorico->isEnabled());
        QVERIFY(mnuExportar->isEnabled());
        quotes->edit();
        QVERIFY(!mnuHistorico->isEnabled());
        QVERIFY(!mnuExportar->isEnabled());
        quotes->cancel();
        QVERIFY(mnuHistorico->isEnabled());
        QVERIFY(mnuExportar->isEnabled());
    }

    void aQuoteNeverChangedShowsItsCreation()
    {
        ModalAnswers answers;
        answers.then([&](QWidget &dialog) {
            QVERIFY(qobject_cast<HistoricoDialog *>(&dialog));
            auto *grid = dialog.findChild<TDBGrid *>(QStringLiteral("dbgHistorico"));
            QCOMPARE(grid->model()->rowCount(), 1);
            QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral("Inclusão"));
            const RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
            QCOMPARE(grid->model()->index(0, 3).data().toString(),
                     quotes->fieldByName(QStringLiteral("IDSITUORCEVE")).displayText());
            QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblAlteracoes"))->text(), QStringLiteral("Sem alterações"));
            QVERIFY(dialog.findChild<QPlainTextEdit *>(QStringLiteral("memJustificativa"))->toPlainText().isEmpty());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        QTest::keyClick(m_screen->dbgPadrao, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(answers.allUsed());
        QTRY_VERIFY(m_fixture.serverLog().contains(QStringLiteral(" GetHistorico ")));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void theListIsExportedToTheFileChosen()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lista.csv"));
        exportByKeyboard(path);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.at(0), QStringLiteral("Nr. Orçamento;Seq.;Cliente;Situação;Tipo de Serviço;Tipo de Evento;"
                                             "Dt. Evento;Dt. Validade;Dt. Origem"));
        // Every listed quote, then the counts (their contents are the export's own tests).
        const int quotes = part<RecordList>(m_screen, "cdsOrcamento")->recordCount();
        QCOMPARE(lines.at(quotes + 2), QStringLiteral("Situação;Quantidade"));
        QVERIFY(m_fixture.dialogs.lastText().startsWith(QStringLiteral("%1 orçamento(s) exportado(s)").arg(quotes)));
        QVERIFY(lines.indexOf(QStringLiteral("Motivo;Descrição do motivo;Quantidade")) > quotes);
        // The reasons' names come in one call, however long the list.
        QTRY_COMPARE(m_fixture.serverLog().count(QStringLiteral(" GetMotivo ")), m_reasonCallsBefore + 1);
    }

    void aNameWithoutExtensionTakesTheTypeOfferedFirst()
    {
        QTemporaryDir dir;
        exportByKeyboard(dir.filePath(QStringLiteral("lista")));
        QFile file(dir.filePath(QStringLiteral("lista.xlsx")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        // A workbook is a zip archive; its contents are the export's own tests.
        QVERIFY(file.read(4) == QByteArray("PK\x03\x04"));
        QVERIFY(m_fixture.dialogs.lastText().endsWith(QDir::toNativeSeparators(file.fileName()) + QLatin1Char('.')));
    }

private:
    // Ctrl+Shift+E, then the file's name typed into the dialog and Enter.
    void exportByKeyboard(const QString &path)
    {
        m_reasonCallsBefore = m_fixture.serverLog().count(QStringLiteral(" GetMotivo "));
        ModalAnswers answers;
        answers.then([&](QWidget &dialog) {
            auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->selectAll();
            QTest::keyClicks(name, path);
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::keyClick(m_screen->dbgPadrao, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(answers.allUsed());
    }

    CancelamentoFixture m_fixture;
    TfrmCancelamento *m_screen = nullptr;
    qsizetype m_reasonCallsBefore = 0;
};

QTEST_MAIN(tst_CancelamentoHistorico)
#include "tst_cancelamento_historico.moc"
