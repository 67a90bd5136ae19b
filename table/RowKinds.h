#pragma once

#include "table/IdentifierTable.h"

#include <QString>

// The kinds of rows, as the tipoIdentificador of the special ones reads, and
// the one place that tells a row's kind.
namespace RowKinds {

inline QString TipoHelp()
{
    return QStringLiteral("Help");
}
inline QString TipoOrfao()
{
    return QStringLiteral("Coment.Órfão");
}
inline QString TipoTabela()
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
    if (row.tipoIdentificador == TipoHelp())
        return Kind::Help;
    if (row.tipoIdentificador == TipoOrfao())
        return Kind::Orphan;
    if (row.tipoIdentificador == TipoTabela())
        return Kind::Table;
    return IdentifierTable::ehRotina(row.identificador) ? Kind::Routine : Kind::Other;
}

} // namespace RowKinds
