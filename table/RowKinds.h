#pragma once

#include "table/IdentifierTable.h"

#include <QString>

// The kinds of rows, as the type of the special ones reads, and
// the one place that tells a row's kind.
namespace RowKinds {

inline QString HelpKind()
{
    return QStringLiteral("Help");
}
inline QString OrphanKind()
{
    return QStringLiteral("Coment.Órfão");
}
inline QString TableKind()
{
    return QStringLiteral("Tabela MySQL");
}

enum class Kind
{
    Help,    // a //? general help
    Orphan,  // //* or //+ lines that no marker opened
    Table,   // a //# MySQL table
    Routine, // a procedure or function heading
    Other,   // anything else: a //@ block without a heading it knows
};

inline Kind kindOf(const IdentifierRow& row)
{
    if (row.type == HelpKind())
        return Kind::Help;
    if (row.type == OrphanKind())
        return Kind::Orphan;
    if (row.type == TableKind())
        return Kind::Table;
    return IdentifierTable::isRoutine(row.identifier) ? Kind::Routine : Kind::Other;
}

} // namespace RowKinds
