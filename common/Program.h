#pragma once

#include <QString>

// The program's identity, wherever it is shown: the windows' captions, the
// batch mode's --version, the help window and the site's footer.
namespace Program {

inline QString version()
{
    return QStringLiteral("v1.1");
}

// The makers' contact address.
inline QString contact()
{
    return QStringLiteral("contato@quorvel.example");
}

} // namespace Program
