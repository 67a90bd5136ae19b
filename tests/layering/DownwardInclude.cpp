// Compiled as a harvest source: every layer below it is in reach.
#include "common/QuorvelError.h"
#include "harvest/UnitHarvester.h"
#include "settings/IniFile.h"
#include "table/IdentifierTable.h"

int layeringProbe()
{
    return IdentifierTable::ColumnCount;
}
