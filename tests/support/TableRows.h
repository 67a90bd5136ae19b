#pragma once

#include "table/IdentifierTable.h"

#include <QStringList>

// The `identifier` of every row, in table order.
inline QStringList identifiersOf(const IdentifierTable& table)
{
    QStringList out;
    for (int i = 0; i < table.rowCount(); ++i)
        out.append(table.row(i).identifier);
    return out;
}
