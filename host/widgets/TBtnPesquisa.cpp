#include "TBtnPesquisa.h"

#include "HostDialogs.h"
#include "HostGuard.h"
#include "LookupTitle.h"
#include "Pesquisa.h"
#include "RecordList.h"
#include "TADOIBQuery.h"
#include "TDataSource.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include <stdexcept>

namespace {
constexpr int buttonSize = 21;

// A magnifying glass in the button's text colour.
QIcon magnifierIcon(const QColor &colour)
{
    QPixmap glass(16, 16);
    glass.fill(Qt::transparent);
    QPainter painter(&glass);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.6));
    painter.drawEllipse(QRectF(2.5, 2.5, 8, 8));
    painter.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(9.8, 9.8), QPointF(13.5, 13.5));
    return QIcon(glass);
}
} // namespace

TBtnPesquisa::TBtnPesquisa(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(buttonSize, buttonSize);
    setToolTip(QStringLiteral("Pesquisar"));
    setIcon(magnifierIcon(palette().color(QPalette::ButtonText)));
    connect(this, &QToolButton::clicked, this, &TBtnPesquisa::execute);
}

void TBtnPesquisa::setAssociatedEdit(QLineEdit *edit)
{
    if (m_edit) {
        m_edit->removeEventFilter(this);
    }
    m_edit = edit;
    if (edit) {
        edit->installEventFilter(this);
    }
}

TDataSource *TBtnPesquisa::dataSource() const
{
    return m_source;
}

void TBtnPesquisa::setDataSource(TDataSource *source)
{
    m_source = source;
}

bool TBtnPesquisa::execute()
{
    bool picked = false;
    HostGuard::run([this, &picked] { picked = lookUp(); });
    return picked;
}

bool TBtnPesquisa::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F9 && isEnabled()) {
        execute();
        return true;
    }
    return QToolButton::eventFilter(watched, event);
}

bool TBtnPesquisa::lookUp()
{
    if (onClick) {
        onClick(*this);
        return false;
    }
    bool proceed = true;
    if (onBeforePesq) {
        onBeforePesq(*this, proceed);
    }
    if (!proceed) {
        return false;
    }
    RecordList *list = m_source ? m_source->dataSet() : nullptr;
    if (!list) {
        throw std::logic_error("lookup button without a list");
    }
    if (auto *query = dynamic_cast<TADOIBQuery *>(list); query && !query->isActive()) {
        query->Open();
    }
    if (!list->isActive() || list->isEmpty()) {
        const QString message = m_emptyMessage.isEmpty() ? LookupTitle::genericEmptyMessage() : m_emptyMessage;
        HostDialogs::current().showMessage(HostDialogs::Icon::Information, m_title, message);
        return false;
    }
    if (!Pesquisa::Pesquisar(*m_source, m_title, false, false)) {
        return false;
    }
    if (m_edit) {
        m_edit->setText(list->field(0).asString());
    }
    if (onAfterPesq) {
        onAfterPesq(*this);
    }
    return true;
}
