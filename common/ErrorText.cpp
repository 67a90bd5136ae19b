#include "common/ErrorText.h"

#include "common/Program.h"
#include "common/QuorvelError.h"

#include <QtGlobal>

#include <new>

using namespace Qt::Literals::StringLiterals;

QString textForUser(const std::exception& error)
{
    if (const auto* quorvel = dynamic_cast<const QuorvelError*>(&error))
        return quorvel->message();
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return u"Não há memória suficiente para concluir o comando."_s;
    qWarning("Quorvel: internal error: %s", error.what());
    return u"Um erro interno interrompeu o comando. Por favor, avise a equipe Quorvel: "_s %
           Program::contact();
}
