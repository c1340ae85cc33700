#include "TDateEditPlus.h"

#include "Consiste.h"
#include "DayCount.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>
#include <stdexcept>

namespace {
const QString displayFormat = QStringLiteral("dd/MM/yyyy");

// Two-digit years are read in the window the operators are used to.
int fullYear(int year, int digits)
{
    if (digits != 2) {
        return year;
    }
    return year < 50 ? 2000 + year : 1900 + year;
}
} // namespace

TDateEditPlus::TDateEditPlus(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(10);
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9/]{0,10}")), this));
    setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    connect(this, &QLineEdit::textChanged, this, &TDateEditPlus::textWasChanged);
    connect(this, &QLineEdit::editingFinished, this, &TDateEditPlus::normalizeText);
}

QDate TDateEditPlus::parseDate(const QString &text)
{
    static const QRegularExpression slashed(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})$"));
    static const QRegularExpression packed(QStringLiteral("^(\\d{2})(\\d{2})(\\d{2}|\\d{4})$"));
    const QString trimmed = text.trimmed();
    QRegularExpressionMatch match = slashed.match(trimmed);
    if (!match.hasMatch()) {
        match = packed.match(trimmed);
    }
    if (!match.hasMatch()) {
        return {};
    }
    const QString year = match.captured(3);
    return QDate(fullYear(year.toInt(), int(year.size())), match.captured(2).toInt(), match.captured(1).toInt());
}

double TDateEditPlus::GetDate() const
{
    if (Consiste::EmptyString(text())) {
        return 0;
    }
    const QDate date = parseDate(text());
    if (!date.isValid()) {
        throw std::runtime_error(
            QStringLiteral("\"%1\" não é uma data válida.").arg(text().trimmed()).toStdString());
    }
    const double day = DayCount::fromDate(date);
    return m_saveTime ? day + m_timeOfDay : day;
}

void TDateEditPlus::SetDate(double dayCount)
{
    const QDate date = DayCount::toDate(dayCount);
    m_timeOfDay = date.isValid() ? std::abs(dayCount - std::trunc(dayCount)) : 0;
    setText(date.isValid() ? date.toString(displayFormat) : QString());
}

void TDateEditPlus::CheckValidDate()
{
    if (Consiste::EmptyString(text()) || parseDate(text()).isValid()) {
        return;
    }
    setFocus(Qt::OtherFocusReason);
    selectAll();
    Consiste::MensErro(QStringLiteral("Data inválida."), true);
}

void TDateEditPlus::SetValidColor(const QColor &colour)
{
    m_validColor = colour;
    textWasChanged();
}

void TDateEditPlus::SetNomeSemana(const QStringList &names)
{
    if (!names.isEmpty() && names.size() != 7) {
        throw std::invalid_argument("date edit: the weekday names must be seven, Sunday first");
    }
    m_weekdayNames = names;
    textWasChanged();
}

QString TDateEditPlus::weekdayName() const
{
    const QDate date = parseDate(text());
    if (!date.isValid() || m_weekdayNames.isEmpty()) {
        return {};
    }
    // QDate counts Monday as 1 and Sunday as 7; the names start on Sunday.
    return m_weekdayNames.at(date.dayOfWeek() % 7);
}

void TDateEditPlus::textWasChanged()
{
    const bool valid = parseDate(text()).isValid();
    QPalette colours = palette();
    const QColor normal = QApplication::palette(this).color(QPalette::Text);
    colours.setColor(QPalette::Text, valid && m_validColor.isValid() ? m_validColor : normal);
    setPalette(colours);
    setToolTip(weekdayName());
    update();
}

void TDateEditPlus::normalizeText()
{
    const QDate date = parseDate(text());
    if (date.isValid() && text() != date.toString(displayFormat)) {
        setText(date.toString(displayFormat));
    }
}

void TDateEditPlus::moveDays(int days)
{
    const QDate date = parseDate(text());
    if (!date.isValid() && !Consiste::EmptyString(text())) {
        return; // a half-typed date is left for the operator to finish
    }
    setText((date.isValid() ? date : QDate::currentDate()).addDays(days).toString(displayFormat));
}

void TDateEditPlus::openCalendar()
{
    auto *calendar = new QCalendarWidget(this);
    calendar->setWindowFlags(Qt::Popup);
    calendar->setAttribute(Qt::WA_DeleteOnClose);
    const QDate date = parseDate(text());
    calendar->setSelectedDate(date.isValid() ? date : QDate::currentDate());
    connect(calendar, &QCalendarWidget::activated, this, [this, calendar](const QDate &picked) {
        setText(picked.toString(displayFormat));
        calendar->close();
        setFocus(Qt::PopupFocusReason);
    });
    calendar->move(mapToGlobal(QPoint(0, height())));
    calendar->show();
    calendar->setFocus(Qt::PopupFocusReason);
}

void TDateEditPlus::keyPressEvent(QKeyEvent *event)
{
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->text() == QLatin1String("+") || event->text() == QLatin1String("-")) {
        moveDays(event->text() == QLatin1String("+") ? 1 : -1);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier) {
        openCalendar();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDateEditPlus::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    const QString weekday = weekdayName();
    if (weekday.isEmpty()) {
        return;
    }
    QStyleOptionFrame frame;
    initStyleOption(&frame);
    const QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &frame, this).adjusted(2, 0, -3, 0);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    const int textWidth = fontMetrics().horizontalAdvance(text());
    const int weekdayWidth = QFontMetrics(small).horizontalAdvance(weekday);
    // The weekday is only a hint: it gives way when the edit is too narrow.
    if (textWidth + weekdayWidth + 6 > area.width()) {
        return;
    }
    QPainter painter(this);
    painter.setFont(small);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, weekday);
}
