// The lexer and the harvest of a unit over any bytes: never a crash, a hang or
// a read past the text; every stored row within its field widths; and the
// harvest that skims from landmark to landmark (with its trace kept as bytes,
// and without a trace) finds exactly what the one that reads every token finds.
#include "app/QuorvelCore.h"
#include "tests/support/SilentPrompts.h"
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
    QStringList trace;
};

enum class Way
{
    EveryToken,
    Skimming,
    SkimmingWithoutTrace,
};

Outcome harvest(QByteArrayView bytes, Way way)
{
    SilentPrompts prompts;
    QuorvelCore core(prompts);
    core.setReadEveryToken(way == Way::EveryToken);
    core.setTraceEnabled(way != Way::SkimmingWithoutTrace);
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
    out.trace = core.Memo1().lines();
    return out;
}

bool sameRow(const IdentifierRow& a, const IdentifierRow& b)
{
    return a.unit == b.unit && a.identificador == b.identificador &&
           a.nomeIdentificador == b.nomeIdentificador && a.tipoIdentificador == b.tipoIdentificador &&
           a.helpIdentificador == b.helpIdentificador && a.linhaIdentificador == b.linhaIdentificador;
}

bool sameHarvest(const Outcome& a, const Outcome& b)
{
    if (a.rows.size() != b.rows.size() || a.codigoToken != b.codigoToken || a.linhaAtual != b.linhaAtual ||
        a.textoToken != b.textoToken || a.nomeUnit != b.nomeUnit)
        return false;
    for (size_t i = 0; i < a.rows.size(); ++i) {
        if (!sameRow(a.rows[i], b.rows[i]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Outcome read = harvest(bytes, Way::EveryToken);
    for (const IdentifierRow& row : read.rows) {
        if (row.unit.size() > 30 || row.identificador.size() > 200 || row.nomeIdentificador.size() > 40 ||
            row.tipoIdentificador.size() > 20 || row.linhaIdentificador < 0)
            std::abort();
    }
    const Outcome skimmed = harvest(bytes, Way::Skimming);
    if (!sameHarvest(skimmed, read) || skimmed.trace != read.trace)
        std::abort();
    if (!sameHarvest(harvest(bytes, Way::SkimmingWithoutTrace), read))
        std::abort();
    return 0;
}
