// The lexer and the harvest of a unit over any bytes: never a crash, a hang or
// a read past the text; every stored row within its field widths; and the
// harvest that skims from landmark to landmark (with its trace kept as bytes,
// and without a trace) finds exactly what the one that reads every token finds.
#include "app/Session.h"
#include "table/IdentifierTable.h"
#include "tests/support/SilentPrompts.h"

#include <cstdlib>

namespace {

struct Outcome
{
    std::vector<IdentifierRow> rows;
    int tokenCode = 0;
    int currentLine = 0;
    QString tokenText;
    QString unitName;
    QStringList trace;
};

enum class Way
{
    EveryToken,
    Skimming,
    SkimmingWithoutTrace,
};

Outcome harvest(QByteArrayView bytes, Way way, Encoding encoding)
{
    SilentPrompts prompts;
    Session session(prompts);
    session.tables.answerTables(TableDialogue::TableAnswer::NoTables);
    session.harvester.harvestBytes(
        bytes, QStringLiteral("fuzz.pas"),
        HarvestChoices{encoding, way != Way::SkimmingWithoutTrace, way == Way::EveryToken, {}});
    Outcome out;
    const IdentifierTable& table = session.identifiers;
    for (int i = 0; i < table.rowCount(); ++i)
        out.rows.push_back(table.row(i));
    out.tokenCode = session.harvester.lexer().tokenCode();
    out.currentLine = session.harvester.lexer().currentLine();
    out.tokenText = session.harvester.lexer().tokenText();
    out.unitName = session.harvester.unitName();
    out.trace = session.traceLog.lines();
    return out;
}

bool sameRow(const IdentifierRow& a, const IdentifierRow& b)
{
    return a.unit == b.unit && a.identifier == b.identifier && a.name == b.name && a.type == b.type &&
           a.help == b.help && a.line == b.line;
}

bool sameHarvest(const Outcome& a, const Outcome& b)
{
    if (a.rows.size() != b.rows.size() || a.tokenCode != b.tokenCode || a.currentLine != b.currentLine ||
        a.tokenText != b.tokenText || a.unitName != b.unitName)
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
    const auto encoding = static_cast<Encoding>(data[0] % 3);
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    const Outcome read = harvest(bytes, Way::EveryToken, encoding);
    for (const IdentifierRow& row : read.rows) {
        if (characters(row.unit) > 30 || characters(row.identifier) > 200 || characters(row.name) > 40 ||
            characters(row.type) > 20 || row.line < 0)
            std::abort();
    }
    const Outcome skimmed = harvest(bytes, Way::Skimming, encoding);
    if (!sameHarvest(skimmed, read) || skimmed.trace != read.trace)
        std::abort();
    if (!sameHarvest(harvest(bytes, Way::SkimmingWithoutTrace, encoding), read))
        std::abort();
    return 0;
}
