#include "ConsisteGrid.h"

#include "TDBGrid.h"

int Consiste::IndiceCol(const TDBGrid &grid, const QString &fieldName)
{
    return grid.columnOfField(fieldName);
}
