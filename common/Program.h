#pragma once

#include <QString>

// The program's identity, wherever it is shown: the windows' captions, the
// batch mode's --version, the help window and the site's footer.
namespace Programa {

inline QString versao()
{
    return QStringLiteral("v1.1");
}

// The makers' contact address.
inline QString contato()
{
    return QStringLiteral("contato@quorvel.example");
}

} // namespace Programa
