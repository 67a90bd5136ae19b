// The project reader over any bytes, and the matching of the paths it finds
// against an empty folder: nothing may escape or crash.
#include "app/QuorvelCore.h"
#include "tests/support/SilentPrompts.h"
#include "common/UnitPath.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    SilentPrompts prompts;
    QuorvelCore core(prompts);
    const QStringList units = core.unitsDoProjeto(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    UnitPath::Resolver resolver;
    for (const QString& unit : units) {
        UnitPath::extension(unit);
        resolver.resolve(folder.path(), unit);
    }
    return 0;
}
