// The lexer and the harvest of a unit over any bytes: never a crash, a hang or
// a read past the text; every stored row within its field widths; and the
// harvest that skims from landmark to landmark (with its trace kept as bytes,
// and without a trace) finds exactly what the one that reads every token finds.
#include "app/QuorvelCore.h"
#include "table/IdentifierTable.h"
#include "tests/support/SilentPrompts.h"

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

Outcome harvest(QByteArrayView bytes, Way way, Codificacao codificacao)
{
    SilentPrompts prompts;
    QuorvelCore core(prompts);
    core.harvester().setCodificacao(codificacao);
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

// Widths count characters.
qsizetype characters(const QString& text)
{
    return QStringView(text).toUcs4().size();
}

} // namespace

// The first byte chooses how the rest is read: detected (UTF-8 when it all
// is), or forced to Windows-1252 or to UTF-8.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const auto codificacao = static_cast<Codificacao>(data[0] % 3);
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    const Outcome read = harvest(bytes, Way::EveryToken, codificacao);
    for (const IdentifierRow& row : read.rows) {
        if (characters(row.unit) > 30 || characters(row.identificador) > 200 ||
            characters(row.nomeIdentificador) > 40 || characters(row.tipoIdentificador) > 20 ||
            row.linhaIdentificador < 0)
            std::abort();
    }
    const Outcome skimmed = harvest(bytes, Way::Skimming, codificacao);
    if (!sameHarvest(skimmed, read) || skimmed.trace != read.trace)
        std::abort();
    if (!sameHarvest(harvest(bytes, Way::SkimmingWithoutTrace, codificacao), read))
        std::abort();
    return 0;
}
