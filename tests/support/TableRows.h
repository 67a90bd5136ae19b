#pragma once

#include "table/IdentifierTable.h"

#include <QStringList>

// The `identificador` of every row, in table order.
inline QStringList identifiersOf(const IdentifierTable& table)
{
    QStringList out;
    for (int i = 0; i < table.rowCount(); ++i)
        out.append(table.row(i).identificador);
    return out;
}
