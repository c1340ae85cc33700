#include "RecordList.h"

#include "ChangeLog.h"
#include "FieldSet.h"
#include "FieldText.h"
#include "RecordStore.h"
#include "SortKey.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

} // namespace

struct RecordList::Private {
    explicit Private(RecordList &list) : fields(list) {}

    FieldSet fields;
    RecordStore store;
    ChangeLog log;
    QVariantList editOriginal;        // the record as it was when edit() began
    RecordStore::Id returnId = 0;     // the record current before an insert
    RecordStore::Id deletedId = 0;    // the record a delete just hid, until the cursor moves
    int activeRow = -1;               // a row read or calculated instead of the current one
    bool readingOnly = false;         // the active row is only being read (display)
    bool fillingNewRecord = false;    // onNewRecord may assign before the state turns Insert
    State state = State::Inactive;
    int current = -1;
    bool bof = true;
    bool eof = true;
    bool logChanges = true;
    QString orderField;
    Qt::SortOrder orderDirection = Qt::AscendingOrder;
};

// Makes another row the active record for the Field API while a hook runs
// (calculation or display text), restoring everything when it ends.
class RecordList::ActiveRowScope final {
public:
    ActiveRowScope(Private &d, int row, bool reading, State state)
        : m_d(d), m_row(d.activeRow), m_reading(d.readingOnly), m_state(d.state)
    {
        d.activeRow = row;
        d.readingOnly = reading;
        d.state = state;
    }
    ~ActiveRowScope()
    {
        m_d.activeRow = m_row;
        m_d.readingOnly = m_reading;
        m_d.state = m_state;
    }
    ActiveRowScope(const ActiveRowScope &) = delete;
    ActiveRowScope &operator=(const ActiveRowScope &) = delete;

private:
    Private &m_d;
    int m_row;
    bool m_reading;
    State m_state;
};

RecordList::RecordList(const QString &name, QObject *parent) : QObject(parent), d(std::make_unique<Private>(*this))
{
    setObjectName(name);
}

RecordList::~RecordList() = default;

// ---- fields ----------------------------------------------------------------

Field &RecordList::addField(const QString &name, FieldType type, int size)
{
    if (isActive()) {
        throw std::logic_error(QStringLiteral("A lista %1 está aberta: não se pode declarar o campo %2.")
                                   .arg(objectName(), name).toStdString());
    }
    if (d->fields.cameFromPacket()) {
        // Declared fields replace the ones an earlier packet brought.
        d->fields.clear();
        d->fields.setCameFromPacket(false);
    }
    if (findField(name)) {
        throw std::logic_error(QStringLiteral("O campo %1 já existe na lista %2.").arg(name, objectName()).toStdString());
    }
    return d->fields.add(FieldDef{name, type, size});
}

Field &RecordList::addCalculatedField(const QString &name, FieldType type, int size)
{
    Field &field = addField(name, type, size);
    field.setCalculated(true);
    return field;
}

Field *RecordList::findField(const QString &name) const
{
    return d->fields.find(name);
}

Field &RecordList::fieldByName(const QString &name) const
{
    Field *field = findField(name);
    if (!field) {
        fail(QStringLiteral("Campo %1 não encontrado na lista %2.").arg(name, objectName()));
    }
    return *field;
}

int RecordList::fieldCount() const
{
    return d->fields.count();
}

Field &RecordList::field(int index) const
{
    if (index < 0 || index >= fieldCount()) {
        fail(QStringLiteral("A lista %1 não tem o campo número %2.").arg(objectName()).arg(index));
    }
    return d->fields.at(index);
}

QList<FieldDef> RecordList::dataFieldDefs() const
{
    return d->fields.dataDefs();
}

// ---- opening and closing ---------------------------------------------------

void RecordList::loadPacket(const DataPacket &packet)
{
    loadPacket(PacketColumns::fromPacket(packet));
}

void RecordList::loadPacket(PacketColumns &&packet)
{
    close();
    if (beforeOpen) {
        beforeOpen(*this);
    }
    openWith(&packet);
}

void RecordList::createDataSet()
{
    if (d->fields.isEmpty()) {
        fail(QStringLiteral("A lista %1 não tem campos declarados.").arg(objectName()));
    }
    close();
    if (beforeOpen) {
        beforeOpen(*this);
    }
    openWith(nullptr);
}

void RecordList::close()
{
    if (!isActive()) {
        return;
    }
    if (beforeClose) {
        beforeClose(*this);
    }
    emit aboutToReset();
    d->store.reset({});
    d->log.clear();
    d->deletedId = 0;
    d->editOriginal.clear();
    d->current = -1;
    d->bof = true;
    d->eof = true;
    setState(State::Inactive);
    emit reset();
    emit currentChanged(-1);
    if (afterClose) {
        afterClose(*this);
    }
}

DataPacket RecordList::packet() const
{
    DataPacket result;
    result.fields = dataFieldDefs();
    for (int row = 0; row < recordCount(); ++row) {
        result.rows.append(dataValues(d->store.values(row)));
    }
    return result;
}

void RecordList::adoptPacketFields(const QList<FieldDef> &fields)
{
    if (!d->fields.isEmpty() && dataFieldDefs() == fields) {
        return; // same shape: keep the fields and whatever was set on them
    }
    d->fields.clear();
    for (const FieldDef &def : fields) {
        d->fields.add(def);
    }
    d->fields.setCameFromPacket(true);
}

void RecordList::openWith(PacketColumns *packet)
{
    emit aboutToReset();
    try {
        // Fields change only inside the reset, where views do not look.
        if (packet && (d->fields.isEmpty() || d->fields.cameFromPacket())) {
            adoptPacketFields(packet->fields);
        }
        if (packet) {
            const qsizetype rows = packet->rowCount;
            d->store.assign(d->fields.columnsFrom(std::move(*packet)), rows);
        } else {
            d->store.reset(d->fields.types());
        }
        d->log.clear();
        d->deletedId = 0;
        for (int row = 0; row < recordCount(); ++row) {
            calculate(row);
        }
        arrange();
        d->current = isEmpty() ? -1 : 0;
        d->bof = true;
        d->eof = isEmpty();
    } catch (...) {
        // A list whose data cannot be taken or calculated is not opened.
        d->store.reset({});
        d->current = -1;
        d->bof = true;
        d->eof = true;
        emit reset();
        throw;
    }
    setState(State::Browse);
    emit reset();
    emit currentChanged(d->current);
    if (afterOpen) {
        afterOpen(*this);
    }
    if (d->current >= 0 && afterScroll) {
        afterScroll(*this);
    }
}

void RecordList::setState(State state)
{
    if (d->state == state) {
        return;
    }
    d->state = state;
    emit stateChanged(state);
}

void RecordList::requireActive() const
{
    if (!isActive()) {
        fail(QStringLiteral("Lista %1 não está aberta.").arg(objectName()));
    }
}

void RecordList::calculate(int row)
{
    if (!d->fields.hasCalculated()) {
        return;
    }
    for (int i = 0; i < fieldCount(); ++i) {
        if (d->fields.at(i).isCalculated()) {
            d->store.setValue(row, i, QVariant());
        }
    }
    if (onCalcFields) {
        ActiveRowScope scope(*d, row, false, State::CalcFields);
        onCalcFields(*this);
    }
}

// ---- navigation ------------------------------------------------------------

int RecordList::recordCount() const
{
    return d->store.count();
}

void RecordList::first()
{
    requireActive();
    postIfEditing();
    scrollTo(isEmpty() ? -1 : 0, true, isEmpty());
}

void RecordList::last()
{
    requireActive();
    postIfEditing();
    scrollTo(recordCount() - 1, isEmpty(), true);
}

void RecordList::next()
{
    requireActive();
    postIfEditing();
    if (d->current + 1 >= recordCount()) {
        d->bof = isEmpty();
        d->eof = true;
        return;
    }
    scrollTo(d->current + 1, false, false);
}

void RecordList::prior()
{
    requireActive();
    postIfEditing();
    if (d->current <= 0) {
        d->bof = true;
        d->eof = isEmpty();
        return;
    }
    scrollTo(d->current - 1, false, false);
}

void RecordList::moveTo(int row)
{
    requireActive();
    if (row < 0 || row >= recordCount()) {
        fail(QStringLiteral("A lista %1 não tem o registro %2.").arg(objectName()).arg(row));
    }
    postIfEditing();
    scrollTo(row, false, false);
}

// ---- order -----------------------------------------------------------------

void RecordList::setOrder(const QString &fieldName, Qt::SortOrder direction)
{
    if (isEditing()) {
        fail(QStringLiteral("A lista %1 está em edição: não pode ser reordenada.").arg(objectName()));
    }
    if (d->orderField == fieldName && d->orderDirection == direction) {
        return;
    }
    d->orderField = fieldName;
    d->orderDirection = direction;
    if (isActive()) {
        const RecordStore::Id current = d->current < 0 ? 0 : d->store.idAt(d->current);
        emit aboutToReset();
        arrange();
        d->current = current == 0 ? -1 : d->store.rowOf(current);
        d->deletedId = 0;
        emit reset();
        emit currentChanged(d->current);
    }
    emit orderChanged();
}

QString RecordList::orderField() const
{
    return d->orderField;
}

Qt::SortOrder RecordList::orderDirection() const
{
    return d->orderDirection;
}

void RecordList::arrange()
{
    std::vector<RecordStore::Id> ids = d->store.order();
    const Field *field = d->orderField.isEmpty() ? nullptr : findField(d->orderField);
    if (ids.empty()) {
        return;
    }
    if (!field) {
        // Ids are handed out in the order records arrive.
        std::sort(ids.begin(), ids.end());
        d->store.arrange(ids);
        return;
    }
    QCollator collator(QLocale(QLocale::Portuguese, QLocale::Brazil));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    const auto [lowest, highest] = std::minmax_element(ids.begin(), ids.end());
    const RecordStore::Id firstId = *lowest;
    std::vector<SortKey> keys(size_t(*highest - firstId + 1));
    for (RecordStore::Id id : ids) {
        const int row = d->store.rowOf(id);
        // A deleted record still logged has no row to show; its raw value
        // keeps it near its neighbours should the deletion be undone.
        const QVariant value = row >= 0 ? d->store.value(row, field->index())
                                        : d->store.valuesOf(id).value(field->index());
        // Only texts go by what is shown: formatting every date or number
        // would cost more than the sorting.
        const QString text = field->type() != FieldType::Text ? QString()
                             : row >= 0                       ? displayTextAt(row, field->index())
                                                              : value.toString();
        keys[size_t(id - firstId)] = SortKey::of(field->type(), value, text, collator);
    }
    const bool descending = d->orderDirection == Qt::DescendingOrder;
    std::sort(ids.begin(), ids.end(), [&](RecordStore::Id a, RecordStore::Id b) {
        const int order = keys[size_t(a - firstId)].compare(keys[size_t(b - firstId)]);
        return order != 0 ? (descending ? order > 0 : order < 0) : a < b;
    });
    d->store.arrange(ids);
}

void RecordList::scrollTo(int row, bool bofAfter, bool eofAfter)
{
    if (row == d->current) {
        d->bof = bofAfter;
        d->eof = eofAfter;
        return;
    }
    if (beforeScroll) {
        beforeScroll(*this);
    }
    d->bof = bofAfter;
    d->eof = eofAfter;
    setCurrent(row);
    if (afterScroll) {
        afterScroll(*this);
    }
}

void RecordList::setCurrent(int row)
{
    d->deletedId = 0;
    d->current = row;
    emit currentChanged(row);
}

void RecordList::postIfEditing()
{
    if (isEditing()) {
        post();
    }
}

// ---- editing ---------------------------------------------------------------

void RecordList::edit()
{
    requireActive();
    if (isEditing()) {
        return;
    }
    if (isEmpty()) {
        insert();
        return;
    }
    if (beforeEdit) {
        beforeEdit(*this);
    }
    d->editOriginal = d->store.values(d->current);
    setState(State::Edit);
    if (afterEdit) {
        afterEdit(*this);
    }
}

void RecordList::insert()
{
    startInsert(false);
}

void RecordList::append()
{
    startInsert(true);
}

void RecordList::startInsert(bool atEnd)
{
    requireActive();
    postIfEditing();
    if (beforeInsert) {
        beforeInsert(*this);
    }
    if (beforeScroll) {
        beforeScroll(*this);
    }
    const int formerRow = d->current;
    const int row = atEnd || d->current < 0 ? recordCount() : d->current;
    d->returnId = formerRow < 0 ? 0 : d->store.idAt(formerRow);
    emit rowAboutToBeInserted(row);
    d->store.insert(row, emptyRecord());
    emit rowInserted(row);
    d->bof = false;
    d->eof = false;
    setCurrent(row);
    try {
        d->fillingNewRecord = true;
        if (onNewRecord) {
            onNewRecord(*this);
        }
        calculate(row);
        d->fillingNewRecord = false;
    } catch (...) {
        // A new record whose defaults fail is not kept.
        d->fillingNewRecord = false;
        dropNewRecord(formerRow);
        throw;
    }
    setState(State::Insert);
    if (afterInsert) {
        afterInsert(*this);
    }
    if (afterScroll) {
        afterScroll(*this);
    }
}

void RecordList::dropNewRecord(int fallbackRow)
{
    const int row = d->current;
    emit rowAboutToBeRemoved(row);
    d->store.erase(d->store.idAt(row));
    emit rowRemoved(row);
    const int back = d->returnId != 0 ? d->store.rowOf(d->returnId) : -1;
    const int current = back >= 0 ? back : std::min(fallbackRow, recordCount() - 1);
    d->bof = isEmpty();
    d->eof = isEmpty();
    setCurrent(current);
}

void RecordList::post()
{
    requireActive();
    if (!isEditing()) {
        return;
    }
    if (beforePost) {
        beforePost(*this);
    }
    checkRequired();
    const int row = d->current;
    const RecordStore::Id id = d->store.idAt(row);
    if (d->logChanges && d->state == State::Insert) {
        d->log.logInsert(id);
    } else if (d->logChanges && dataValues(d->editOriginal) != dataValues(d->store.values(row))) {
        d->log.logUpdate(id, d->editOriginal);
    }
    d->editOriginal.clear();
    try {
        calculate(row);
    } catch (...) {
        // The record is stored and logged; only its calculated values are stale.
        emit rowChanged(row);
        setState(State::Browse);
        throw;
    }
    emit rowChanged(row);
    setState(State::Browse);
    if (afterPost) {
        afterPost(*this);
    }
}

void RecordList::cancel()
{
    requireActive();
    if (!isEditing()) {
        return;
    }
    if (beforeCancel) {
        beforeCancel(*this);
    }
    if (d->state == State::Edit) {
        d->store.setValues(d->current, d->editOriginal);
        d->editOriginal.clear();
        emit rowChanged(d->current);
    } else {
        dropNewRecord(d->current);
    }
    setState(State::Browse);
    if (afterCancel) {
        afterCancel(*this);
    }
}

void RecordList::remove()
{
    requireActive();
    if (d->state == State::Insert) {
        cancel();
        return;
    }
    if (isEmpty()) {
        fail(QStringLiteral("Lista %1 está vazia.").arg(objectName()));
    }
    if (beforeDelete) {
        beforeDelete(*this);
    }
    const int row = d->current;
    const RecordStore::Id id = d->store.idAt(row);
    if (d->state == State::Edit) {
        d->store.setValues(row, d->editOriginal); // the pending edit goes with the record
        d->editOriginal.clear();
    }
    emit rowAboutToBeRemoved(row);
    const bool logged = d->logChanges && d->log.logDelete(id, d->store.values(row));
    if (logged) {
        d->store.hide(row);
    } else {
        d->log.forget(id);
        d->store.erase(id);
    }
    emit rowRemoved(row);
    d->bof = isEmpty();
    d->eof = isEmpty();
    setCurrent(std::min(row, recordCount() - 1));
    d->deletedId = logged ? id : 0;
    setState(State::Browse);
    if (afterDelete) {
        afterDelete(*this);
    }
    if (afterScroll) {
        afterScroll(*this);
    }
}

void RecordList::checkRequired() const
{
    const QVariantList record = d->store.values(d->current);
    for (int i = 0; i < fieldCount(); ++i) {
        const Field &field = d->fields.at(i);
        const QVariant &value = record.at(i);
        const bool missing = !value.isValid() || (field.type() == FieldType::Text && value.toString().isEmpty());
        if (field.isRequired() && !field.isCalculated() && missing) {
            fail(QStringLiteral("O campo \"%1\" precisa ser preenchido.").arg(field.displayLabel()));
        }
    }
}

// ---- change log ------------------------------------------------------------

int RecordList::changeCount() const
{
    return d->log.count();
}

ChangeDelta RecordList::delta() const
{
    ChangeDelta result;
    result.fields = dataFieldDefs();
    for (const ChangeLog::Entry &entry : d->log.entries()) {
        RowChange change;
        change.op = entry.op;
        if (entry.op != RowChange::Op::Insert) {
            change.oldValues = dataValues(entry.original);
        }
        if (entry.op != RowChange::Op::Delete) {
            change.newValues = dataValues(currentValuesOf(entry.recordId));
        }
        result.changes.append(change);
    }
    return result;
}

QVariantList RecordList::currentValuesOf(quint64 recordId) const
{
    // A pending edit is not a change yet: the delta carries what was posted.
    if (d->state == State::Edit && d->store.idAt(d->current) == recordId) {
        return d->editOriginal;
    }
    return d->store.valuesOf(recordId);
}

void RecordList::mergeChangeLog()
{
    d->deletedId = 0;
    d->log.clear();
    d->store.dropTombstones();
}

void RecordList::cancelUpdates()
{
    if (!isActive()) {
        return;
    }
    cancel();
    if (d->log.isEmpty()) {
        return;
    }
    emit aboutToReset();
    const int formerRow = d->current;
    // Undoing a delete the operator has not moved away from gives the record
    // back as the current one: the next command acts on it, not on its
    // neighbour.
    const RecordStore::Id formerId = d->deletedId != 0 ? d->deletedId
                                     : d->current >= 0 ? d->store.idAt(d->current) : 0;
    d->deletedId = 0;
    d->log.undoAll(d->store);
    const int kept = formerId != 0 ? d->store.rowOf(formerId) : -1;
    d->current = kept >= 0 ? kept : std::min(std::max(formerRow, 0), recordCount() - 1);
    d->bof = isEmpty();
    d->eof = isEmpty();
    emit reset();
    emit currentChanged(d->current);
}

void RecordList::applyUpdates(const std::function<void(const ChangeDelta &)> &send)
{
    requireActive();
    postIfEditing();
    if (d->log.isEmpty()) {
        return;
    }
    send(delta());
    mergeChangeLog();
}

bool RecordList::refreshRecord(int row, const QHash<QString, QVariant> &values)
{
    requireActive();
    if (row < 0 || row >= recordCount()) {
        fail(QStringLiteral("Lista %1: registro %2 fora da lista.").arg(objectName()).arg(row));
    }
    const RecordStore::Id id = d->store.idAt(row);
    if ((isEditing() && row == d->current) || d->log.find(id)) {
        return false;
    }
    QVariantList record = d->store.values(row);
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        const Field *field = findField(value.key());
        if (field && !field->isCalculated()) {
            record[field->index()] = value.value();
        }
    }
    d->store.setValues(row, record);
    calculate(row);
    emit rowChanged(row);
    return true;
}

// ---- reading any record ----------------------------------------------------

void RecordList::checkReadable(int row, int fieldIndex) const
{
    if (row < 0 || row >= d->store.count() || fieldIndex < 0 || fieldIndex >= d->fields.count()) {
        fail(QStringLiteral("A lista %1 não tem o registro %2, campo %3.").arg(objectName()).arg(row).arg(fieldIndex));
    }
}

QVariant RecordList::valueAt(int row, int fieldIndex) const
{
    checkReadable(row, fieldIndex);
    return d->store.value(row, fieldIndex);
}

QString RecordList::displayTextAt(int row, int fieldIndex) const
{
    checkReadable(row, fieldIndex);
    ActiveRowScope scope(*d, row, true, d->state);
    return field(fieldIndex).displayText();
}

QString RecordList::editTextAt(int row, int fieldIndex) const
{
    checkReadable(row, fieldIndex);
    ActiveRowScope scope(*d, row, true, d->state);
    return field(fieldIndex).text();
}

QByteArrayView RecordList::storedTextAt(int row, int fieldIndex) const
{
    checkReadable(row, fieldIndex);
    if (d->fields.at(fieldIndex).type() != FieldType::Text) {
        fail(QStringLiteral("O campo %1 da lista %2 não é um texto.").arg(field(fieldIndex).name(), objectName()));
    }
    return d->store.bytes(row, fieldIndex);
}

double RecordList::storedNumberAt(int row, int fieldIndex) const
{
    checkReadable(row, fieldIndex);
    const FieldType type = d->fields.at(fieldIndex).type();
    if (type == FieldType::Text || type == FieldType::Blob) {
        fail(QStringLiteral("O campo %1 da lista %2 não é um número.").arg(field(fieldIndex).name(), objectName()));
    }
    return d->store.number(row, fieldIndex);
}

// ---- the active record, for Field ------------------------------------------

QVariantList RecordList::emptyRecord() const
{
    return d->fields.emptyRecord();
}

QVariantList RecordList::dataValues(const QVariantList &record) const
{
    return d->fields.dataValues(record);
}

int RecordList::activeRow() const
{
    return d->activeRow >= 0 ? d->activeRow : d->current;
}

QVariant RecordList::activeValue(int fieldIndex) const
{
    const int row = activeRow();
    if (row < 0 || row >= recordCount() || fieldIndex < 0 || fieldIndex >= fieldCount()) {
        return {};
    }
    return d->store.value(row, fieldIndex);
}

QVariant RecordList::activeOldValue(int fieldIndex) const
{
    if (d->state == State::Edit && activeRow() == d->current) {
        return d->editOriginal.value(fieldIndex);
    }
    return activeValue(fieldIndex);
}

void RecordList::writeActiveValue(const Field &field, const QVariant &value)
{
    const QString name = field.name();
    if (field.isCalculated() && d->state != State::CalcFields) {
        fail(QStringLiteral("O campo %1 é calculado e não pode ser alterado.").arg(name));
    }
    if (!field.isCalculated()) {
        if (d->state == State::CalcFields || d->readingOnly) {
            fail(QStringLiteral("O campo %1 não pode ser alterado durante um cálculo ou exibição.").arg(name));
        }
        if (!isEditing() && !d->fillingNewRecord) {
            fail(QStringLiteral("Lista %1 não está em edição.").arg(objectName()));
        }
        if (field.isReadOnly()) {
            fail(QStringLiteral("O campo %1 é somente leitura.").arg(name));
        }
    }
    QVariant stored;
    try {
        stored = FieldText::coerce(value, field.type());
    } catch (const std::runtime_error &error) {
        fail(QStringLiteral("Campo %1: %2").arg(name, QString::fromUtf8(error.what())));
    }
    const int row = activeRow();
    const QVariant current = d->store.value(row, field.index());
    if (current == stored && current.isValid() == stored.isValid()) {
        return;
    }
    d->store.setValue(row, field.index(), stored);
    if (d->state != State::CalcFields) {
        emit rowChanged(row);
    }
}

bool RecordList::isActive() const
{
    return d->state != State::Inactive;
}

RecordList::State RecordList::state() const
{
    return d->state;
}

bool RecordList::isEditing() const
{
    return d->state == State::Edit || d->state == State::Insert;
}

int RecordList::recNo() const
{
    return d->current;
}

bool RecordList::bof() const
{
    return d->bof;
}

bool RecordList::eof() const
{
    return d->eof;
}

bool RecordList::logChanges() const
{
    return d->logChanges;
}

void RecordList::setLogChanges(bool log)
{
    d->logChanges = log;
}
