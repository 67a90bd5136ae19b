// The lexer and the harvest of a unit over any bytes: never a crash, a hang or
// a read past the text; every stored row within its field widths.
#include "app/QuorvelCore.h"
#include "common/SilentPrompts.h"
#include "table/IdentifierTable.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilentPrompts prompts;
    QuorvelCore core(prompts);
    core.respondeTabelas(QuorvelCore::RespostaTabelas::Nenhuma);
    core.harvestBytes(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                      QStringLiteral("fuzz.pas"));
    const IdentifierTable& table = core.cdsUnits();
    for (int i = 0; i < table.rowCount(); ++i) {
        const IdentifierRow& row = table.row(i);
        if (row.unit.size() > 30 || row.identificador.size() > 200 || row.nomeIdentificador.size() > 40 ||
            row.tipoIdentificador.size() > 20 || row.linhaIdentificador < 0)
            std::abort();
    }
    return 0;
}
