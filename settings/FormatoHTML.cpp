#include "settings/FormatoHTML.h"

#include "settings/IniFile.h"
#include "settings/OpcoesQuorvel.h"

FormatoHTML::FormatoHTML()
{
    for (const ChaveFormatoHTML& k : kChavesFormatoHTML)
        set(k.formato, k.padrao.toString());
}

FormatoHTML FormatoHTML::read(const IniFile& ini)
{
    FormatoHTML f;
    for (const ChaveFormatoHTML& k : kChavesFormatoHTML)
        f.set(k.formato, ini.readString(u"FormatoHTML", k.chave, k.padrao.toString()));
    return f;
}
