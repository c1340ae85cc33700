#include "TButtonFlat.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

class TestButtonFlat final : public QObject {
    Q_OBJECT
private slots:
    void hintIsTheTooltip();
    void tooltipNamesTheShortcut();
    void isFlatAndTakesTheFocus();
    void mouseClickLeavesTheFocusWhereItWas();
    void keysClickIt_data();
    void keysClickIt();
    void disabledButtonIgnoresClicksFromCode();
    void twoStateGlyphMakesAToggle();
    void enabledChangeIsAnnouncedAlsoThroughTheParent();
    void disabledButtonLooksDisabled();
};

void TestButtonFlat::hintIsTheTooltip()
{
    TButtonFlat button;
    button.SetHint(QStringLiteral("Filtrar"));
    QCOMPARE(button.toolTip(), QStringLiteral("Filtrar"));
    QCOMPARE(button.Hint(), QStringLiteral("Filtrar"));
}

void TestButtonFlat::tooltipNamesTheShortcut()
{
    TButtonFlat button;
    button.SetShortcutHint(QKeySequence(Qt::CTRL | Qt::Key_L));
    button.SetHint(QStringLiteral("Filtrar"));
    QCOMPARE(button.toolTip(), QStringLiteral("Filtrar (Ctrl+L)"));
    QCOMPARE(button.Hint(), QStringLiteral("Filtrar"));
}

void TestButtonFlat::isFlatAndTakesTheFocus()
{
    TButtonFlat button;
    QVERIFY(button.autoRaise());
    QVERIFY(button.focusPolicy() & Qt::TabFocus);
}

void TestButtonFlat::mouseClickLeavesTheFocusWhereItWas()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new QLineEdit(&window);
    auto *button = new TButtonFlat(&window);
    button->SetHint(QStringLiteral("Cancelar"));
    layout->addWidget(edit);
    layout->addWidget(button);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicked.size(), 1);
    QVERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(button->hasFocus());
}

void TestButtonFlat::keysClickIt_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("clicks");
    QTest::newRow("enter") << int(Qt::Key_Return) << 1;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << 1;
    QTest::newRow("space") << int(Qt::Key_Space) << 1;
    QTest::newRow("letter") << int(Qt::Key_A) << 0;
}

void TestButtonFlat::keysClickIt()
{
    QFETCH(int, key);
    QFETCH(int, clicks);
    TButtonFlat button;
    button.show();
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::keyClick(&button, Qt::Key(key));
    QCOMPARE(clicked.size(), clicks);
}

void TestButtonFlat::disabledButtonIgnoresClicksFromCode()
{
    TButtonFlat button;
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    button.setEnabled(false);
    button.click();
    QCOMPARE(clicked.size(), 0);
}

void TestButtonFlat::twoStateGlyphMakesAToggle()
{
    TButtonFlat button;
    QPixmap up(16, 16);
    up.fill(Qt::red);
    QPixmap down(16, 16);
    down.fill(Qt::green);
    button.SetTwoStateGlyph(up, down);
    QVERIFY(button.isCheckable());
    button.click();
    QVERIFY(button.isChecked());
    const QImage shown = button.icon().pixmap(16, QIcon::Normal, QIcon::On).toImage();
    QCOMPARE(shown.pixelColor(8, 8), QColor(Qt::green));
}

void TestButtonFlat::enabledChangeIsAnnouncedAlsoThroughTheParent()
{
    QWidget bar;
    auto *button = new TButtonFlat(&bar);
    QSignalSpy changed(button, &TButtonFlat::enabledChanged);
    bar.setEnabled(false);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), false);
    bar.setEnabled(true);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed.at(1).at(0).toBool(), true);
}

void TestButtonFlat::disabledButtonLooksDisabled()
{
    TButtonFlat button;
    button.SetGlyph(button.style()->standardIcon(QStyle::SP_FileDialogListView));
    button.show();
    // The strongest difference any pixel makes against the button's face.
    const auto ink = [&button] {
        const QImage shot = button.grab().toImage();
        int strongest = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                strongest = std::max(strongest, std::abs(qGray(shot.pixel(x, y)) - qGray(shot.pixel(0, 0))));
            }
        }
        return strongest;
    };
    const int enabledInk = ink();
    button.setEnabled(false);
    QVERIFY2(ink() * 2 < enabledInk, qPrintable(QStringLiteral("%1 against %2").arg(ink()).arg(enabledInk)));
}

QTEST_MAIN(TestButtonFlat)
#include "tst_buttonflat.moc"
