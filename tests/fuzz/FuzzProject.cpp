// The project readers over any bytes: the literals of a source project, or
// the XML of a Lazarus project, a Lazarus package or a Delphi project (the
// first byte chooses), and the matching of the paths they find against an
// empty folder. Nothing may escape or crash; malformed XML fails with the
// file and the line, never otherwise.
#include "app/Session.h"
#include "common/QuorvelError.h"
#include "common/UnitPath.h"
#include "harvest/ProjectFiles.h"
#include "tests/support/SilentPrompts.h"

#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static QTemporaryDir folder;
    const FileKind kinds[] = {FileKind::SourceProject, FileKind::LazarusProject, FileKind::LazarusPackage,
                              FileKind::DelphiProject};
    const FileKind kind = kinds[data[0] % 4];
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    QStringList units;
    if (kind == FileKind::SourceProject) {
        SilentPrompts prompts;
        Session session(prompts);
        units = session.projects.unitsOfSourceProject(bytes, HarvestChoices{});
    } else {
        try {
            units = ProjectFiles::unitsOfXmlProject(QStringLiteral("p.lpi"), kind, bytes);
        } catch (const QuorvelError& e) {
            if (!e.message().startsWith(QStringLiteral("p.lpi:")))
                std::abort();
        }
    }
    UnitPath::Resolver resolver;
    for (const QString& unit : units) {
        UnitPath::extension(unit);
        resolver.resolve(folder.path(), unit);
    }
    return 0;
}
