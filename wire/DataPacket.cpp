#include "DataPacket.h"

int fieldIndex(const QList<FieldDef> &fields, const QString &name)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int DataPacket::indexOf(const QString &fieldName) const
{
    return fieldIndex(fields, fieldName);
}
