// The toolkit's own texts and formats in Brazilian Portuguese once the host
// has installed its language.
#include "HostLocale.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <memory>

class tst_HostLocale final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void contextMenuOfAnEditIsPortuguese();
    void standardButtonsArePortuguese();
    void numbersAndMonthsAreBrazilian();
};

void tst_HostLocale::initTestCase()
{
    QVERIFY2(HostLocale::Install(), "Qt's Portuguese translation (qt6-translations-l10n) is not installed");
}

void tst_HostLocale::contextMenuOfAnEditIsPortuguese()
{
    QLineEdit edit(QStringLiteral("texto"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction *item : menu->actions()) {
        if (!item->isSeparator()) {
            texts << item->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        }
    }
    for (const QString expected : {QStringLiteral("Desfazer"), QStringLiteral("Copiar"), QStringLiteral("Colar"),
                                   QStringLiteral("Selecionar tudo")}) {
        QVERIFY2(texts.contains(expected), qPrintable(texts.join(QLatin1String(", "))));
    }
}

void tst_HostLocale::standardButtonsArePortuguese()
{
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Cancelar"));
}

void tst_HostLocale::numbersAndMonthsAreBrazilian()
{
    QCOMPARE(QLocale().toString(1234567.89, 'f', 2), QStringLiteral("1.234.567,89"));
    QCOMPARE(QLocale().toString(QDate(2026, 12, 4), QStringLiteral("MMMM 'de' yyyy")),
             QStringLiteral("dezembro de 2026"));
}

QTEST_MAIN(tst_HostLocale)
#include "tst_hostlocale.moc"
