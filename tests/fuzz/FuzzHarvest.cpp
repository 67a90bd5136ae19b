// The lexer and the harvest of a unit over any bytes: never a crash, a hang or
// a read past the text; every stored row within its field widths; and the
// harvest that skims from landmark to landmark finds exactly what the one that
// reads every token (for the trace) finds.
#include "app/QuorvelCore.h"
#include "common/SilentPrompts.h"
#include "table/IdentifierTable.h"

#include <cstdlib>

namespace {

struct Outcome
{
    std::vector<IdentifierRow> rows;
    int codigoToken = 0;
    int linhaAtual = 0;
    QString textoToken;
    QString nomeUnit;
};

Outcome harvest(QByteArrayView bytes, bool everyToken)
{
    SilentPrompts prompts;
    QuorvelCore core(prompts);
    core.setTraceEnabled(everyToken);
    core.respondeTabelas(QuorvelCore::RespostaTabelas::Nenhuma);
    core.harvestBytes(bytes, QStringLiteral("fuzz.pas"));
    Outcome out;
    const IdentifierTable& table = core.cdsUnits();
    for (int i = 0; i < table.rowCount(); ++i)
        out.rows.push_back(table.row(i));
    out.codigoToken = core.CodigoToken();
    out.linhaAtual = core.LinhaAtual();
    out.textoToken = core.TextoToken();
    out.nomeUnit = core.NomeUnit();
    return out;
}

bool sameRow(const IdentifierRow& a, const IdentifierRow& b)
{
    return a.unit == b.unit && a.identificador == b.identificador &&
           a.nomeIdentificador == b.nomeIdentificador && a.tipoIdentificador == b.tipoIdentificador &&
           a.helpIdentificador == b.helpIdentificador && a.linhaIdentificador == b.linhaIdentificador;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Outcome skimmed = harvest(bytes, false);
    for (const IdentifierRow& row : skimmed.rows) {
        if (row.unit.size() > 30 || row.identificador.size() > 200 || row.nomeIdentificador.size() > 40 ||
            row.tipoIdentificador.size() > 20 || row.linhaIdentificador < 0)
            std::abort();
    }
    const Outcome read = harvest(bytes, true);
    if (skimmed.rows.size() != read.rows.size() || skimmed.codigoToken != read.codigoToken ||
        skimmed.linhaAtual != read.linhaAtual || skimmed.textoToken != read.textoToken ||
        skimmed.nomeUnit != read.nomeUnit)
        std::abort();
    for (size_t i = 0; i < read.rows.size(); ++i) {
        if (!sameRow(skimmed.rows[i], read.rows[i]))
            std::abort();
    }
    return 0;
}
