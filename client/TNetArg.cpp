#include "TNetArg.h"
#include "WireCodec.h"

#include "RecordList.h"

TNetArg::TNetArg(Kind kind, const QJsonValue &value)
    : m_kind(kind), m_value(value)
{
}

TNetArg::TNetArg(const QString &text)
    : TNetArg(Kind::Text, QJsonValue(text))
{
}

TNetArg TNetArg::text(const QString &text)
{
    return TNetArg(text);
}

TNetArg TNetArg::textRef(QString &variable)
{
    TNetArg arg(Kind::Text, QJsonValue());
    arg.m_textRef = &variable;
    return arg;
}

TNetArg TNetArg::dateTime(double dayCount)
{
    return TNetArg(Kind::DateTime, QJsonValue(dayCount));
}

TNetArg TNetArg::dateTimeRef(double &variable)
{
    TNetArg arg(Kind::DateTime, QJsonValue());
    arg.m_dateTimeRef = &variable;
    return arg;
}

TNetArg TNetArg::packet(const DataPacket &packet)
{
    return TNetArg(Kind::Packet, WireCodec::encodePacket(packet));
}

TNetArg TNetArg::delta(const ChangeDelta &delta)
{
    return TNetArg(Kind::Delta, WireCodec::encodeDelta(delta));
}

TNetArg TNetArg::deltaOf(const RecordList &list)
{
    return delta(list.delta());
}

QJsonValue TNetArg::toJson() const
{
    if (m_textRef) {
        return *m_textRef;
    }
    if (m_dateTimeRef) {
        return *m_dateTimeRef;
    }
    return m_value;
}

bool TNetArg::acceptsReturned(const QJsonValue &value) const
{
    if (m_textRef) {
        return value.isString() || value.isNull();
    }
    if (m_dateTimeRef) {
        return value.isDouble() || value.isNull();
    }
    return true;
}

void TNetArg::writeBack(const QJsonValue &value) const
{
    if (m_textRef) {
        *m_textRef = value.toString();
    } else if (m_dateTimeRef) {
        *m_dateTimeRef = value.toDouble(0);
    }
}

QList<TNetArg> TNetArg::listing(const QString &branch, QuoteListing &values)
{
    QList<TNetArg> args{text(branch)};
    values.forEach([&args](auto &value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>) {
            args << textRef(value);
        } else {
            args << dateTimeRef(value);
        }
    });
    return args;
}
