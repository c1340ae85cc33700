#include "HistoricoDialog.h"

#include "RecordList.h"
#include "ServerAnswer.h"
#include "TDBGrid.h"
#include "TDataSource.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString creation = QStringLiteral("I");
const QString stateChange = QStringLiteral("S");
const QString justification = QStringLiteral("J");

TDBGrid::Column column(const char *field, const QString &title, int width)
{
    TDBGrid::Column shown;
    shown.fieldName = QLatin1String(field);
    shown.title = title;
    shown.width = width;
    return shown;
}

QString kindName(const QString &kind)
{
    if (kind == creation) {
        return QStringLiteral("Inclusão");
    }
    return kind == stateChange ? QStringLiteral("Situação") : QStringLiteral("Justificativa");
}

} // namespace

HistoricoDialog::HistoricoDialog(const QJsonValue &packet, const std::function<QString(const QString &)> &stateName,
                                 const QString &title, QWidget *parent)
    : QDialog(parent)
    , m_history(new RecordList(QStringLiteral("cdsHistorico"), this))
    , m_source(new TDataSource(this))
    , m_grid(new TDBGrid(this))
    , m_changes(new QLabel(this))
    , m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmHistorico"));
    setWindowTitle(title);
    declareFields(stateName);
    ServerAnswer::LoadPacket(*m_history, packet);

    m_source->setDataSet(m_history);
    m_source->setAutoEdit(false);
    m_grid->setObjectName(QStringLiteral("dbgHistorico"));
    m_grid->setDataSource(m_source);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setColumns({column("DTHRHISTORCA", QStringLiteral("Data e hora"), 120),
                        column("IDTIPOHIST", QStringLiteral("Registro"), 95),
                        column("IDSITUANTORC", QStringLiteral("De"), 80),
                        column("IDSITUORCEVE", QStringLiteral("Para"), 80),
                        column("CDJUSTEXCHIS", QStringLiteral("Motivo"), 55),
                        column("DSJUSTEXCHIS", QStringLiteral("Descrição do motivo"), 220),
                        column("CDOPERADOR", QStringLiteral("Operador"), 90)});
    // Nothing in a history may be deleted.
    m_grid->onKeyDown = [](TDBGrid &, int &key, Qt::KeyboardModifiers shift) {
        if (key == Qt::Key_Delete && shift.testFlag(Qt::ControlModifier)) {
            key = 0;
        }
    };

    m_changes->setObjectName(QStringLiteral("lblAlteracoes"));
    const int changes = m_history->recordCount() - 1;
    m_changes->setText(changes <= 0 ? QStringLiteral("Sem alterações")
                                    : changes == 1 ? QStringLiteral("1 registro depois da inclusão")
                                                   : QStringLiteral("%1 registros depois da inclusão").arg(changes));
    auto *caption = new QLabel(QStringLiteral("&Justificativa"), this);
    m_text->setObjectName(QStringLiteral("memJustificativa"));
    m_text->setReadOnly(true);
    m_text->setTabChangesFocus(true);
    caption->setBuddy(m_text);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Fechar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 3);
    layout->addWidget(m_changes);
    layout->addWidget(caption);
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);
    resize(800, 480);

    connect(m_source, &TDataSource::currentChanged, this, &HistoricoDialog::showJustification);
    m_history->last();
    showJustification();
    m_grid->setFocus();
}

HistoricoDialog::~HistoricoDialog() = default;

void HistoricoDialog::declareFields(const std::function<QString(const QString &)> &stateName)
{
    m_history->addField(QStringLiteral("IDTIPOHIST"), FieldType::Text, 1).setOnGetText([](const Field &field, bool) {
        return kindName(field.asString());
    });
    m_history->addField(QStringLiteral("DTHRHISTORCA"), FieldType::DateTime).setDisplayFormat(QStringLiteral("dd/MM/yyyy hh:mm"));
    for (const char *state : {"IDSITUANTORC", "IDSITUORCEVE"}) {
        m_history->addField(QLatin1String(state), FieldType::Text, 1).setOnGetText([stateName](const Field &field, bool) {
            return field.isNull() ? QString() : stateName(field.asString());
        });
    }
    m_history->addField(QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4);
    m_history->addField(QStringLiteral("DSJUSTEXCHIS"), FieldType::Text, 40);
    m_history->addField(QStringLiteral("CDOPERADOR"), FieldType::Text, 12);
    m_history->addField(QStringLiteral("TXOBSJUSTORC"), FieldType::Blob).setVisible(false);
}

void HistoricoDialog::showJustification()
{
    // A text shows itself; a state change shows the texts written after it.
    QStringList texts;
    const int kind = m_history->fieldByName(QStringLiteral("IDTIPOHIST")).index();
    const int text = m_history->fieldByName(QStringLiteral("TXOBSJUSTORC")).index();
    const int current = m_history->recNo();
    const auto kindAt = [&](int row) { return m_history->valueAt(row, kind).toString(); };
    if (current >= 0 && current < m_history->recordCount()) {
        if (kindAt(current) == justification) {
            texts << QString::fromUtf8(m_history->valueAt(current, text).toByteArray());
        } else if (kindAt(current) == stateChange) {
            for (int row = current + 1; row < m_history->recordCount() && kindAt(row) == justification; ++row) {
                texts << QString::fromUtf8(m_history->valueAt(row, text).toByteArray());
            }
        }
    }
    m_text->setPlainText(texts.join(QStringLiteral("\n\n")));
}
